#!/bin/bash
# A Wayland session (weston) with XWayland: the program runs on X11 through XWayland, where it
# can keep windows above others and centre them, unless the user chose a platform. Without
# XWayland it runs on Wayland and says once what will not work.
source "$(dirname "$0")/harness.sh" "$@"
source "$(dirname "$0")/weston.sh"

start_session_bus
start_weston
x_main_window() {  # the main window's id on XWayland's display
    local ids
    ids=$(DISPLAY=$WESTON_X xdotool search --all --onlyvisible --pid "$TEMPIX_PID" \
        --name "$(title_regex "$MAIN_TITLE")" 2>/dev/null) && [[ -n $ids ]] && head -n1 <<<"$ids"
}

# What a Wayland session sets; Qt itself would then choose Wayland.
SESSION=(XDG_SESSION_TYPE=wayland WAYLAND_DISPLAY="$WESTON_WAYLAND")
start_tempix_in_session xwayland "${SESSION[@]}" DISPLAY="$WESTON_X"
check "with XWayland the main window is mapped on its X display" wait_until 15 quiet x_main_window
W=$(x_main_window)
[[ -n $W ]] && log "main window $W: $(DISPLAY=$WESTON_X geometry "$W")"
check "no note about Wayland" bash -c "! grep -q Wayland '$E2E_TMP/xwayland.log'"
stop_pid "$TEMPIX_PID"

start_tempix_in_session chosen "${SESSION[@]}" DISPLAY="$WESTON_X" \
    QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=client
# The Wayland protocol log names the window the program gives the compositor.
wayland_window() { grep -q "set_title(\"$MAIN_TITLE\")" "$E2E_TMP/chosen.log"; }
check "QT_QPA_PLATFORM=wayland is honoured: the main window is a Wayland window" \
    wait_until 15 wayland_window
check "and none on the X display" test -z "$(x_main_window)"
stop_pid "$TEMPIX_PID"

start_tempix_in_session wayland "${SESSION[@]}" WAYLAND_DEBUG=client
wayland_only() { grep -q "set_title(\"$MAIN_TITLE\")" "$E2E_TMP/wayland.log"; }
check "without XWayland the program runs on Wayland" wait_until 15 wayland_only
check "and says once, in Spanish, what will not work" test \
    "$(grep -c '^Nodavia Tempix: sesión Wayland sin XWayland\. .*no podrá retener el teclado\.$' "$E2E_TMP/wayland.log")" = 1
grep -h "Wayland sin" "$E2E_TMP/wayland.log" | sed 's/^/  /'
stop_pid "$TEMPIX_PID"
finish
