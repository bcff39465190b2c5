#!/bin/bash
source "$(dirname "$0")/tray_desktop.sh" gnome "$@"  # the icon on a real panel
