#!/bin/bash
# RunAuto "1" with a stored mm "30" and the Options box minimiza on: the alert starts at load,
# the window stays open and counts down; the stopwatch follows it from the tray menu.
source "$(dirname "$0")/harness.sh" "$@"

start_desktop
conf_write "RunAuto=1" "mm=30" "Minimize=1" "WindowState=0"
start_tempix main
wait_until 10 has_tray_icon "$TEMPIX_PID" || fail_now "no tray icon"
W=$(wait_window "$MAIN_TITLE" 5)
check "the main window is shown at the automatic start" test -n "$W"
sleep 3.2
if [[ -n $W ]]; then
    check "the window stays mapped while the alert counts down" is_viewable "$W"
    check "in its normal state" test "$(wm_state "$W")" = Normal
    shot counting-main-window
fi
check "the program keeps running" alive "$TEMPIX_PID"

check "the store still holds RunAuto = 1" conf_is RunAuto 1
check "the store still holds mm = 30" conf_is mm 30
check "the store still holds Minimize = 1" conf_is Minimize 1
check "the store still holds WindowState = 0" conf_is WindowState 0

# The tip follows the remaining time; its text is in the screenshot.
icon=$(tray_icons "$TEMPIX_PID" | head -n1)
xdotool mousemove --window "$icon" 6 6 sleep 0.3 mousemove --window "$icon" 9 9
check "hovering the icon shows its tip" wait_until 5 quiet tooltip_window "$TEMPIX_PID"
shot counting-tray-tip
xdotool mousemove 100 700
sleep 0.5

# "Ver Cronometro" from the tray menu opens the stopwatch above the other windows.
menu=$(open_tray_menu "$TEMPIX_PID") || fail_now "no tray menu"
click_menu_item "$menu" 2
S=$(wait_window "Tempix 2019" 5 "$TEMPIX_PID")
check "'Ver Cronometro' opens the stopwatch 'Tempix 2019'" test -n "$S"
if [[ -n $S ]]; then
    # Putting a window on top may give it a new native window: look it up afresh.
    stopwatch_above() {
        S=$(find_window "Tempix 2019" "$TEMPIX_PID") && xprop -id "$S" _NET_WM_STATE | grep -q ABOVE
    }
    check "the stopwatch is topmost" wait_until 3 stopwatch_above
    if [[ -n $W ]]; then
        activate "$W"
        sleep 0.5
        top=$(xprop -root _NET_CLIENT_LIST_STACKING | awk -F', ' '{print $NF}' | tr -dc '0-9a-fx')
        check "and stays above the activated main window" test "$((top))" = "$S"
    fi
    sleep 1.2
    shot stopwatch-counting
fi
finish
