#!/bin/bash
# Minimising hides the main window into the tray; the tray menu opens when the button is
# released over the icon, and its "Configurar Aviso" brings the window back.
source "$(dirname "$0")/harness.sh" "$@"

start_desktop
start_tempix main
W=$(wait_window "$MAIN_TITLE" 15) || fail_now "no main window"
wait_until 10 has_tray_icon "$TEMPIX_PID" || fail_now "no tray icon"
shot idle-main-window

xdotool windowminimize "$W"
check "minimising hides the window" wait_until 5 bash -c "! xwininfo -id $W | grep -q IsViewable"
check "the hidden window leaves the window manager's list" wait_until 3 bash -c \
    "! xprop -root _NET_CLIENT_LIST | grep -qi $(printf '0x%x' "$W")"
check "the program keeps running" alive "$TEMPIX_PID"

icon=$(tray_icons "$TEMPIX_PID" | head -n1)
[[ -n $icon ]] || fail_now "the tray icon went away"
# A press alone opens nothing: the menu comes with the release.
xdotool mousemove --window "$icon" 8 8 sleep 0.2 mousedown 1
sleep 0.7
check "pressing the button over the icon does not open the menu" no_popup_menu "$TEMPIX_PID"
xdotool mouseup 1
check "releasing it opens the tray menu" wait_until 5 quiet popup_menu "$TEMPIX_PID"
menu=$(popup_menu "$TEMPIX_PID")
[[ -n $menu ]] || fail_now "no tray menu"
read -r mw mh < <(xwininfo -id "$menu" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w, h}')
log "tray menu ${mw}x$mh"
check "the menu is the five-item Archivo menu (its height)" test "$mh" -ge 90 -a "$mh" -le 160
shot tray-menu-open

click_menu_item "$menu" 1   # "Configurar Aviso"
check "the menu closes" wait_until 3 no_popup_menu "$TEMPIX_PID"
# A window hidden in the tray may come back with a new native window: look it up by title.
W=$(wait_window "$MAIN_TITLE" 5)
check "'Configurar Aviso' shows the window again" test -n "$W"
[[ -n $W ]] || fail_now "no main window after 'Configurar Aviso'"
check "in its normal state" wait_until 3 wm_state_is "$W" Normal
check "not iconified any more" bash -c "! xprop -id $W _NET_WM_STATE | grep -q HIDDEN"
shot restored-main-window

# The right button does the same.
xdotool windowminimize "$W"
wait_until 5 bash -c "! xwininfo -id $W | grep -q IsViewable" || fail_now "second minimise"
click "$icon" 8 8 3
check "a right click opens the tray menu too" wait_until 5 quiet popup_menu "$TEMPIX_PID"
xdotool key Escape
check "Escape closes it" wait_until 3 no_popup_menu "$TEMPIX_PID"
check "the window stays hidden" bash -c "! xwininfo -id $W | grep -q IsViewable"
finish
