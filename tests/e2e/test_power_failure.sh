#!/bin/bash
# A power-off that the system refuses (no logind on the private system bus, and systemctl
# fails) is reported in a message box instead of passing for success.
source "$(dirname "$0")/harness.sh" "$@"

start_desktop
# No logind: the program falls back to systemctl, whose fake refuses.
stop_pid "$LOGIND_PID"
check "no logind left on the private system bus" bash -c \
    "! dbus-send --bus='$DBUS_SYSTEM_BUS_ADDRESS' --print-reply --dest=org.freedesktop.DBus \
    /org/freedesktop/DBus org.freedesktop.DBus.NameHasOwner string:org.freedesktop.login1 |
    grep -q 'boolean true'"
fake_systemctl_fails

conf_write "RunAuto=1" "hh=" "mm=" "ss=3" "ShutState=1" "Shutdown=-1" "Restart=0"
start_tempix main
env=$(tr '\0' '\n' <"/proc/$TEMPIX_PID/environ")
grep -qx "DBUS_SYSTEM_BUS_ADDRESS=unix:path=$SYSTEM_SOCK" <<<"$env" &&
    grep -q "^PATH=$E2E_TMP/bin:" <<<"$env" ||
    fail_now "the program could reach something other than the test doubles"
check "the program can reach only the private bus and the fake systemctl" true

M=$(wait_window "Nodavia Tempix" 12 "$TEMPIX_PID")
check "a message box titled 'Nodavia Tempix' reports the failure" test -n "$M"
check "systemctl was asked to power off" grep -qx poweroff "$SYSTEMCTL_LOG"
check "it was asked once" test "$(grep -c . "$SYSTEMCTL_LOG")" = 1
shot power-failure-message
if [[ -n $M ]]; then
    keys "$M" Return
    check "OK closes the box" wait_until 5 no_window "Nodavia Tempix"
fi
check "the program goes on after the failure" alive "$TEMPIX_PID"
check "nothing was asked of reboot" bash -c "! grep -q reboot '$SYSTEMCTL_LOG'"
finish
