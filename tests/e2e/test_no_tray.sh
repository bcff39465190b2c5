#!/bin/bash
# Without a tray host the main window is never lost: minimising leaves it iconified in the
# taskbar, from where it comes back. A tray host started later is used within seconds, and
# from then on minimising hides the window into it; when that host stops, the window comes back
# to the taskbar.
source "$(dirname "$0")/harness.sh" "$@"

start_desktop notray
start_tempix main
W=$(wait_window "$MAIN_TITLE" 15) || fail_now "no main window"
check "the main window shows without a tray host" is_viewable "$W"

xdotool windowminimize "$W"
sleep 1.5
check "after minimising the window still exists" window_exists "$W"
check "it is iconified, not withdrawn (WM_STATE Iconic)" test "$(wm_state "$W")" = Iconic
check "it stays in the window manager's list (taskbar)" in_client_list "$W"
check "_NET_WM_STATE says hidden" bash -c "xprop -id $W _NET_WM_STATE | grep -q _NET_WM_STATE_HIDDEN"
shot no-tray-minimised

# The way back without a tray: the taskbar activates the window.
xdotool windowactivate "$W" 2>/dev/null
check "activating it from the taskbar restores it" wait_until 5 is_viewable "$W"
check "in the Normal state" wait_until 3 wm_state_is "$W" Normal

xdotool windowminimize "$W"
wait_until 5 wm_state_is "$W" Iconic || fail_now "second minimise"

start_tray
started=$SECONDS
check "a tray host started later gets the icon within 10 s" wait_until 12 has_tray_icon "$TEMPIX_PID"
log "icon after $((SECONDS - started)) s"
check "the minimised window then moves into the tray (withdrawn)" wait_until 5 bash -c \
    "! xprop -root _NET_CLIENT_LIST | grep -qi $(printf '0x%x' "$W")"
shot no-tray-then-tray

menu=$(open_tray_menu "$TEMPIX_PID")
check "the tray menu opens" test -n "$menu"
if [[ -n $menu ]]; then
    click_menu_item "$menu" 1
    check "'Configurar Aviso' brings the window back" quiet wait_window "$MAIN_TITLE" 5
fi

# The tray host stops while the window is minimised into it: the window comes back to the
# taskbar, and goes into the tray again when a host returns.
W=$(wait_window "$MAIN_TITLE" 5) || fail_now "no main window"
xdotool windowminimize "$W"
check "minimised again, it goes into the tray" wait_until 5 eval '! in_client_list "$W"'
stop_pid "$TRAYER_PID"
check "the tray host stops: it waits minimised in the taskbar" wait_until 5 eval \
    'wm_state_is "$W" Iconic && in_client_list "$W"'
start_tray
check "a host returns: it goes into the tray again" wait_until 10 eval '! in_client_list "$W"'
finish
