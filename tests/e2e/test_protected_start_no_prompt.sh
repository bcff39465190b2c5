#!/bin/bash
# A password-protected alert opens no window nobody asked for: no password prompt comes up while
# the main window goes into the tray or the taskbar, nor when a tray host arrives later. The
# window manager's reports on a window it maps, minimises or withdraws reach the program late
# and in some starts only, so each case runs many times, each in a fresh program.
#   DESKTOP=openbox      openbox, with trayer as the tray (XEmbed)
#   DESKTOP=gnome-plain  GNOME Shell without a tray, and our StatusNotifierItem host arriving
#                        late (GNOME shows every new window before it may minimise it)
source "$(dirname "$0")/harness.sh" "$@"
source "$(dirname "$0")/sni.sh"

DESKTOP=${DESKTOP:-openbox}
start_shell "$DESKTOP"
case $DESKTOP in
openbox)
    host_up() { start_tray; }
    host_down() { stop_pid "$TRAYER_PID"; }
    in_host() { has_tray_icon "$TEMPIX_PID"; }
    host_down
    ;;
*)
    host_up() { start_sni_watcher; }
    host_down() { stop_pid "$SNI_PID"; }
    in_host() { sni_registered "$TEMPIX_PID"; }
    ;;
esac

# The program's windows on screen in the normal state (an icon in trayer has no WM_STATE).
shown_windows() {
    local id
    for id in $(xdotool search --all --pid "$TEMPIX_PID" --name '' 2>/dev/null); do
        wm_state_is "$id" Normal && echo "$id"
    done
}
something_shown() { [[ -n $(shown_windows) ]]; }
# The main window, waiting minimised in the taskbar.
main_in_taskbar() {
    local id
    for id in $(xdotool search --all --pid "$TEMPIX_PID" --name "$(title_regex "$MAIN_TITLE")" 2>/dev/null); do
        wm_state_is "$id" Iconic && in_client_list "$id" && return 0
    done
    return 1
}
# No window of the program in the window manager's list (the taskbar's).
none_in_taskbar() {
    local id
    for id in $(xdotool search --all --pid "$TEMPIX_PID" --name '' 2>/dev/null); do
        in_client_list "$id" && return 1
    done
    return 0
}
unasked=0
# Counts a window that came up within SECONDS, when it came.
watch_unasked() {  # watch_unasked SECONDS WHEN
    if wait_until "$1" something_shown; then
        log "round $round, $2: shown without being asked: $(visible_titles "$TEMPIX_PID" | tr '\n' ' ')"
        shot "round$round-$case-unasked"
        unasked=$((unasked + 1))
    fi
}

# case     rounds  desktops  how
cases="
manual     8       openbox   the tray is up; Return on \"Iniciar Aviso\" hides the window into it
logon      10      all       no tray at the automatic start; the window waits in the taskbar, then a tray host arrives
"
while read -r case rounds desktops _; do
    [[ -z $case || ($desktops != all && $desktops != "$DESKTOP") ]] && continue
    for ((round = 1; round <= rounds; round++)); do
        # 616263 is "abc" encoded: an alert of 30 s (manual) or 2 min (logon) under it.
        if [[ $case == manual ]]; then
            host_up
            conf_write "hh=" "mm=" "ss=30" "BlockPass=616263"
            start_tempix "$case$round"
            W=$(wait_window "$MAIN_TITLE" 15 "$TEMPIX_PID") || fail_now "round $round: no main window"
            wait_until 10 in_host || fail_now "round $round: no tray icon"
            keys "$W" Return
            wait_until 5 eval '! something_shown' || fail_now "round $round: the main window did not hide"
            watch_unasked 2 "hidden into the tray"
        else
            conf_write "RunAuto=1" "WindowState=1" "mm=2" "BlockPass=616263"
            start_tempix "$case$round"
            wait_until 10 main_in_taskbar || fail_now "round $round: the main window is not in the taskbar"
            watch_unasked 1 "in the taskbar"
            host_up
            wait_until 10 in_host || fail_now "round $round: no icon in the late tray"
            wait_until 5 none_in_taskbar || fail_now "round $round: the window did not move into the tray"
            watch_unasked 1 "moved into the tray"
        fi
        check "$case, round $round: the alert runs (the program is alive)" alive "$TEMPIX_PID"
        stop_pid "$TEMPIX_PID"
        host_down
    done
done <<<"$cases"
check "no window came up by itself on $DESKTOP ($unasked did)" test "$unasked" -eq 0
finish
