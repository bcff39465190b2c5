# A D-Bus notification area (StatusNotifierWatcher and host) on the test's session bus, for
# tests that source harness.sh first. sni_host.py does the talking.

SNI_HOST=$(dirname "${BASH_SOURCE[0]}")/sni_host.py

start_sni_watcher() {  # sets SNI_PID; one line a registration in $E2E_TMP/sni.log
    : >"$E2E_TMP/sni.log"
    /usr/bin/python3 "$SNI_HOST" watch "$E2E_TMP/sni.log" >"$E2E_TMP/sni-host.log" 2>&1 &
    SNI_PID=$!
    E2E_PIDS+=($SNI_PID)
    wait_until 10 sni_watcher_up || fail_now "the StatusNotifierWatcher did not start"
}
sni_watcher_up() {
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner string:org.kde.StatusNotifierWatcher 2>/dev/null |
        grep -q 'boolean true'
}
sni() { /usr/bin/python3 "$SNI_HOST" "$@"; }  # sni tooltip | menu-at X Y | layout | click LABEL
# Has an item of PID's connection registered? (the log names the caller's unique bus name)
sni_registered() {  # sni_registered PID
    local name
    for name in $(awk '{print $2}' "$E2E_TMP/sni.log" 2>/dev/null); do
        [[ $(dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
            org.freedesktop.DBus.GetConnectionUnixProcessID "string:$name" 2>/dev/null |
            awk '/uint32/ {print $2}') == "$1" ]] && return 0
    done
    return 1
}
