#!/bin/bash
# The warning before a power-off on a mock notification server of the session bus: one Notify
# with texts, icon and actions; "Posponer 15 minutos" moves the end; on a protected alert both
# actions ask the password first. WarnBefore=0, a server without actions, no server at all.
# The time shown is the tray icon's tip (our StatusNotifierItem host); logind is the mock.
source "$(dirname "$0")/harness.sh" "$@"
source "$(dirname "$0")/sni.sh"

start_desktop notray
start_sni_watcher

start_notifications() {  # start_notifications CAPABILITIES LOG
    NOTIFY_LOG=$E2E_TMP/$2
    /usr/bin/python3 -m dbusmock --session --template notification_daemon -l "$NOTIFY_LOG" \
        -p "{\"capabilities\": \"$1\"}" >"$E2E_TMP/notifications.log" 2>&1 &
    NOTIFY_PID=$!
    E2E_PIDS+=($NOTIFY_PID)
    wait_until 10 server_up || fail_now "no mock notification server"
}
server_up() { [[ $(bus_owner_pid "$DBUS_SESSION_BUS_ADDRESS" org.freedesktop.Notifications) == "$NOTIFY_PID" ]]; }
notifies_are() { [[ $(grep -ac ' Notify ' "$NOTIFY_LOG") == "$1" ]]; }
closed() { grep -aq "CloseNotification $1\$" "$NOTIFY_LOG"; }
powered_off_times() { [[ $(grep -ac ' PowerOff ' "$LOGIND_LOG") == "$1" ]]; }
invoke_action() {  # invoke_action ID KEY   — as the server does when the user presses it
    /usr/bin/python3 -c 'import sys, dbus
dbus.SessionBus().get_object("org.freedesktop.Notifications", "/org/freedesktop/Notifications").EmitSignal(
    "org.freedesktop.Notifications", "ActionInvoked", "us", [dbus.UInt32(int(sys.argv[1])), sys.argv[2]],
    dbus_interface="org.freedesktop.DBus.Mock")' "$1" "$2"
}
shown_seconds() {  # the tip's time, in seconds
    [[ $(sni tooltip 2>/dev/null) =~ ^([0-9]+):([0-9]{2}):([0-9]{2})$ ]] || return 1
    echo $((10#${BASH_REMATCH[1]} * 3600 + 10#${BASH_REMATCH[2]} * 60 + 10#${BASH_REMATCH[3]}))
}
# The stop request and the start show the idle tip until the next tick.
time_now() { wait_until 3 quiet shown_seconds && shown_seconds; }
# 15:00 more than $before, less the few seconds the action took.
moved() { local now; now=$(shown_seconds) && ((now > before + 892 && now <= before + 900)); }
prompt() { find_window "$MAIN_TITLE" "$TEMPIX_PID"; }  # the main window stays hidden
main_back() { [[ $(xdotool search --all --onlyvisible --pid "$TEMPIX_PID" --name "$(title_regex "$MAIN_TITLE")" | wc -l) == 1 ]]; }
runs_on() { local t2; t2=$(shown_seconds) && ((t2 < t1)) && ! closed 2; }
stopped() { [[ $(shown_seconds) == "$t1" ]] && closed 2; }
postponed_closed() { ! prompt >/dev/null && closed 3; }
nothing_shown() { [[ -z $(visible_titles "$TEMPIX_PID" | grep -vx Tempix) ]] && alive "$TEMPIX_PID"; }
apagar_alert() {  # apagar_alert SECONDS NAME [KEY=VALUE...]   — hidden in the tray
    conf_write "RunAuto=1" "WindowState=1" "ss=$1" "ShutState=1" "Shutdown=-1" "${@:3}"
    start_tempix "$2"
    wait_until 10 sni_registered "$TEMPIX_PID" || fail_now "$2: no tray icon"
}
password() { type_text "$(prompt)" clave && xdotool key Return; }

start_notifications "body actions icon-static" notify-calls.log
apagar_alert 65 postpone
started=$SECONDS
check "one Notify about 5 s into a 65 s alert" wait_until 15 notifies_are 1
check "at $((SECONDS - started)) s, not before 3 s" test $((SECONDS - started)) -ge 3
# The picture's 9216 bytes left out.
N=$(grep -a ' Notify ' "$NOTIFY_LOG" | sed -E 's/dbus\.Array\(\[dbus\.Byte[^]]*\]/dbus.Array([…]/')
printf '    %s\n' "$N"
check "texts, icon and actions" grep -qF '"Nodavia Tempix" 0 "nodavia-tempix" "El equipo se apagará en 1 minuto" "Guarde su trabajo antes de que termine el aviso." ["cancelar", "Cancelar aviso", "posponer", "Posponer 15 minutos"] {"desktop-entry": "nodavia-tempix", "image-data": dbus.Struct((dbus.Int32(48), dbus.Int32(48), dbus.Int32(192), dbus.Boolean(True), dbus.Int32(8), dbus.Int32(4), dbus.Array([…]' <<<"$N"
check "critical" grep -q '"urgency": 2} 0$' <<<"$N"
sleep 1.5
before=$(time_now)
invoke_action 1 posponer
check "'Posponer 15 minutos': the time shown jumps by 15:00 (from $before s)" wait_until 5 moved
check "and the notification is taken back" closed 1
check "only one Notify" notifies_are 1
stop_pid "$TEMPIX_PID"

# 636C617665 is "clave"; under a minute, the warning comes at once.
apagar_alert 30 cancel "BlockPass=636C617665"
check "a protected 30 s alert warns at once" wait_until 5 notifies_are 2
invoke_action 2 cancelar
check "'Cancelar aviso' opens the password prompt" wait_until 5 quiet prompt
shot prompt-from-notification
t1=$(time_now) && sleep 2.2
check "the alert runs on (from $t1 s) and the notification stays" runs_on
password
check "the right password cancels: the main window is back" wait_until 5 main_back
t1=$(time_now) && sleep 1.5
check "the time stays at $t1 s, the notification is taken back" stopped
stop_pid "$TEMPIX_PID"

apagar_alert 30 postpone-protected "BlockPass=636C617665"
check "warned at once" wait_until 5 notifies_are 3
invoke_action 3 posponer
check "'Posponer 15 minutos' of a protected alert opens the password prompt" wait_until 5 quiet prompt
sleep 1.2
before=$(time_now)
check "the end has not moved yet ($before s)" test "${before:-99}" -le 30
password
check "after the password the time shown jumps by 15:00" wait_until 5 moved
check "the prompt closes, the notification is taken back" postponed_closed
stop_pid "$TEMPIX_PID"

apagar_alert 2 no-warning "WarnBefore=0"
check "WarnBefore=0: the alert powers off without a Notify" wait_until 10 powered_off_times 1
check "no Notify" notifies_are 3
stop_pid "$TEMPIX_PID"

stop_pid "$NOTIFY_PID"
start_notifications "body" notify-no-actions-calls.log
apagar_alert 2 no-actions
check "a server without actions gets the Notify without them" wait_until 10 \
    grep -aqF '"Guarde su trabajo antes de que termine el aviso." [] {' "$NOTIFY_LOG"
check "and the alert powers off" wait_until 10 powered_off_times 2
stop_pid "$TEMPIX_PID"

stop_pid "$NOTIFY_PID"
apagar_alert 2 no-server
check "without a notification server the alert powers off as before" wait_until 10 powered_off_times 3
sleep 0.5
check "nothing is shown, the program runs on" nothing_shown
finish
