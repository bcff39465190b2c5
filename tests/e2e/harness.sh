# Desktop test harness, sourced by every tests/e2e/test_*.sh.
#
#   source harness.sh "$1" "$2"      $1 = the built tempix, $2 = a folder for screenshots/logs
#
# It makes a throw-away folder for HOME, XDG_CONFIG_HOME and XDG_RUNTIME_DIR, and private
# services in it: an X server, a window manager, optionally a tray host, a session bus, a
# system bus with a mock logind, a sound server, and a systemctl that only writes down its
# arguments. Every process is started here and stopped here by its process number: other people
# run their own X servers on the same machine, so nothing is ever stopped by name.

set -u

TEMPIX=$(readlink -f "${1:?the tempix binary}")
OUT=$(mkdir -p "${2:?an output folder}" && readlink -f "$2")
# Only this run's screenshots and logs in the output folder.
rm -f "$OUT"/*.png "$OUT"/*.log "$OUT"/Tempix.conf
[[ -x $TEMPIX ]] || {
    echo "FAIL: $TEMPIX is not an executable" >&2
    exit 2
}

E2E_TMP=$(mktemp -d "${TMPDIR:-/tmp}/tempix-e2e.XXXXXX")
REAL_HOME=${HOME:-/root}
REAL_CONFIG=${XDG_CONFIG_HOME:-$REAL_HOME/.config}
# What the program could write for the real user: none of it may change during a test.
real_user_state() {
    find "$REAL_CONFIG/Nodavia" "$REAL_CONFIG/autostart/nodavia-tempix.desktop" \
        "${XDG_RUNTIME_DIR:-/run/user/$(id -u)}/nodavia-tempix" -printf '%p %T@ %s\n' 2>/dev/null
}
E2E_REAL_BEFORE=$(real_user_state)
E2E_REAL_RUNTIME=${XDG_RUNTIME_DIR:-/run/user/$(id -u)}
declare -a E2E_PIDS=()   # services, stopped in reverse order
declare -a E2E_APPS=()   # program instances, stopped first
E2E_FAILED=0
E2E_KEEP=${E2E_KEEP:-0}  # 1: leave the temporary folder for a look afterwards

export HOME=$E2E_TMP/home
export XDG_CONFIG_HOME=$E2E_TMP/config
export XDG_RUNTIME_DIR=$E2E_TMP/runtime
export XDG_CACHE_HOME=$E2E_TMP/cache
export XDG_DATA_HOME=$E2E_TMP/data
export TMPDIR=$E2E_TMP/tmp
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR/pulse" "$XDG_CACHE_HOME" \
    "$XDG_DATA_HOME" "$TMPDIR" "$E2E_TMP/bin"
chmod 0700 "$XDG_RUNTIME_DIR"
unset DBUS_SESSION_BUS_ADDRESS DBUS_SYSTEM_BUS_ADDRESS PULSE_SERVER DISPLAY WAYLAND_DISPLAY
unset SESSION_MANAGER XDG_SESSION_TYPE XDG_CURRENT_DESKTOP DESKTOP_SESSION
CONF=$XDG_CONFIG_HOME/Nodavia/Tempix.conf

# ---------------------------------------------------------------------------------------------
# Reporting

log() { printf '  %s\n' "$*"; }

check() {  # check "what" command...   — prints the result, remembers a failure
    local what=$1
    shift
    if "$@"; then
        printf 'ok    %s\n' "$what"
    else
        printf 'FAIL  %s\n' "$what"
        E2E_FAILED=1
    fi
}

require() {  # like check, but there is no point going on after a failure
    check "$@" || true
    if ((E2E_FAILED)); then
        fail_now "$1"
    fi
}

fail_now() {
    printf 'FAIL  %s (stopping here)\n' "$*"
    E2E_FAILED=1
    shot "failure" >/dev/null 2>&1 || true
    exit 1
}

finish() {  # the last line of every test
    check "nothing was written to the real user's settings" real_user_untouched
    if ((E2E_FAILED)); then
        shot "failure" >/dev/null 2>&1
        echo "some checks failed; logs and screenshots in $OUT"
        exit 1
    fi
    echo "all checks passed"
    exit 0
}

# ---------------------------------------------------------------------------------------------
# Processes

stop_pid() {  # stop one process of ours: TERM, then KILL after 3 s
    local pid=$1 i
    kill -0 "$pid" 2>/dev/null || {
        wait "$pid" 2>/dev/null
        return 0
    }
    kill -TERM "$pid" 2>/dev/null
    for ((i = 0; i < 30; i++)); do
        kill -0 "$pid" 2>/dev/null || break
        # A zombie of ours counts as gone once it is reaped.
        [[ $(ps -o stat= -p "$pid" 2>/dev/null) == Z* ]] && break
        sleep 0.1
    done
    kill -0 "$pid" 2>/dev/null && [[ $(ps -o stat= -p "$pid" 2>/dev/null) != Z* ]] &&
        kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    return 0
}

cleanup() {
    local rc=$? i
    for ((i = ${#E2E_APPS[@]} - 1; i >= 0; i--)); do stop_pid "${E2E_APPS[i]}"; done
    for ((i = ${#E2E_PIDS[@]} - 1; i >= 0; i--)); do stop_pid "${E2E_PIDS[i]}"; done
    # Keep the program's output and the call logs beside the screenshots.
    cp "$E2E_TMP"/*.log "$OUT"/ 2>/dev/null
    if [[ -f $CONF ]]; then cp "$CONF" "$OUT/Tempix.conf"; fi
    if ((E2E_KEEP)); then
        echo "temporary folder kept: $E2E_TMP"
    else
        rm -rf "$E2E_TMP"
    fi
    exit "$rc"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

real_user_untouched() {
    local now
    now=$(HOME=$REAL_HOME XDG_CONFIG_HOME=$REAL_CONFIG XDG_RUNTIME_DIR=$E2E_REAL_RUNTIME \
        real_user_state)
    [[ $now == "$E2E_REAL_BEFORE" ]]
}

quiet() { "$@" >/dev/null; }

alive() { kill -0 "$1" 2>/dev/null && [[ $(ps -o stat= -p "$1" 2>/dev/null) != Z* ]]; }

wait_until() {  # wait_until SECONDS command...   — polls every 0.1 s
    local deadline=$((SECONDS * 10 + $1 * 10)) now
    shift
    while true; do
        "$@" && return 0
        now=$((SECONDS * 10))
        ((now >= deadline)) && return 1
        sleep 0.1
    done
}

# ---------------------------------------------------------------------------------------------
# Services

start_x() {  # start_x [WIDTHxHEIGHT]   — else E2E_SCREEN, else 1280x800
    local fdfile=$E2E_TMP/display
    Xvfb -displayfd 5 -screen 0 "${1:-${E2E_SCREEN:-1280x800}}x24" -nolisten tcp -noreset \
        5>"$fdfile" >"$E2E_TMP/xvfb.log" 2>&1 &
    E2E_PIDS+=($!)
    XVFB_PID=$!
    wait_until 10 grep -qs '[0-9]' "$fdfile" || fail_now "Xvfb did not report a display"
    export DISPLAY=":$(tr -dc '0-9' <"$fdfile")"
    wait_until 10 xdpyinfo_ok || fail_now "X server $DISPLAY not answering"
    log "X server $DISPLAY (pid $XVFB_PID)"
}
xdpyinfo_ok() { xprop -root _NET_SUPPORTED >/dev/null 2>&1 || xwininfo -root >/dev/null 2>&1; }

start_wm() {
    openbox --sm-disable >"$E2E_TMP/openbox.log" 2>&1 &
    E2E_PIDS+=($!)
    WM_PID=$!
    wait_until 10 wm_ready || fail_now "openbox did not start"
}
wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }

start_tray() {
    trayer --edge top --align right --widthtype request --height 32 --SetDockType true \
        --transparent false --tint 0x404040 >"$E2E_TMP/trayer.log" 2>&1 &
    E2E_PIDS+=($!)
    TRAYER_PID=$!
    wait_until 10 tray_ready || fail_now "trayer did not start"
}
# Ready once it owns the tray selection of screen 0: that is what the program looks for.
tray_ready() { [[ $(tray_selection_owner) != 0 ]]; }
tray_selection_owner() {
    /usr/bin/python3 - <<'PY' 2>/dev/null || echo 0
import ctypes
x = ctypes.cdll.LoadLibrary("libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x.XInternAtom.restype = ctypes.c_ulong
x.XGetSelectionOwner.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
x.XGetSelectionOwner.restype = ctypes.c_ulong
x.XCloseDisplay.argtypes = [ctypes.c_void_p]
d = x.XOpenDisplay(None)
if not d:
    raise SystemExit(1)
print(x.XGetSelectionOwner(d, x.XInternAtom(d, b"_NET_SYSTEM_TRAY_S0", 0)))
x.XCloseDisplay(d)
PY
}

start_session_bus() {
    dbus-daemon --session --nofork --nopidfile --address="unix:path=$E2E_TMP/session.sock" \
        --print-address=1 >"$E2E_TMP/session.addr" 2>"$E2E_TMP/session-bus.log" &
    E2E_PIDS+=($!)
    wait_until 10 test -S "$E2E_TMP/session.sock" || fail_now "session bus did not start"
    export DBUS_SESSION_BUS_ADDRESS="unix:path=$E2E_TMP/session.sock"
}

SYSTEM_SOCK=$E2E_TMP/system.sock
start_system_bus() {
    cat >"$E2E_TMP/system-bus.conf" <<EOF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-BUS Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>system</type>
  <listen>unix:path=$SYSTEM_SOCK</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow user="*"/>
    <allow own="*"/>
    <allow send_destination="*"/>
    <allow receive_sender="*"/>
  </policy>
</busconfig>
EOF
    dbus-daemon --config-file="$E2E_TMP/system-bus.conf" --nofork --nopidfile \
        --print-address=1 >"$E2E_TMP/system.addr" 2>"$E2E_TMP/system-bus.log" &
    E2E_PIDS+=($!)
    SYSTEM_BUS_PID=$!
    wait_until 10 test -S "$SYSTEM_SOCK" || fail_now "private system bus did not start"
    export DBUS_SYSTEM_BUS_ADDRESS="unix:path=$SYSTEM_SOCK"
    system_bus_is_private || fail_now "DBUS_SYSTEM_BUS_ADDRESS does not name the private bus"
}

# The program finds the system bus through DBUS_SYSTEM_BUS_ADDRESS: it must name our socket,
# and the daemon answering there must be ours.
system_bus_is_private() {
    [[ ${DBUS_SYSTEM_BUS_ADDRESS:-} == "unix:path=$SYSTEM_SOCK" ]] || return 1
    [[ $SYSTEM_SOCK == "$E2E_TMP"/* && -S $SYSTEM_SOCK ]] || return 1
    # The daemon answering there is the one we started.
    [[ $(bus_owner_pid "$DBUS_SYSTEM_BUS_ADDRESS" org.freedesktop.DBus) == "$SYSTEM_BUS_PID" ]]
}

bus_owner_pid() {  # bus_owner_pid ADDRESS NAME   — the process that owns NAME on that bus
    dbus-send --bus="$1" --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.GetConnectionUnixProcessID "string:$2" 2>/dev/null |
        awk '/uint32/ {print $2}'
}

LOGIND_LOG=$E2E_TMP/logind-calls.log
start_mock_logind() {
    [[ ${DBUS_SYSTEM_BUS_ADDRESS:-} == "unix:path=$SYSTEM_SOCK" ]] ||
        fail_now "refusing to start a logind mock outside the private system bus"
    /usr/bin/python3 -m dbusmock --system --template logind -l "$LOGIND_LOG" \
        >"$E2E_TMP/logind.log" 2>&1 &
    E2E_PIDS+=($!)
    LOGIND_PID=$!
    wait_until 10 logind_on_private_bus || fail_now "mock logind did not appear on the private bus"
}

# The name the program calls is owned, on the bus the program will reach, by our mock.
logind_on_private_bus() {
    system_bus_is_private &&
        [[ $(bus_owner_pid "$DBUS_SYSTEM_BUS_ADDRESS" org.freedesktop.login1) == "${LOGIND_PID:-none}" ]]
}

start_pulse() {
    pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit --use-pid-file=no \
        -L "module-native-protocol-unix socket=$XDG_RUNTIME_DIR/pulse/native auth-anonymous=1" \
        -L "module-null-sink sink_name=test_sink" >"$E2E_TMP/pulse.log" 2>&1 &
    E2E_PIDS+=($!)
    export PULSE_SERVER="unix:$XDG_RUNTIME_DIR/pulse/native"
    wait_until 10 test -S "$XDG_RUNTIME_DIR/pulse/native" || log "pulseaudio did not start"
}

# A systemctl that only writes down what it was asked: the program falls back to systemctl when
# logind refuses, and nothing may ever reach the real one. Its exit code comes from a file.
SYSTEMCTL_LOG=$E2E_TMP/systemctl-calls.log
install_fake_systemctl() {
    cat >"$E2E_TMP/bin/systemctl" <<EOF
#!/bin/sh
echo "\$*" >>"$SYSTEMCTL_LOG"
rc=\$(cat "$E2E_TMP/systemctl.rc" 2>/dev/null || echo 0)
[ "\$rc" = 0 ] || echo "fake systemctl refuses" >&2
exit "\$rc"
EOF
    chmod +x "$E2E_TMP/bin/systemctl"
    echo 0 >"$E2E_TMP/systemctl.rc"
    export PATH="$E2E_TMP/bin:$PATH"
    [[ $(command -v systemctl) == "$E2E_TMP/bin/systemctl" ]] ||
        fail_now "the fake systemctl is not the first in PATH"
}
fake_systemctl_fails() { echo 1 >"$E2E_TMP/systemctl.rc"; }

# The whole desktop. Options: notray (no tray host at first).
start_desktop() {
    install_fake_systemctl
    start_x
    start_wm
    [[ ${1:-} == notray ]] || start_tray
    start_session_bus
    start_system_bus
    start_mock_logind
    start_pulse
}

# ---------------------------------------------------------------------------------------------
# The settings file

conf_write() {  # conf_write key=value ...   — the store before the program starts
    mkdir -p "$(dirname "$CONF")"
    {
        echo "[General]"
        printf '%s\n' "$@"
    } >"$CONF"
}

conf_get() {  # conf_get key   — prints the value; fails when the key is missing
    [[ -f $CONF ]] || return 1
    awk -v key="$1" '
        /^\[/ { general = ($0 == "[General]"); next }
        general && index($0, key "=") == 1 { print substr($0, length(key) + 2); found = 1 }
        END { exit !found }' "$CONF"
}

conf_is() {  # conf_is key value
    local v
    v=$(conf_get "$1") || {
        log "$1 is not in the store"
        return 1
    }
    [[ $v == "$2" ]] || {
        log "$1 = '$v', expected '$2'"
        return 1
    }
}

# ---------------------------------------------------------------------------------------------
# The program

is_tempix() { [[ $(readlink "/proc/$1/exe" 2>/dev/null) == "${2:-$TEMPIX}" ]]; }

# BINARY: another copy of the program (a portable one); FOLDER: its working folder.
start_tempix() {  # start_tempix NAME [BINARY [FOLDER]]   — sets TEMPIX_PID; output in NAME.log
    local name=${1:-tempix} bin dir=${3:-$E2E_TMP}
    bin=$(readlink -f "${2:-$TEMPIX}")
    # env -C: the working folder is ours too, and $! is the program itself after env's exec.
    env -C "$dir" QT_QPA_PLATFORM=xcb "$bin" >"$E2E_TMP/$name.log" 2>&1 &
    TEMPIX_PID=$!
    E2E_APPS+=($TEMPIX_PID)
    # Until the exec the process is a copy of this shell: wait for the program itself.
    wait_until 5 is_tempix "$TEMPIX_PID" "$bin" || fail_now "tempix did not start"
    log "started tempix as $name (pid $TEMPIX_PID)"
}

# ---------------------------------------------------------------------------------------------
# Windows

# The version in the captions is the project's, one edit in CMakeLists.txt.
TEMPIX_VERSION=$(sed -n 's/^project(NodaviaTempix VERSION \([0-9.]*\).*/\1/p' \
    "$(dirname "${BASH_SOURCE[0]}")/../../CMakeLists.txt")
MAIN_TITLE="Nodavia Tempix v$TEMPIX_VERSION"

title_regex() { printf '^%s$' "$(printf '%s' "$1" | sed 's/[][\.*^$()+?{}|]/\\&/g')"; }

find_window() {  # find_window TITLE [PID]   — visible windows with exactly that title
    local ids
    if [[ -n ${2:-} ]]; then
        ids=$(xdotool search --all --onlyvisible --pid "$2" --name "$(title_regex "$1")" 2>/dev/null)
    else
        ids=$(xdotool search --onlyvisible --name "$(title_regex "$1")" 2>/dev/null)
    fi
    [[ -n $ids ]] && printf '%s\n' $ids | head -n1
}

wait_window() {  # wait_window TITLE [SECONDS] [PID]   — prints the window id
    local deadline=$((SECONDS + ${2:-10})) id
    while ((SECONDS <= deadline)); do
        id=$(find_window "$1" "${3:-}") && {
            echo "$id"
            return 0
        }
        sleep 0.1
    done
    return 1
}

wait_no_window() {  # wait_no_window TITLE [SECONDS]
    wait_until "${2:-10}" no_window "$1"
}
no_window() { ! find_window "$1" >/dev/null; }

no_window_of() { ! find_window "$1" "$2" >/dev/null; }  # no_window_of TITLE PID

window_name() { xprop -id "$1" _NET_WM_NAME 2>/dev/null | sed -n 's/^[^"]*"\(.*\)"$/\1/p'; }

# Names of the windows of a process that are mapped now, one a line.
visible_titles() { # visible_titles PID
    local id
    for id in $(xdotool search --all --onlyvisible --pid "$1" --name '' 2>/dev/null); do
        window_name "$id"
    done
}

map_state() { xwininfo -id "$1" 2>/dev/null | awk -F': ' '/Map State/ {print $2}'; }
is_viewable() { [[ $(map_state "$1") == IsViewable ]]; }
window_exists() { xwininfo -id "$1" >/dev/null 2>&1; }
# ICCCM state the window manager keeps: Normal, Iconic, or nothing once withdrawn.
wm_state() { xprop -id "$1" WM_STATE 2>/dev/null | awk '/window state/ {print $3}'; }
wm_state_is() { [[ $(wm_state "$1") == "$2" ]]; }
net_wm_state() { xprop -id "$1" _NET_WM_STATE 2>/dev/null; }
stacking() { xprop -root _NET_CLIENT_LIST_STACKING 2>/dev/null | tr -dc '0-9a-fx ,' ; }
# The window manager's list of managed windows (the taskbar's list).
in_client_list() {
    local want
    want=$(printf '0x%x' "$1")
    xprop -root _NET_CLIENT_LIST 2>/dev/null | tr ',' '\n' | grep -qi "$want\$"
}

activate() { xdotool windowactivate --sync "$1" >/dev/null 2>&1 || xdotool windowfocus "$1"; }
keys() {  # keys WINDOW KEY...   — to the focused window after activating WINDOW
    local win=$1
    shift
    activate "$win"
    xdotool key --clearmodifiers --delay 60 "$@"
}
type_text() {  # type_text WINDOW TEXT
    activate "$1"
    xdotool type --clearmodifiers --delay 60 "$2"
}
click() {  # click WINDOW X Y [BUTTON]   — coordinates inside the window
    xdotool mousemove --window "$1" "$2" "$3" sleep 0.1 click "${4:-1}"
}

shot() {  # shot NAME   — a screenshot of the whole screen into the output folder
    # A nested Wayland shell draws everything into its window on the host X server.
    DISPLAY=${HOST_DISPLAY:-$DISPLAY} import -window root "$OUT/$1.png" 2>/dev/null &&
        log "screenshot $OUT/$1.png"
}

# ---------------------------------------------------------------------------------------------
# The tray

# The program's icon windows inside the tray host: mapped windows of PID with an ancestor
# that belongs to trayer.
tray_icons() {  # tray_icons PID
    local id
    [[ -n ${TRAYER_PID:-} ]] && alive "$TRAYER_PID" || return 0
    for id in $(xdotool search --all --onlyvisible --pid "$1" --name '' 2>/dev/null); do
        inside_trayer "$id" && echo "$id"
    done
}
inside_trayer() {
    local id=$1 parent i
    for ((i = 0; i < 12; i++)); do
        parent=$(xwininfo -tree -id "$id" 2>/dev/null | awk '/Parent window id/ {print $4}')
        [[ -z $parent || $parent == "$(root_id)" ]] && return 1
        [[ $(xprop -id "$parent" _NET_WM_PID 2>/dev/null | awk '{print $3}') == "$TRAYER_PID" ]] &&
            return 0
        id=$parent
    done
    return 1
}
root_id() { xwininfo -root 2>/dev/null | awk '/Window id/ {print $4; exit}'; }
# Icons of every process in the tray host (trayer's sockets that hold a mapped client).
tray_icon_count() {
    local pid n=0
    for pid in "${E2E_APPS[@]}"; do
        alive "$pid" && n=$((n + $(tray_icons "$pid" | wc -l)))
    done
    echo "$n"
}
has_tray_icon() { [[ -n $(tray_icons "$1") ]]; }
no_tray_icon() { ! has_tray_icon "$1"; }

# Mapped pop-up windows of a process (menus: override-redirect, not a tooltip, not the icon).
popup_menu() {  # popup_menu PID   — prints the first one
    local id
    for id in $(xdotool search --all --onlyvisible --pid "$1" --name '' 2>/dev/null); do
        override_redirect "$id" || continue
        window_type "$id" | grep -q TOOLTIP && continue
        inside_trayer "$id" && continue
        echo "$id"
        return 0
    done
    return 1
}
tooltip_window() {  # tooltip_window PID
    local id
    for id in $(xdotool search --all --onlyvisible --pid "$1" --name '' 2>/dev/null); do
        window_type "$id" | grep -q TOOLTIP && {
            echo "$id"
            return 0
        }
    done
    return 1
}
override_redirect() { xwininfo -wm -id "$1" 2>/dev/null | grep -q 'Override Redirect State: yes' ||
    xwininfo -id "$1" 2>/dev/null | grep -q 'Override Redirect State: yes'; }
window_type() { xprop -id "$1" _NET_WM_WINDOW_TYPE 2>/dev/null; }
no_popup_menu() { ! popup_menu "$1" >/dev/null; }

# Opens the tray menu with a left click on the icon and prints the menu's window.
open_tray_menu() {  # open_tray_menu PID
    local icon menu
    icon=$(tray_icons "$1" | head -n1)
    [[ -n $icon ]] || return 1
    click "$icon" 8 8 >/dev/null
    wait_until 5 popup_menu "$1" >/dev/null || return 1
    popup_menu "$1"
}

# Clicks item N (1 = first) of an open pop-up menu of five items.
click_menu_item() {  # click_menu_item MENU N
    local h
    h=$(xwininfo -id "$1" | awk '/Height:/ {print $2}')
    # Items share the height evenly, less a few pixels of frame.
    click "$1" 40 $(((h - 4) * ($2 * 2 - 1) / 10 + 2))
}

# ---------------------------------------------------------------------------------------------
# Stacking, geometry and close requests

# The topmost managed window that is not a dock (the tray host shares the upper layer).
top_window() {
    local id
    for id in $(xprop -root _NET_CLIENT_LIST_STACKING 2>/dev/null | tr -dc '0-9a-fx ,' |
        tr ',' '\n' | tac); do
        window_type "$id" | grep -q DOCK && continue
        printf '%d\n' "$id"
        return 0
    done
    return 1
}
is_top_window() { [[ $(top_window) == "$(($1))" ]]; }

geometry() {  # geometry WINDOW   — "X Y WIDTHxHEIGHT" on the screen
    xwininfo -id "$1" 2>/dev/null | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
        /Width:/ {w=$2} /Height:/ {h=$2} END {print x, y, w "x" h}'
}

has_net_state() { net_wm_state "$1" | grep -q "_NET_WM_STATE_$2"; }  # has_net_state WIN ABOVE

# Asks the window manager to close a window, as a pager or taskbar does (_NET_CLOSE_WINDOW);
# the window manager passes it on as WM_DELETE_WINDOW.
close_request() {  # close_request WINDOW
    /usr/bin/python3 - "$1" <<'PY'
import ctypes, sys
x = ctypes.cdll.LoadLibrary("libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x.XDefaultRootWindow.restype = ctypes.c_ulong
x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x.XInternAtom.restype = ctypes.c_ulong
class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong),
                ("message_type", ctypes.c_ulong), ("format", ctypes.c_int),
                ("data", ctypes.c_long * 5)]
class Event(ctypes.Union):
    _fields_ = [("xclient", ClientMessage), ("pad", ctypes.c_long * 24)]
x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                         ctypes.POINTER(Event)]
x.XFlush.argtypes = [ctypes.c_void_p]
d = x.XOpenDisplay(None)
if not d:
    raise SystemExit(1)
root = x.XDefaultRootWindow(d)
e = Event()
e.xclient.type = 33  # ClientMessage
e.xclient.window = int(sys.argv[1], 0)
e.xclient.message_type = x.XInternAtom(d, b"_NET_CLOSE_WINDOW", 0)
e.xclient.format = 32
e.xclient.data[0] = 0  # now
e.xclient.data[1] = 2  # from a pager
# SubstructureRedirect | SubstructureNotify: to the window manager.
ok = x.XSendEvent(d, root, 0, (1 << 20) | (1 << 19), ctypes.byref(e))
x.XFlush(d)
raise SystemExit(0 if ok else 1)
PY
}

# ---------------------------------------------------------------------------------------------
# Sound

# Records what is played into the null sink: NAME.wav in the temporary folder, copied to the
# output folder when stopped.
start_recording() {  # start_recording NAME   — sets REC_FILE
    REC_FILE=$E2E_TMP/$1.wav
    parec -d test_sink.monitor --file-format=wav --channels=1 --latency-msec=50 "$REC_FILE" \
        >"$E2E_TMP/$1-parec.log" 2>&1 &
    REC_PID=$!
    E2E_PIDS+=($REC_PID)
    wait_until 5 test -s "$REC_FILE" || fail_now "parec did not start recording"
    sleep 0.3  # the stream is connected a moment after the file is made
}
stop_recording() {
    stop_pid "$REC_PID"
    cp "$REC_FILE" "$OUT/" 2>/dev/null
}
sound_stat() { sox "$1" -n stat 2>&1; }  # sound_stat FILE   — sox's figures
rms_amplitude() { sound_stat "$1" | awk '/^RMS +amplitude/ {print $3}'; }
recording_length() { sound_stat "$1" | awk '/^Length/ {print $3}'; }
# Is a number (as sox prints it) above a limit?
above() { awk -v a="$1" -v b="$2" 'BEGIN {exit !(a + 0 > b + 0)}'; }
is_silent() { ! above "$(rms_amplitude "$1")" 0.0005; }  # is_silent FILE
# The rough frequency of what was played, the silence before and after it cut off.
played_frequency() {  # played_frequency FILE
    sox "$1" -n silence 1 0.05 1% reverse silence 1 0.05 1% reverse stat 2>&1 |
        awk '/^Rough +frequency/ {print $3}'
}
# Is a frequency within a tenth of another?
near_frequency() { awk -v a="$1" -v b="$2" 'BEGIN {exit !(a > 0 && b > 0 && a > 0.9 * b && a < 1.1 * b)}'; }

# The real desktop shells (start_shell).
source "$(dirname "${BASH_SOURCE[0]}")/shells.sh"
