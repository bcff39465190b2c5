#!/bin/bash
# The main window minimised into the tray is never lost with the tray: when the tray host stops
# it comes back minimised in the taskbar within seconds, and goes back into the tray when a host
# returns. For each kind of host, in a fresh program (Qt picks the kind once):
#   trayer   an X tray (XEmbed) that quits
#   watcher  a StatusNotifierItem watcher and host that leave the bus (most panels)
#   host     only the host going, its watcher staying (Plasma's panel stopping)
source "$(dirname "$0")/harness.sh" "$@"
source "$(dirname "$0")/sni.sh"

start_desktop notray
main_window() { xdotool search --all --pid "$TEMPIX_PID" --name "$(title_regex "$MAIN_TITLE")" | head -n1; }
in_taskbar() { wm_state_is "$W" Iconic && in_client_list "$W"; }
in_tray() { ! in_client_list "$W" && ! is_viewable "$W" && "$icon_shown"; }
trayer_icon() { has_tray_icon "$TEMPIX_PID"; }
sni_icon() { sni_registered "$TEMPIX_PID" && sni_host_ready; }

# host     start               stop                      restart                   icon shown
while read host start stop restart icon_shown; do
    [[ -z $host ]] && continue
    $start
    start_tempix "$host"
    wait_window "$MAIN_TITLE" 15 "$TEMPIX_PID" >/dev/null || fail_now "$host: no main window"
    W=$(main_window)
    wait_until 10 "$icon_shown" || fail_now "$host: no tray icon"
    xdotool windowminimize "$W"
    check "$host: minimised, the main window goes into the tray" wait_until 5 in_tray
    eval "$stop"
    check "$host: the host stops: the window waits minimised in the taskbar" wait_until 5 in_taskbar
    [[ $host == trayer ]] && shot tray-host-gone
    eval "$restart"
    check "$host: a host comes back: the window goes back into the tray" wait_until 10 in_tray
    stop_pid "$TEMPIX_PID"
    eval "$stop"
done <<'EOF'
trayer   start_tray          stop_pid\ $TRAYER_PID     start_tray                trayer_icon
watcher  start_sni_watcher   stop_pid\ $SNI_PID        start_sni_watcher         sni_icon
host     start_sni_watcher   kill\ -USR1\ $SNI_PID     kill\ -USR1\ $SNI_PID     sni_icon
EOF
finish
