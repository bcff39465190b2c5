#!/bin/bash
# An alert with "Apagar" asks the (mock) logind on the private system bus to power off, one
# with "Reiniciar" to reboot; no window is shown and systemctl is not needed.
# Before any alert may complete, the test checks that the only system bus the program can
# reach is the private one and that its logind is our mock.
source "$(dirname "$0")/harness.sh" "$@"

start_desktop

# Runs one automatic alert of 3 s and waits for its request. $1 = method, rest = store values.
power_alert() {
    local method=$1 name=$2
    shift 2
    conf_write "RunAuto=1" "hh=" "mm=" "ss=3" "ShutState=1" "$@"
    start_tempix "$name"
    local pid=$TEMPIX_PID
    # The guards, before the 3 s are up: the program's own environment names the private bus
    # and the fake systemctl, and the name it will call belongs to the mock.
    local env
    env=$(tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null)
    grep -qx "DBUS_SYSTEM_BUS_ADDRESS=unix:path=$SYSTEM_SOCK" <<<"$env" || {
        stop_pid "$pid"
        fail_now "$name: the program's DBUS_SYSTEM_BUS_ADDRESS is not the private bus"
    }
    grep -q "^PATH=$E2E_TMP/bin:" <<<"$env" || {
        stop_pid "$pid"
        fail_now "$name: the fake systemctl is not first in the program's PATH"
    }
    logind_on_private_bus || {
        stop_pid "$pid"
        fail_now "$name: org.freedesktop.login1 on the private bus is not the mock"
    }
    check "$name: the program can reach only the private system bus and the mock logind" true

    check "$name: the mock logind receives $method" wait_until 10 grep -aq "$method" "$LOGIND_LOG"
    sleep 1
    grep -a "$method" "$LOGIND_LOG" | sed 's/^/    logind: /'
    check "$name: exactly one $method call" test "$(grep -ac "$method" "$LOGIND_LOG")" = 1
    check "$name: interactive (the user may be asked by the system)" \
        grep -aq "$method True" "$LOGIND_LOG"
    check "$name: systemctl was not needed" test ! -s "$SYSTEMCTL_LOG"
    local titles
    titles=$(visible_titles "$pid" | grep -vx Tempix)   # the tray icon's own window
    log "$name: windows shown: ${titles:-none}"
    check "$name: no window is shown (neither the alert window nor a message)" test -z "$titles"
    check "$name: the program keeps running after the request" alive "$pid"
    shot "power-$name"
    stop_pid "$pid"
}

power_alert PowerOff apagar "Shutdown=-1" "Restart=0"
power_alert Reboot reiniciar "Shutdown=0" "Restart=-1"
check "no other logind method was called" bash -c "! grep -aEq 'Suspend|Hibernate|Halt' '$LOGIND_LOG'"
check "two requests in all" test "$(grep -ac 'PowerOff\|Reboot' "$LOGIND_LOG")" = 2
finish
