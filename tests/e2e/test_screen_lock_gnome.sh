#!/bin/bash
# The screen lock in a GNOME Wayland session (nested gnome-shell): there the compositor keeps the
# keyboard whatever a program grabs on XWayland, so the lock also asks logind to lock the
# program's session, whose lock screen then covers everything. The lock itself is still up on
# XWayland, with X's keyboard and pointer, and the right password still ends it.
source "$(dirname "$0")/harness.sh" "$@"
source "$(dirname "$0")/lock_escapes.sh"

start_shell gnome-plain
export XDG_SESSION_ID=tempix-e2e  # the session the program was started in
start_lock
check "logind is asked to lock the program's session" \
    wait_until 5 grep -q 'LockSession "tempix-e2e"' "$LOGIND_LOG"
grep -h LockSession "$LOGIND_LOG" | sed 's/^/  logind: /'
check "a second X client's grabs get AlreadyGrabbed" \
    test "$($XCLIENT grab)" = "keyboard=AlreadyGrabbed pointer=AlreadyGrabbed"
sleep 0.5
shot gnome-lock
check "the lock is what the screen shows" \
    bash -c "convert '$OUT/gnome-lock.png' -crop 1x1+40+40 txt:- | grep -q '#2A547E'"
unlock
check "logind was asked once, and nothing was said against it" bash -c \
    "test \$(grep -c LockSession '$LOGIND_LOG') = 1 && ! grep -q 'no bloqueó' '$E2E_TMP/lock.log'"
finish
