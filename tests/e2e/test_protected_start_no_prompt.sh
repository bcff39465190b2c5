#!/bin/bash
# Starting a password-protected alert hides the main window into the tray, and nothing else
# comes up: the window manager's handling of the hidden window must not pass for a user
# restoring it, which would open the password prompt by itself. It happened in some starts
# only, so the alert is started eight times, each in a fresh program (about 20 s).
source "$(dirname "$0")/harness.sh" "$@"

ROUNDS=${ROUNDS:-8}
start_desktop

# The program's mapped windows, its tray icon left out.
shown_windows() {
    local id
    for id in $(xdotool search --all --onlyvisible --pid "$TEMPIX_PID" --name '' 2>/dev/null); do
        inside_trayer "$id" || echo "$id"
    done
}
something_shown() { [[ -n $(shown_windows) ]]; }

unasked=0
for ((round = 1; round <= ROUNDS; round++)); do
    # 616263 is "abc" encoded: a 30-second alert under that password.
    conf_write "hh=" "mm=" "ss=30" "BlockPass=616263"
    start_tempix "round$round"
    W=$(wait_window "$MAIN_TITLE" 15 "$TEMPIX_PID") || fail_now "round $round: no main window"
    wait_until 10 has_tray_icon "$TEMPIX_PID" || fail_now "round $round: no tray icon"
    # The focus starts on "Iniciar Aviso", the default button.
    keys "$W" Return
    wait_until 5 eval '! is_viewable "$W"' || fail_now "round $round: the main window did not hide"
    # The prompt came within a second when it came: watch for two.
    if wait_until 2 something_shown; then
        log "round $round: shown without being asked: $(visible_titles "$TEMPIX_PID" | tr '\n' ' ')"
        shot "round$round-unasked"
        unasked=$((unasked + 1))
    fi
    check "round $round: the alert runs (the program is alive)" alive "$TEMPIX_PID"
    stop_pid "$TEMPIX_PID"
done
check "no window came up by itself in $ROUNDS protected starts ($unasked did)" test "$unasked" -eq 0
finish
