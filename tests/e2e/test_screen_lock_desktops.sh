#!/bin/bash
# The screen lock on the X11 desktops users run: on each, its window manager's and shell's keys
# (window menu, logout screen, launchers, workspaces, Alt+Tab, "show desktop") and what a pager
# can ask do not get past the lock, nor while its message or About window is up; the right
# password still ends it.
declare -A KEYS=([kde]="alt+F3 ctrl+alt+Delete alt+space alt+F2 ctrl+F2"
    [xfce]="ctrl+alt+Right alt+Tab alt+space ctrl+alt+d alt+F2"
    [lxqt]="ctrl+alt+Right alt+Tab super+d alt+space")
declare -A SWITCH=([kde]=ctrl+F2 [xfce]=ctrl+alt+Right [lxqt]=ctrl+alt+Right)
failed=0
for desktop in kde xfce lxqt; do
    (
        source "$(dirname "$0")/harness.sh" "$1" "$2/$desktop"
        source "$(dirname "$0")/lock_escapes.sh"
        start_shell "$desktop"
        start_lock
        try_keys ${KEYS[$desktop]}
        try_requests
        try_with_message "${SWITCH[$desktop]}"
        try_with_about "${SWITCH[$desktop]}"
        close_about
        unlock
        finish
    ) || failed=1
done
exit $failed
