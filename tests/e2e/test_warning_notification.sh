#!/bin/bash
# The notification a minute before an alert powers the computer off, on a mock notification
# server of the session bus: one Notify with the texts, the icon and two actions; "Posponer 15
# minutos" moves the end 15 minutes, "Cancelar aviso" and "Posponer" of a protected alert ask
# the password first. With WarnBefore=0, or no server at all, the alert completes as before.
# The time shown is read from the tray icon's tip (a StatusNotifierItem host of our own); power
# requests go to the harness's mock logind.
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
server_up() {
    [[ $(bus_owner_pid "$DBUS_SESSION_BUS_ADDRESS" org.freedesktop.Notifications) == "$NOTIFY_PID" ]]
}
notifies() { grep -ac ' Notify ' "$NOTIFY_LOG" 2>/dev/null; }
notifies_are() { [[ $(notifies) == "$1" ]]; }  # notifies_are N   — so many Notify calls in all
last_notify() { grep -a ' Notify ' "$NOTIFY_LOG" | tail -n1; }
# The server says the user pressed an action of notification ID.
invoke_action() {  # invoke_action ID KEY
    /usr/bin/python3 - "$1" "$2" <<'PY'
import sys
import dbus
mock = dbus.SessionBus().get_object("org.freedesktop.Notifications", "/org/freedesktop/Notifications")
mock.EmitSignal("org.freedesktop.Notifications", "ActionInvoked", "us",
                [dbus.UInt32(int(sys.argv[1])), sys.argv[2]], dbus_interface="org.freedesktop.DBus.Mock")
PY
}
closed() { grep -aq "CloseNotification $1\$" "$NOTIFY_LOG"; }  # closed ID
# The time left as the tray icon's tip shows it, in seconds.
shown_seconds() {
    local tip
    tip=$(sni tooltip 2>/dev/null) && [[ $tip =~ ^([0-9]+):([0-9]{2}):([0-9]{2})$ ]] || return 1
    echo $((10#${BASH_REMATCH[1]} * 3600 + 10#${BASH_REMATCH[2]} * 60 + 10#${BASH_REMATCH[3]}))
}
prompt() { find_window "$MAIN_TITLE" "$TEMPIX_PID"; }  # the main window stays hidden
powered_off() { grep -ac 'PowerOff' "$LOGIND_LOG" 2>/dev/null; }
powered_off_times() { [[ $(powered_off) == "$1" ]]; }
# A 65-second (or $1) alert with "Apagar", hidden in the tray; more store values after it.
apagar_alert() {  # apagar_alert SECONDS NAME [KEY=VALUE...]
    local ss=$1 name=$2
    shift 2
    conf_write "RunAuto=1" "WindowState=1" "hh=" "mm=" "ss=$ss" "ShutState=1" "Shutdown=-1" \
        "Restart=0" "$@"
    start_tempix "$name"
    wait_until 10 sni_registered "$TEMPIX_PID" || fail_now "$name: no tray icon"
}
answer_prompt() {  # answer_prompt PASSWORD
    local p
    p=$(prompt) || return 1
    type_text "$p" "$1"
    xdotool key Return
}

start_notifications "body actions icon-static persistence" notify-calls.log

# --- One warning at about 5 s of a 65 s alert; "Posponer" moves the end 15 minutes ----------
apagar_alert 65 postpone
started=$SECONDS
check "one Notify about 5 s after the start" wait_until 15 notifies_are 1
after=$((SECONDS - started))
log "Notify after ${after}s"
check "not before 3 s, not after 9 s" test "$after" -ge 3 -a "$after" -le 9
# The picture's 9216 bytes left out.
N=$(last_notify | sed -E 's/dbus\.Array\(\[dbus\.Byte[^]]*\]/dbus.Array([…]/')
printf '    %s\n' "$N"
check "from 'Nodavia Tempix' with its icon" grep -q '"Nodavia Tempix" 0 "nodavia-tempix"' <<<"$N"
check "summary and body" grep -q '"El equipo se apagará en 1 minuto" "Guarde su trabajo antes de que termine el aviso."' <<<"$N"
check "both actions" grep -qF '["cancelar", "Cancelar aviso", "posponer", "Posponer 15 minutos"]' <<<"$N"
check "critical" grep -q '"urgency": 2}' <<<"$N"
check "with the 48 x 48 picture" grep -qF '"image-data": dbus.Struct((dbus.Int32(48), dbus.Int32(48), dbus.Int32(192), dbus.Boolean(True), dbus.Int32(8), dbus.Int32(4), dbus.Array([…]' <<<"$N"
sleep 1.5
check "only one" test "$(notifies)" = 1
before=$(shown_seconds) || fail_now "no time in the tip"
invoke_action 1 posponer
check "'Posponer 15 minutos' takes the notification back" wait_until 5 closed 1
# 15:00 more, less the few seconds the action took.
moved() { local now; now=$(shown_seconds) && ((now >= before + 900 - 8 && now <= before + 900)); }
check "and the shown time jumps by 15:00 (from $before s)" wait_until 5 moved
log "shown after: $(sni tooltip)"
stop_pid "$TEMPIX_PID"

# --- A protected alert: "Cancelar aviso" asks the password, the alert runs on until then -----
# 636C617665 is "clave" encoded; 30 s is under the minute, so the warning comes at once.
apagar_alert 30 cancel "BlockPass=636C617665"
check "a protected alert of 30 s warns at once" wait_until 5 notifies_are 2
log "$(last_notify | grep -o '"El equipo[^"]*"')"
invoke_action 2 cancelar
check "'Cancelar aviso' opens the password prompt" wait_until 5 quiet prompt
sleep 0.5
shot prompt-from-notification
t1=$(shown_seconds)
sleep 2.2
t2=$(shown_seconds)
check "the alert runs on ($t1 s, then $t2 s)" test "${t2:-99}" -lt "${t1:-0}"
check "and its notification stays" bash -c "! grep -aq 'CloseNotification 2' '$NOTIFY_LOG'"
answer_prompt clave
main_back() { [[ $(xdotool search --all --onlyvisible --pid "$TEMPIX_PID" --name "$(title_regex "$MAIN_TITLE")" 2>/dev/null | wc -l) == 1 ]]; }
check "the right password brings the main window back" wait_until 5 main_back
t1=$(shown_seconds)
sleep 1.5
check "and the alert has stopped (the time stays at $t1 s)" test "$(shown_seconds)" = "$t1"
check "and takes the notification back" wait_until 5 closed 2
check "no power-off" test "$(powered_off)" = 0
stop_pid "$TEMPIX_PID"

# --- A protected alert: "Posponer 15 minutos" only after the password ------------------------
apagar_alert 30 postpone-protected "BlockPass=636C617665"
check "warned at once" wait_until 5 notifies_are 3
invoke_action 3 posponer
check "'Posponer 15 minutos' of a protected alert opens the password prompt" \
    wait_until 5 quiet prompt
sleep 1.2
before=$(shown_seconds)
check "the end has not moved yet ($before s)" test "${before:-99}" -le 30
answer_prompt clave
check "after the password the shown time jumps by 15:00" wait_until 5 moved
check "the prompt closes" wait_until 5 bash -c "! xdotool search --onlyvisible --pid $TEMPIX_PID --name '$(title_regex "$MAIN_TITLE")' >/dev/null 2>&1"
check "the notification is taken back" wait_until 5 closed 3
stop_pid "$TEMPIX_PID"

# --- WarnBefore=0: no notification; the alert powers off as ever -----------------------------
apagar_alert 2 no-warning "WarnBefore=0"
check "WarnBefore=0: the alert completes" wait_until 10 powered_off_times 1
check "without a Notify" test "$(notifies)" = 3
stop_pid "$TEMPIX_PID"

# --- A server without actions: the notification comes without them --------------------------
stop_pid "$NOTIFY_PID"
start_notifications "body" notify-no-actions-calls.log
apagar_alert 2 no-actions
check "a server without actions gets one Notify" wait_until 10 notifies_are 1
check "with no actions" grep -qF '"Guarde su trabajo antes de que termine el aviso." [] {' <<<"$(last_notify)"
check "the alert completes" wait_until 10 powered_off_times 2
stop_pid "$TEMPIX_PID"

# --- No notification server: the alert completes as before, nothing on screen ----------------
stop_pid "$NOTIFY_PID"
apagar_alert 2 no-server
check "without a notification server the alert completes" wait_until 10 powered_off_times 3
sleep 0.5
titles=$(visible_titles "$TEMPIX_PID" | grep -vx Tempix)
check "and nothing is shown (${titles:-no window})" test -z "$titles"
check "the program runs on" alive "$TEMPIX_PID"
check "exactly one power-off per completed alert" test "$(grep -ac 'PowerOff True' "$LOGIND_LOG")" = 3
finish
