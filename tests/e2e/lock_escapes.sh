# The ways out of the screen lock, sourced by the lock tests after harness.sh. Each is driven as
# a user or another program would; then the lock must hold: on screen, full screen, on the
# current workspace, above all but its own message and About window, with the keyboard and the
# pointer held (a second client's grabs get AlreadyGrabbed).

XCLIENT="/usr/bin/python3 $(dirname "${BASH_SOURCE[0]}")/xclient.py"
OVER=()  # the lock's own windows up over it: its About window, its message

# The program with a protected alert that ended while it was off: the lock comes up at start.
start_lock() {
    # 636C617665 is "clave" encoded.
    conf_write "RunAuto=1" "hh=" "mm=" "ss=0" "WindowState=1" "BlockPass=636C617665" "StopSys=1"
    start_tempix lock
    wait_until 15 quiet lock_window || fail_now "no full-screen lock window"
}

# The window with the password box: full screen, the main window's title, on the first screen.
lock_window() {
    local id
    for id in $(xdotool search --all --onlyvisible --pid "$TEMPIX_PID" \
        --name "$(title_regex "$MAIN_TITLE")" 2>/dev/null); do
        has_net_state "$id" FULLSCREEN && [[ $(geometry "$id") == "0 0 "* ]] && echo "$id" && return
    done
    return 1
}

lock_holds() {  # sets WHY when it does not
    local L desktop id message=0
    L=$(lock_window) || { WHY="no full-screen lock on the first screen" && return 1; }
    WHY="not viewable, or not the whole screen: $(geometry "$L")"
    is_viewable "$L" && [[ $(geometry "$L") == "0 0 1280x800" ]] || return 1
    desktop=$(xprop -id "$L" _NET_WM_DESKTOP | awk '{print $3}')
    WHY="on workspace $desktop, not on the current one"
    [[ $desktop == 4294967295 || $desktop == $(xprop -root _NET_CURRENT_DESKTOP | awk '{print $3}') ]] ||
        return 1
    # Out of the topmost band while its message is up; xfwm4 never lists "above" beside "full
    # screen", whose layer is above that band.
    [[ $(window_name "${OVER[*]: -1}") == "Nodavia Tempix" ]] && message=1
    WHY="not above: $(net_wm_state "$L")"
    ((message)) || [[ $SHELL_NAME == xfce ]] || has_net_state "$L" ABOVE || return 1
    WHY="stacking, bottom to top: $($XCLIENT stack | tail -n4 | xargs) (lock $((L)), its own ${OVER[*]})"
    for id in $($XCLIENT stack | awk -v lock=$((L)) 'above; $1 == lock {above = 1}'); do
        [[ " ${OVER[*]} " == *" $id "* ]] || return 1
    done
    for id in "${OVER[@]}"; do is_viewable "$id" || return 1; done
    ((!message)) || is_top_window "${OVER[-1]}" || return 1
    WHY="a second client's grabs: $($XCLIENT grab)"
    [[ $($XCLIENT grab) == "keyboard=AlreadyGrabbed pointer=AlreadyGrabbed" ]]
}
holds() { wait_until 5 lock_holds || { log "$1: $WHY" && return 1; }; }

# Keys a user presses: none may reach the desktop, no window of it may come up.
try_keys() {  # try_keys KEY...
    local key before
    for key in "$@"; do
        before=$($XCLIENT mapped | sort)
        xdotool key --clearmodifiers "$key"
        sleep 0.6  # the desktop answers a moment later
        check "$SHELL_NAME: $key (xdotool key $key): the lock holds" holds "$key"
        check "$SHELL_NAME: $key: no other window came up" test "$($XCLIENT mapped | sort)" = "$before"
        # A menu that did come up would take the next key for itself.
        [[ $($XCLIENT mapped | sort) == "$before" ]] || xdotool key Escape
    done
}

# What a user or any program can ask of the window manager (a pager, a taskbar, a menu).
try_request() {  # try_request WHAT COMMAND
    eval "$2"
    sleep 0.6
    check "$SHELL_NAME: $1 ($2): the lock holds" holds "$1"
}
try_requests() {
    try_request "keep below" '$XCLIENT ask $(lock_window) _NET_WM_STATE 1 _NET_WM_STATE_BELOW 0 2'
    try_request "out of 'above'" '$XCLIENT ask $(lock_window) _NET_WM_STATE 0 _NET_WM_STATE_ABOVE 0 2'
    try_request "to another workspace" 'xdotool set_desktop_for_window $(lock_window) 1'
    try_request "show the desktop" '$XCLIENT ask $(root_id) _NET_SHOWING_DESKTOP 1'
    try_request "unmap" 'xdotool windowunmap $(lock_window)'
    xmessage -name other other &
    E2E_APPS+=($!)
    try_request "another program's window activated" \
        'xdotool windowactivate $(xdotool search --sync --classname other | head -n1)'
    try_while "" "$@"
}
# The escapes that another window of the program being active once let through.
try_while() {  # try_while WHAT KEY...   — WHAT: the window up over the lock, if any
    local up=${1:+$1 up: } key
    shift
    for key in "$@"; do try_request "$up$key" "xdotool key $key"; done
    try_request "${up}workspace switch" 'xdotool set_desktop 1'
    try_request "${up}iconify the lock" 'xdotool windowminimize $(lock_window)'
    xdotool set_desktop 0
}

# A wrong password: the message goes over the lock, which stays right beneath it.
try_with_message() {  # try_with_message KEY...
    keys "$(lock_window)" ctrl+a BackSpace
    type_text "$(lock_window)" Clave
    xdotool key Return
    OVER=("$(wait_window "Nodavia Tempix" 5 "$TEMPIX_PID")")
    check "$SHELL_NAME: a wrong password shows the message above the lock, which holds" holds message
    try_while message "$@"
    try_request "message up: iconify the message" "xdotool windowminimize ${OVER[0]}"
    keys "${OVER[0]}" Return
    OVER=()
    check "$SHELL_NAME: once the message is gone the lock holds alone" holds "message gone"
}

# "Nodavia 2019", the second-last row of white text in the middle, opens the About window.
try_with_about() {  # try_with_about KEY...
    local y
    import -window root "$E2E_TMP/rows.png"
    y=$(convert "$E2E_TMP/rows.png" -crop 240x800+520+0 +repage -colorspace gray -threshold 90% \
        -scale '1x800!' -depth 8 txt:- | awk -F'[,:]' '
        NR > 1 { lit = ($0 !~ /gray\(0\)/); y = $2 }
        lit && !was { if (n && y - end[n] <= 3) { n-- } else { start[n + 1] = y } n++ }
        lit { end[n] = y }
        { was = lit }
        END { if (n >= 2) print int((start[n - 1] + end[n - 1]) / 2) }')
    log "'Nodavia 2019' at y=${y:-?}"
    click "$(lock_window)" 640 "${y:-0}"
    OVER=("$(wait_window "Nodavia Parlox v$TEMPIX_VERSION" 5 "$TEMPIX_PID")")
    check "$SHELL_NAME: 'Nodavia 2019' opens the About window above the lock" \
        wait_until 3 is_top_window "${OVER[0]:-0}"
    check "$SHELL_NAME: the lock beneath it holds" holds about
    try_while About "$@"
}

# Its close button, clicked while the pointer is held: the About window goes, the lock holds alone.
close_about() {
    local w
    # The lock with the keyboard may lie over it again, in the full-screen layer.
    activate "${OVER[0]}"
    w=$(xwininfo -id "${OVER[0]}" | awk '/Width:/ {print $2}')
    click "${OVER[0]}" $((w - 18)) 17
    check "$SHELL_NAME: the About window takes clicks while the lock holds the pointer" \
        wait_until 5 bash -c "! xwininfo -id ${OVER[0]} 2>/dev/null | grep -q IsViewable"
    OVER=()
    check "$SHELL_NAME: once the About window is gone the lock holds alone" holds "About gone"
}

unlock() {
    keys "$(lock_window)" ctrl+a BackSpace
    type_text "$(lock_window)" clave
    xdotool key Return
    check "$SHELL_NAME: the right password still ends the lock" wait_until 5 bash -c \
        "! xdotool search --all --onlyvisible --pid $TEMPIX_PID --name '$(title_regex "$MAIN_TITLE")' |
            xargs -rI{} xprop -id {} _NET_WM_STATE | grep -q FULLSCREEN"
    check "$SHELL_NAME: and the keyboard is free again" \
        test "$($XCLIENT grab)" = "keyboard=GrabSuccess pointer=GrabSuccess"
    # Where the program holds the keyboard itself the session is left alone.
    [[ ${XDG_SESSION_TYPE:-x11} == wayland ]] ||
        check "$SHELL_NAME: logind was not asked to lock the session" \
            bash -c "! grep -qs LockSession '$LOGIND_LOG'"
}
