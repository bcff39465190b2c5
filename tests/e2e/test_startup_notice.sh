#!/bin/bash
# The menu entry asks for start-up feedback (StartupNotify): the desktop shows a busy pointer or
# a spinning launcher until the program ends the notice. It must end it also when its start
# leaves it hidden in the notification area, or the desktop waits for its time-out. Qt ends it
# when the first window is mapped, and the main window is mapped at load even when it hides at
# once: what a launcher listening on the root window hears is "remove: ID=" with the id the
# program was started with.
source "$(dirname "$0")/harness.sh" "$@"

start_desktop
/usr/bin/python3 "$(dirname "$0")/startup_messages.py" >"$E2E_TMP/startup.log" 2>&1 &
E2E_PIDS+=($!)
wait_until 10 grep -q '^ready' "$E2E_TMP/startup.log" || fail_now "no listener on the root window"

while read -r name id settings; do
    conf_write $settings
    env -C "$E2E_TMP" QT_QPA_PLATFORM=xcb DESKTOP_STARTUP_ID="$id" "$TEMPIX" >"$E2E_TMP/$name.log" 2>&1 &
    TEMPIX_PID=$!
    E2E_APPS+=($TEMPIX_PID)
    check "$name: the launcher is told the start is over" \
        wait_until 10 grep -qxF "remove: ID=$id" "$E2E_TMP/startup.log"
    check "$name: the program runs on" alive "$TEMPIX_PID"
    stop_pid "$TEMPIX_PID"
done <<'TABLE'
hidden tempix-hidden-1_TIME42 WindowState=1
resumed-alert tempix-resumed-2_TIME43 RunAuto=1 mm=30 Minimize=0
shown tempix-shown-3_TIME44 WindowState=0
TABLE
sed 's/^/    heard: /' "$E2E_TMP/startup.log"
finish
