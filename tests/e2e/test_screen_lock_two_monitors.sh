#!/bin/bash
# With two monitors the lock covers both, the password box on the first. Made headless with
# weston's X11 backend drawing two outputs on a wide Xvfb: its XWayland server reports two RandR
# monitors. A Wayland session whose system bus has no logind: the lock holds all the same and
# says on standard error that the session was not locked.
source "$(dirname "$0")/harness.sh" "$@"
source "$(dirname "$0")/weston.sh"
source "$(dirname "$0")/lock_escapes.sh"

install_fake_systemctl
start_x 2600x900
HOST_DISPLAY=$DISPLAY
start_session_bus
start_system_bus  # private, and nobody owns org.freedesktop.login1 on it
start_weston_outputs 2
export DISPLAY=$WESTON_X WAYLAND_DISPLAY=$WESTON_WAYLAND XDG_SESSION_TYPE=wayland
check "XWayland reports two monitors" test "$(xrandr --listmonitors | head -n1)" = "Monitors: 2"

start_lock
surfaces() {
    local id
    for id in $(xdotool search --all --onlyvisible --pid "$TEMPIX_PID" --name '' 2>/dev/null); do
        has_net_state "$id" FULLSCREEN && geometry "$id"
    done | sort | paste -sd'|'
}
each_monitor() { [[ $(surfaces) == "0 0 1280x800|1280 0 1280x800" ]]; }
check "a lock surface fills each monitor" wait_until 10 each_monitor
log "lock surfaces: $(surfaces); focus: $(xdotool getwindowfocus), lock: $(lock_window)"
has_keyboard() { [[ $(xdotool getwindowfocus) == "$(lock_window)" ]]; }
check "the password box is on the first, with the keyboard" wait_until 5 has_keyboard
check "a second client's grabs get AlreadyGrabbed" \
    test "$($XCLIENT grab)" = "keyboard=AlreadyGrabbed pointer=AlreadyGrabbed"
sleep 0.5
shot two-monitors
# What each monitor shows, left of the lock's text: the lock's blue.
blue() { [[ $(convert "$OUT/two-monitors.png" -crop "1x1+$1+40" txt:- | tail -n1) == *"#2A547E"* ]]; }
check "the first monitor shows the lock" blue 40
check "the second monitor shows the lock too" blue 1340
check "logind out of reach is said once on standard error" test \
    "$(grep -c '^Nodavia Tempix: el sistema no bloqueó la sesión (.*)\. La pantalla sigue bloqueada por el programa\.$' "$E2E_TMP/lock.log")" = 1

SHELL_NAME=weston
unlock
check "no lock surface is left on either monitor" test -z "$(surfaces)"
finish
