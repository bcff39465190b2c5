#!/bin/bash
# First start with an empty store: the main window and, a moment later, the idle tray icon;
# closing the window ends the program and takes the icon away.
source "$(dirname "$0")/harness.sh" "$@"

start_desktop
start_tempix main

W=$(wait_window "$MAIN_TITLE" 15) || fail_now "no window titled '$MAIN_TITLE'"
# The tray icon comes a moment after the window: a menu opened at once stays open past it.
activate "$W"
click "$W" 30 10
check "the Archivo menu opens at once" wait_until 5 quiet popup_menu "$TEMPIX_PID"
sleep 1
check "a second later it is still open" quiet popup_menu "$TEMPIX_PID"
xdotool key Escape
check "Escape closes it" wait_until 5 no_popup_menu "$TEMPIX_PID"
check "main window '$MAIN_TITLE' is mapped" is_viewable "$W"
check "its window-manager state is Normal" test "$(wm_state "$W")" = Normal
check "its title is exactly the version caption" test "$(window_name "$W")" = "$MAIN_TITLE"

hints=$(xprop -id "$W" WM_NORMAL_HINTS)
min=$(awk '/minimum size/ {print $5, $7}' <<<"$hints")
max=$(awk '/maximum size/ {print $5, $7}' <<<"$hints")
log "size limits: min $min, max $max"
check "the window has a fixed size" test -n "$min" -a "$min" = "$max"
# 4350 twips: 290 pixels at the design font, in proportion with a larger one.
check "its client area is at least the designed 290 pixels wide" test "${min%% *}" -ge 290
check "it cannot be maximised" bash -c "! xprop -id $W _NET_WM_ALLOWED_ACTIONS | grep -q MAXIMIZE"

place() { xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$4}
    /Absolute upper-left Y/ {y=$4} /Width:/ {w=$2} /Height:/ {h=$2} END {print x, y, w, h}'; }
read -r x y w h < <(place "$W")
log "placed at $x,$y size ${w}x$h on a 1280x800 screen"
centred() { (($1 + $2 / 2 - 640 <= 8 && 640 - $1 - $2 / 2 <= 8)) &&
    (($3 + $4 / 2 - 400 <= 20 && 400 - $3 - $4 / 2 <= 20)); }
check "it is centred on the screen" centred "$x" "$w" "$y" "$h"
# The frame is known before the window is shown, so it is mapped in its place and never moved.
sleep 1
check "it stays where it was first mapped" test "$(place "$W")" = "$x $y $w $h"

check "the tray icon appears in the tray host" wait_until 10 has_tray_icon "$TEMPIX_PID"
icon=$(tray_icons "$TEMPIX_PID" | head -n1)
if [[ -n $icon ]]; then
    check "exactly one tray icon" test "$(tray_icons "$TEMPIX_PID" | wc -l)" = 1
    # Hovering shows the tip; its text is in the screenshot (idle tip).
    xdotool mousemove --window "$icon" 6 6 sleep 0.3 mousemove --window "$icon" 9 9
    check "hovering the icon shows its tip" wait_until 5 quiet tooltip_window "$TEMPIX_PID"
    shot first-start-idle-tip
    xdotool mousemove 600 700
fi
shot first-start-idle

check "nothing is written to the store at a start without an alert" test ! -e "$CONF"

# The close box: the window manager asks the window to close.
activate "$W"
xdotool key --clearmodifiers alt+F4
check "closing the window ends the program" wait_until 10 bash -c "! kill -0 $TEMPIX_PID 2>/dev/null || ps -o stat= -p $TEMPIX_PID | grep -q Z"
check "its tray icon is gone" no_tray_icon "$TEMPIX_PID"
check "no error output from the program" bash -c "! grep -Ei 'error|critical|abort' '$E2E_TMP/main.log'"
finish
