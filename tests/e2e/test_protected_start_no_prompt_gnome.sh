#!/bin/bash
# The protected starts of test_protected_start_no_prompt.sh on GNOME Shell without a tray, where
# a StatusNotifierItem host arrives late.
DESKTOP=gnome-plain exec bash "$(dirname "$0")/test_protected_start_no_prompt.sh" "$@"
