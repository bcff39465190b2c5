#!/bin/bash
source "$(dirname "$0")/tray_desktop.sh" lxqt "$@"  # the icon on a real panel
