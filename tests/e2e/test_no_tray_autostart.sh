#!/bin/bash
# An alert started automatically at load (RunAuto "1") minimises the main window. With no tray
# host that window must go to the taskbar, not vanish: a start at logon before the panel.
source "$(dirname "$0")/harness.sh" "$@"

start_desktop notray
conf_write "RunAuto=1" "mm=30"
start_tempix main
# The main window of our program among the windows the window manager lists (the taskbar).
main_in_list() {
    local id
    for id in $(xdotool search --all --pid "$TEMPIX_PID" --name "$(title_regex "$MAIN_TITLE")"); do
        in_client_list "$id" && echo "$id" && return 0
    done
    return 1
}
check "the main window appears in the window manager's list" wait_until 10 quiet main_in_list
W=$(main_in_list)
[[ -n $W ]] || fail_now "the main window is nowhere"
sleep 1.5
check "it is iconified (WM_STATE Iconic)" wm_state_is "$W" Iconic
check "it is still in the window manager's list after the first ticks" in_client_list "$W"
shot no-tray-autostart-iconified

xdotool windowactivate "$W" 2>/dev/null
check "activating it from the taskbar shows it" wait_until 5 is_viewable "$W"
sleep 1.2
shot no-tray-autostart-restored
check "the countdown goes on" alive "$TEMPIX_PID"
finish
