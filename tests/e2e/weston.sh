# A headless Wayland session (weston) with XWayland, for tests that source harness.sh first.

start_weston() {  # sets WESTON_WAYLAND (socket name) and WESTON_X (XWayland's display)
    WESTON_WAYLAND=wayland-1
    weston --backend=headless-backend.so --use-pixman --width=1280 --height=800 \
        --socket="$WESTON_WAYLAND" --xwayland --idle-time=0 >"$E2E_TMP/weston.log" 2>&1 &
    E2E_PIDS+=($!)
    wait_until 15 test -S "$XDG_RUNTIME_DIR/$WESTON_WAYLAND" || fail_now "weston did not start"
    # XWayland takes the first free display; weston says which.
    wait_until 10 grep -q 'xserver listening on display' "$E2E_TMP/weston.log" ||
        fail_now "weston has no XWayland"
    WESTON_X=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$E2E_TMP/weston.log" | head -n1)
    log "weston: WAYLAND_DISPLAY=$WESTON_WAYLAND, XWayland on $WESTON_X"
}

# Weston drawing N outputs of 1280x800 as windows on the X server of DISPLAY (make it wide), put
# side by side there for screenshots; its XWayland server reports them as N RandR monitors.
start_weston_outputs() {  # start_weston_outputs N   — sets WESTON_WAYLAND and WESTON_X
    local n=0 w
    WESTON_WAYLAND=wayland-1
    weston --backend=x11-backend.so --output-count="$1" --width=1280 --height=800 --use-pixman \
        --socket="$WESTON_WAYLAND" --xwayland --idle-time=0 >"$E2E_TMP/weston.log" 2>&1 &
    E2E_PIDS+=($!)
    wait_until 15 grep -q 'xserver listening on display' "$E2E_TMP/weston.log" ||
        fail_now "weston has no XWayland"
    WESTON_X=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$E2E_TMP/weston.log" | head -n1)
    for w in $(xwininfo -root -children | awk '/"[Ww]eston/ {print $1}'); do
        xdotool windowmove "$w" $((n++ * 1300)) 0
    done
    log "weston with $1 outputs: WAYLAND_DISPLAY=$WESTON_WAYLAND, XWayland on $WESTON_X"
}

# The program with the session's environment only: no platform chosen for it.
start_tempix_in_session() {  # start_tempix_in_session NAME VAR=VALUE...   — sets TEMPIX_PID
    local name=$1
    shift
    env -C "$E2E_TMP" -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY -u XDG_SESSION_TYPE "$@" "$TEMPIX" \
        >"$E2E_TMP/$name.log" 2>&1 &
    TEMPIX_PID=$!
    E2E_APPS+=($TEMPIX_PID)
    wait_until 5 is_tempix "$TEMPIX_PID" || fail_now "tempix did not start"
    log "started tempix as $name (pid $TEMPIX_PID)"
}
