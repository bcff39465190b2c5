#!/bin/bash
source "$(dirname "$0")/tray_desktop.sh" kde "$@"  # the icon on a real panel
