#!/bin/bash
# A protected alert with the Options box StopSys on ends in the screen lock: full screen, above
# every other window. Only the right password opens it: an empty or wrong one is answered with
# a message, the window manager's close requests are ignored, and a lock that the window
# manager iconifies or hides comes back. Once open, the main window
# comes back, as the Options box ShowStart (on by default) asks. The ways out of the lock that
# openbox offers, and what any other program can ask of it, do not get past it.
source "$(dirname "$0")/harness.sh" "$@"
source "$(dirname "$0")/lock_escapes.sh"

start_shell openbox
# Another program holds the keyboard and the pointer as the lock comes up, and lets go later.
$XCLIENT grab 60 >"$E2E_TMP/other-grab.log" &
HOLDER=$!
E2E_PIDS+=($HOLDER)
wait_until 5 test -s "$E2E_TMP/other-grab.log"
start_lock
check "another program held the keyboard and the pointer as the lock came up" \
    grep -q "keyboard=GrabSuccess pointer=GrabSuccess" "$E2E_TMP/other-grab.log"
stop_pid "$HOLDER"
check "the lock takes them once they are free" holds "after another program's grab"

lock_up() { L=$(lock_window) && has_net_state "$L" ABOVE && is_top_window "$L"; }

L=$(lock_window)
check "the lock is full screen and topmost, the top of the stacking order" wait_until 3 lock_up
read -r lx ly lsize < <(geometry "$L")
log "lock at $lx,$ly, $lsize"
check "the lock covers the whole 1280x800 screen" test "$lx $ly $lsize" = "0 0 1280x800"
check "no alert window besides the lock" no_window_of "Velmora Tempix" "$TEMPIX_PID"
check "the main window stays hidden behind the lock" bash -c \
    "test \$(xdotool search --all --onlyvisible --pid $TEMPIX_PID --name '$(title_regex "$MAIN_TITLE")' | wc -l) = 1"
sleep 0.3
shot lock

# A wrong password, differing only in the case of a letter: the focus is in the password box,
# Enter presses Aceptar.
type_text "$L" Clave
xdotool key Return
M=$(wait_window "Nodavia Tempix" 5 "$TEMPIX_PID")
check "a wrong password is answered with the message 'Nodavia Tempix'" test -n "$M"
if [[ -n $M ]]; then
    check "the message is above the lock" wait_until 3 is_top_window "$M"
    check "while it is up the lock is out of the topmost band" bash -c \
        "! xprop -id $(lock_window) _NET_WM_STATE | grep -q ABOVE"
    sleep 0.3
    shot lock-wrong-password
    keys "$M" Return
    check "Return dismisses the message" wait_until 3 bash -c "! xwininfo -id $M 2>/dev/null | grep -q IsViewable"
fi
check "the lock is still up after the wrong password, topmost again" wait_until 3 lock_up

# An empty password: the box is emptied first.
keys "$L" ctrl+a BackSpace Return
M=$(wait_window "Nodavia Tempix" 5 "$TEMPIX_PID")
check "an empty password is answered with the message too" test -n "$M"
if [[ -n $M ]]; then
    sleep 0.3
    shot lock-empty-password
    keys "$M" Return
    wait_until 3 bash -c "! xwininfo -id $M 2>/dev/null | grep -q IsViewable"
fi
check "the lock is still up after the empty password" wait_until 3 lock_up

# Close requests through the window manager: as a taskbar sends it, and Alt+F4.
L=$(lock_window)
close_request "$L"
sleep 1
check "a close request (_NET_CLOSE_WINDOW) does not release the lock" lock_up
L=$(lock_window)
keys "$L" alt+F4
sleep 1
check "Alt+F4 does not release the lock" lock_up
check "no message was left open by the close requests" no_window_of "Nodavia Tempix" "$TEMPIX_PID"
check "the program keeps running" alive "$TEMPIX_PID"

# The window manager's ways of hiding a window bring it back within half a second (the checks
# allow more on a loaded machine): iconify, and "show desktop" (Super+D in openbox).
lock_back() {  # lock_back WHAT   — waits for the lock and logs how long it took
    local start=$EPOCHREALTIME
    wait_until 5 lock_up || return 1
    log "$1: back after $(awk -v a="$start" -v b="$EPOCHREALTIME" 'BEGIN {printf "%.2f", b - a}') s"
}
xdotool windowminimize "$(lock_window)"
check "an iconified lock comes back full screen, topmost" lock_back iconify
$XCLIENT ask "$(root_id)" _NET_SHOWING_DESKTOP 1
check "so does a lock hidden by 'show desktop'" lock_back "show desktop"
lock_has_keyboard() { [[ $(xdotool getwindowfocus 2>/dev/null) == "$(lock_window)" ]]; }
check "with the keyboard" wait_until 3 lock_has_keyboard
check "the program keeps running" alive "$TEMPIX_PID"
shot lock-back

try_keys super+d ctrl+alt+Right alt+Tab
try_requests
try_with_message super+d ctrl+alt+Right
# "Nodavia 2019" opens the About window above the lock; it leaves the topmost band with the
# lock, so it does not stay above everything after the unlock.
try_with_about ctrl+alt+Right
sleep 0.3
shot lock-about

# The right password opens it.
unlock
check "without a message" no_window_of "Nodavia Tempix" "$TEMPIX_PID"
W=$(wait_window "$MAIN_TITLE" 5 "$TEMPIX_PID")
check "the main window is shown (ShowStart)" test -n "$W"
[[ -n $W ]] && check "in its normal state" wait_until 3 wm_state_is "$W" Normal
# Leaving the band gives the window a new native window: it is looked up again.
AB=$(wait_window "Nodavia Parlox v$TEMPIX_VERSION" 5 "$TEMPIX_PID")
check "after the unlock the About window is still up, out of the topmost band" bash -c \
    "test -n '$AB' && ! xprop -id '$AB' _NET_WM_STATE | grep -q ABOVE"
sleep 0.3
shot lock-released
check "the program keeps running" alive "$TEMPIX_PID"
finish
