#!/bin/bash
# Power requests do not wait with the windows frozen: a logind that answers late leaves the
# main window answering, and nothing else is asked of the system meanwhile (no systemctl as
# well); a logind that refuses is followed by systemctl, and its refusal, however late, is
# reported in a message box. Only the private system bus and its mock logind are reached.
source "$(dirname "$0")/harness.sh" "$@"

start_desktop

# The mock's answer to PowerOff: CODE is Python run by dbusmock before it answers.
logind_power_off_does() {
    logind_on_private_bus || fail_now "org.freedesktop.login1 on the private bus is not the mock"
    dbus-send --bus="$DBUS_SYSTEM_BUS_ADDRESS" --print-reply --dest=org.freedesktop.login1 \
        /org/freedesktop/login1 org.freedesktop.DBus.Mock.AddMethod \
        string:org.freedesktop.login1.Manager string:PowerOff string:b string: "string:$1" \
        >/dev/null || fail_now "the mock logind did not take the new PowerOff"
}

# A systemctl that answers after SECONDS with exit code RC.
slow_systemctl() {  # slow_systemctl SECONDS RC
    cat >"$E2E_TMP/bin/systemctl" <<SH
#!/bin/sh
echo "\$*" >>"$SYSTEMCTL_LOG"
sleep $1
echo "fake systemctl refuses" >&2
exit $2
SH
}

# One automatic alert of 2 s with "Apagar"; waits for its request.
power_off_alert() {  # power_off_alert NAME
    : >"$LOGIND_LOG"
    : >"$SYSTEMCTL_LOG"
    conf_write "RunAuto=1" "hh=" "mm=" "ss=2" "ShutState=1" "Shutdown=-1" "Restart=0"
    start_tempix "$1"
    local env
    env=$(tr '\0' '\n' <"/proc/$TEMPIX_PID/environ" 2>/dev/null)
    { grep -qx "DBUS_SYSTEM_BUS_ADDRESS=unix:path=$SYSTEM_SOCK" <<<"$env" &&
        grep -q "^PATH=$E2E_TMP/bin:" <<<"$env" && logind_on_private_bus; } || {
        stop_pid "$TEMPIX_PID"
        fail_now "$1: the program could reach something other than the test doubles"
    }
    check "$1: the program can reach only the private bus, the mock logind and the fake systemctl" true
    check "$1: the mock logind receives PowerOff" wait_until 10 grep -aq PowerOff "$LOGIND_LOG"
}

# The program answers: its tray menu opens and closes.
answers() {
    local menu
    menu=$(open_tray_menu "$TEMPIX_PID") || return 1
    keys "$menu" Escape
    wait_until 3 no_popup_menu "$TEMPIX_PID"
}

# 1. logind answers after 8 s, and accepts.
logind_power_off_does "time.sleep(8)"
power_off_alert late-logind
check "late logind: the program answers while logind has not" answers
check "late logind: nothing asked of systemctl meanwhile" test ! -s "$SYSTEMCTL_LOG"
sleep 8
check "late logind: one PowerOff in all" test "$(grep -ac "PowerOff True" "$LOGIND_LOG")" = 1
check "late logind: systemctl was never run" test ! -s "$SYSTEMCTL_LOG"
check "late logind: no message after the acceptance" no_window_of "Nodavia Tempix" "$TEMPIX_PID"
check "late logind: the program goes on" alive "$TEMPIX_PID"
stop_pid "$TEMPIX_PID"

# 2. logind refuses; systemctl fails after 6 s.
logind_power_off_does \
    "raise dbus.exceptions.DBusException('denegado', name='org.freedesktop.DBus.Error.AccessDenied')"
slow_systemctl 6 1
power_off_alert late-systemctl
check "late systemctl: systemctl runs once logind has refused" \
    wait_until 5 grep -qx poweroff "$SYSTEMCTL_LOG"
check "late systemctl: the program answers while systemctl runs" answers
check "late systemctl: no message before systemctl's answer" no_window_of "Nodavia Tempix" "$TEMPIX_PID"
M=$(wait_window "Nodavia Tempix" 15 "$TEMPIX_PID")
check "late systemctl: its late refusal is reported in a message box" test -n "$M"
shot power-late-refusal
check "late systemctl: systemctl was asked once" test "$(grep -c . "$SYSTEMCTL_LOG")" = 1
check "late systemctl: logind was asked once" test "$(grep -ac "PowerOff True" "$LOGIND_LOG")" = 1
[[ -n $M ]] && keys "$M" Return
check "late systemctl: the program goes on" alive "$TEMPIX_PID"
finish
