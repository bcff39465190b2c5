#!/bin/bash
# A password-protected alert opens no window nobody asked for: no password prompt comes up while
# the main window goes into the tray or the taskbar, nor when a tray host arrives later. The
# window manager's reports on a window it maps, minimises or withdraws reach the program late
# and in some starts only, so each case runs many times, each in a fresh program. DESKTOP picks
# openbox (trayer as the tray) or gnome-plain (GNOME without a tray, shows every new window
# before it may minimise it; our StatusNotifierItem host arrives late).
source "$(dirname "$0")/harness.sh" "$@"
source "$(dirname "$0")/sni.sh"

DESKTOP=${DESKTOP:-openbox}
start_shell "$DESKTOP"
if [[ $DESKTOP == openbox ]]; then
    host_up() { start_tray; }
    host_down() { stop_pid "$TRAYER_PID"; }
    in_host() { has_tray_icon "$TEMPIX_PID"; }
    host_down
else
    host_up() { start_sni_watcher; }
    host_down() { stop_pid "$SNI_PID"; }
    in_host() { sni_registered "$TEMPIX_PID"; }
fi
# The program's windows in the window manager's list in that state (Normal: on screen).
listed() {  # listed STATE
    local id
    for id in $(xdotool search --all --pid "$TEMPIX_PID" --name '' 2>/dev/null); do
        in_client_list "$id" && wm_state_is "$id" "$1" && echo "$id"
    done
}
none() { [[ -z $(listed "$1") ]]; }
unasked=0
watch() {  # watch SECONDS WHEN   — counts a window that came up within SECONDS
    wait_until "$1" eval '! none Normal' || return 0
    log "round $round, $2: shown without being asked: $(visible_titles "$TEMPIX_PID" | tr '\n' ' ')"
    shot "round$round-unasked"
    unasked=$((unasked + 1))
}

# 616263 is "abc" encoded. Started with Return on "Iniciar Aviso", the tray up: into the tray.
[[ $DESKTOP == openbox ]] && for ((round = 1; round <= 8; round++)); do
    host_up
    conf_write "ss=30" "BlockPass=616263"
    start_tempix "return$round"
    W=$(wait_window "$MAIN_TITLE" 15 "$TEMPIX_PID") || fail_now "round $round: no main window"
    wait_until 10 in_host || fail_now "round $round: no tray icon"
    keys "$W" Return
    wait_until 5 none Normal || fail_now "round $round: the main window did not hide"
    watch 2 "hidden into the tray"
    stop_pid "$TEMPIX_PID"
    host_down
done
# Started at logon with no tray: into the taskbar; then a tray host arrives: into the tray.
for ((round = 1; round <= 10; round++)); do
    conf_write "RunAuto=1" "WindowState=1" "mm=2" "BlockPass=616263"
    start_tempix "logon$round"
    wait_until 10 eval '! none Iconic' || fail_now "round $round: not minimised in the taskbar"
    watch 1 "in the taskbar"
    host_up
    wait_until 10 in_host && wait_until 5 none Iconic || fail_now "round $round: not into the tray"
    watch 1 "moved into the tray"
    check "round $round: the alert runs (the program is alive)" alive "$TEMPIX_PID"
    stop_pid "$TEMPIX_PID"
    host_down
done
check "no window came up by itself on $DESKTOP ($unasked did)" test "$unasked" -eq 0
finish
