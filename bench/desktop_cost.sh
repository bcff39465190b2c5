#!/usr/bin/env bash
# What counting costs the desktop: the CPU time of the tray host (and of the window manager where
# it composites) over 60 s while an alert counts with the main window hidden in the tray, minus
# the same with the program idle there.
#
#   desktop_cost.sh TEMPIX OUT DESKTOP [SECONDS]
#     DESKTOP  kde     plasmashell (with kded5) on kwin_x11, a D-Bus tray (StatusNotifierItem)
#              gnome   gnome-shell with the AppIndicator extension, a D-Bus tray
#              xembed  xfce4-panel's tray on xfwm4, the program kept off the D-Bus tray: an X tray
#
# Prints name=value lines: host_ms_idle, host_ms_counting, and for kde host_ms_floor, what the
# same host spends on a bare item whose picture changes once a second (sni_floor.py): the least
# any item costs while its icon animates. Also the X server's time, for information. About four
# minutes for kde, three for the others.
set -u
cd "$(dirname "$0")/.."
desktop=$3
seconds=${4:-60}
source tests/e2e/harness.sh "$1" "$2" >&2

case $desktop in
kde) start_shell kde >&2 ;;
gnome) start_shell gnome >&2 ;;
xembed) start_shell xfce >&2 ;;
*) fail_now "no such desktop: $desktop" ;;
esac

# The desktop's processes that draw the tray: the host, and the compositing window manager.
host_processes() {
    local pid name
    for pid in "${E2E_PIDS[@]}" $(for p in "${E2E_PIDS[@]}"; do pgrep -P "$p"; done); do
        name=$(cat "/proc/$pid/comm" 2>/dev/null) || continue
        case $desktop:$name in
        kde:plasmashell | kde:kwin_x11 | gnome:gnome-shell | xembed:panel-*-systray) echo "$pid" ;;
        esac
    done
}
# CPU time of a process in ms, its ended threads included (a panel's come and go).
cpu_ms() { awk -v hz="$(getconf CLK_TCK)" '{ print int(($14 + $15) * 1000 / hz) }' /proc/"$1"/stat 2>/dev/null || echo 0; }
hosts=($(host_processes))
((${#hosts[@]})) || fail_now "no tray host found"
log "measuring $(for p in "${hosts[@]}"; do cat "/proc/$p/comm"; done | tr '\n' ' ')" >&2

# An X tray on XFCE: the program gets a session bus of its own, without the panel's D-Bus tray.
program_env=()
if [[ $desktop == xembed ]]; then
    dbus-daemon --session --nofork --nopidfile --address="unix:path=$E2E_TMP/own.sock" \
        >/dev/null 2>&1 &
    E2E_PIDS+=($!)
    wait_until 10 test -S "$E2E_TMP/own.sock" || fail_now "no bus of its own"
    program_env=(DBUS_SESSION_BUS_ADDRESS="unix:path=$E2E_TMP/own.sock")
fi

phase() {  # phase NAME command...   — host time over the measured seconds while command runs
    "${@:2}" >/dev/null 2>&1 &
    local pid=$! p x0 total=0
    local -A h0
    E2E_APPS+=($pid)
    sleep 8
    for p in "${hosts[@]}"; do h0[$p]=$(cpu_ms "$p"); done
    x0=$(cpu_ms "$XVFB_PID")
    sleep "$seconds"
    # A host that ended meanwhile counts for nothing, rather than for its whole past.
    for p in "${hosts[@]}"; do
        [[ -d /proc/$p ]] && total=$((total + $(cpu_ms "$p") - h0[$p]))
    done
    echo "host_ms_$1=$total"
    echo "xserver_ms_$1=$(($(cpu_ms "$XVFB_PID") - x0))"
    stop_pid "$pid"
    sleep 2
}

sleep 5
conf_write WindowState=1
phase idle env -C "$E2E_TMP" "${program_env[@]}" QT_QPA_PLATFORM=xcb "$TEMPIX"
conf_write WindowState=1 RunAuto=1 mm=30
phase counting env -C "$E2E_TMP" "${program_env[@]}" QT_QPA_PLATFORM=xcb "$TEMPIX"
if [[ $desktop == kde ]]; then
    phase floor /usr/bin/python3 bench/sni_floor.py
fi
finish >&2
