#!/bin/bash
# A D-Bus notification area (StatusNotifierItem), as most desktop panels have, that starts after
# the program, as at logon: the icon registers once it is there, its tooltip counts down, the
# menu opens where the host asks, the host can read the "Archivo" menu with its current states
# and use it, and "Configurar Aviso" brings the hidden main window back through the password; a
# host or watcher that goes away sends the minimised window back to the taskbar.
source "$(dirname "$0")/harness.sh" "$@"
source "$(dirname "$0")/sni.sh"

start_desktop notray
# A protected two-minute alert started at once, the main window minimised; 636C617665 is
# "clave" encoded.
conf_write "RunAuto=1" "hh=" "mm=2" "ss=" "WindowState=1" "BlockPass=636C617665"
# What the item announces, for the count of signals a tick costs the notification area.
dbus-monitor --session "type='signal',interface='org.kde.StatusNotifierItem'" \
    >"$E2E_TMP/item-signals.log" 2>&1 &
E2E_PIDS+=($!)
start_tempix sni
iconic_main_window() {
    local id
    for id in $(xdotool search --all --pid "$TEMPIX_PID" --name "$(title_regex "$MAIN_TITLE")" 2>/dev/null); do
        wm_state_is "$id" Iconic && echo "$id" && return 0
    done
    return 1
}
check "without a notification area the main window waits minimised in the taskbar" \
    wait_until 10 quiet iconic_main_window
W=$(iconic_main_window) || fail_now "no minimised main window"
sleep 1

signals() { grep -c "member=$1\$" "$E2E_TMP/item-signals.log"; }
check "no signal while no notification area shows the icon" test "$(signals NewIcon)" = 0
start_sni_watcher
check "the icon registers with a notification area that starts later" \
    wait_until 10 sni_registered "$TEMPIX_PID"
check "the main window then leaves the taskbar" wait_until 5 bash -c \
    "! xprop -root _NET_CLIENT_LIST | grep -qi $(printf '0x%x' "$W")"

# The first tick, a second or so after the start, puts the time in the tip.
tip_shows_time() { tip1=$(sni tooltip) && [[ $tip1 =~ ^00:01:[0-5][0-9]$ ]]; }
check "the tooltip shows the time left" wait_until 5 tip_shows_time
sleep 2.2
tip2=$(sni tooltip)
log "tooltip '$tip1', then '$tip2'"
check "and counts down" bash -c "[[ '$tip2' < '$tip1' ]]"
icons0=$(signals NewIcon) tips0=$(signals NewToolTip)
sleep 4
icons=$(($(signals NewIcon) - icons0)) tips=$(($(signals NewToolTip) - tips0))
log "over 4 s: $icons NewIcon, $tips NewToolTip"
check "one new picture and one new tooltip a second" bash -c "((3 <= $icons && $icons <= 5 &&
    3 <= $tips && $tips <= 5))"

layout=$(sni layout)
printf '%s\n' "$layout" | sed 's/^/  /'
check "the exported menu has the five items in order" test "$(cut -f2 <<<"$layout" | tr '\n' ,)" = \
    "Configurar Aviso,Ver Cronometro,Cancelar Aviso,Opciones,Salir,"
check "'Salir' is disabled while the alert runs" bash -c "grep -q \$'\tSalir\toff$' <<<'$layout'"
check "'Configurar Aviso' is enabled" bash -c "grep -q \$'\tConfigurar Aviso\ton$' <<<'$layout'"

sni menu-at 300 200
check "ContextMenu(300, 200) opens the menu" wait_until 5 quiet popup_menu "$TEMPIX_PID"
menu=$(popup_menu "$TEMPIX_PID")
read -r mx my msize < <(geometry "$menu")
log "menu at $mx,$my, $msize"
check "at 300, 200" test "$mx,$my" = "300,200"
shot sni-menu
xdotool key Escape
check "Escape closes it" wait_until 3 no_popup_menu "$TEMPIX_PID"

sni click "Configurar Aviso"
check "the host's click on 'Configurar Aviso' opens the password prompt" \
    wait_until 5 quiet find_window "$MAIN_TITLE" "$TEMPIX_PID"
P=$(find_window "$MAIN_TITLE" "$TEMPIX_PID") || fail_now "no prompt"
read -r _ _ psize < <(geometry "$P")
log "prompt $psize"
type_text "$P" clave
xdotool key Return
# A window hidden in the tray comes back with a new native window: the tall one of that title.
main_shown() {
    local id
    for id in $(xdotool search --all --onlyvisible --pid "$TEMPIX_PID" --name "$(title_regex "$MAIN_TITLE")"); do
        (($(xwininfo -id "$id" | awk '/Height:/ {print $2}') > 300)) && wm_state_is "$id" Normal &&
            echo "$id" && return 0
    done
    return 1
}
check "the right password brings the main window back" wait_until 5 quiet main_shown
shot sni-main-window
check "the program keeps running" alive "$TEMPIX_PID"

# Minimised into the tray, the window comes back to the taskbar when the host goes (Plasma's
# panel stopping, its watcher staying) and when the watcher leaves the bus, and goes into the
# tray again when the host returns.
W=$(main_shown)
place() {  # where the minimised main window is
    if ! in_client_list "$W"; then
        echo "in the tray"
    elif wm_state_is "$W" Iconic; then
        echo "in the taskbar"
    fi
}
while IFS='|' read -r what action where; do
    eval "$action"
    check "$what: the window is $where" wait_until 5 eval '[[ $(place) == "$where" ]]'
done <<'EOF'
minimised|xdotool windowminimize "$W"|in the tray
the host goes, its watcher stays|kill -USR1 "$SNI_PID"|in the taskbar
the host returns|kill -USR1 "$SNI_PID"|in the tray
the watcher leaves the bus|stop_pid "$SNI_PID"|in the taskbar
EOF
finish
