# Installs the Debian packages named as arguments that are not installed yet.
# Sourced by ./run and ./test.

# Who holds one of the package system's locks: "LOCK-FILE PROGRAM PID", nothing when all are free.
package_lock_holder() {
    local file inode pid
    for file in /var/lib/dpkg/lock-frontend /var/lib/dpkg/lock /var/lib/apt/lists/lock \
        /var/cache/apt/archives/lock; do
        inode=$(stat -c %i "$file" 2>/dev/null) || continue
        # /proc/locks: "1: POSIX ADVISORY WRITE PID MAJOR:MINOR:INODE START END"; "->" marks waiters.
        pid=$(awk -v inode="$inode" '$2 != "->" { n = split($6, d, ":"); if (d[n] == inode) { print $5; exit } }' \
            /proc/locks 2>/dev/null)
        [ -n "$pid" ] || continue
        echo "$file $(cat "/proc/$pid/comm" 2>/dev/null || echo '?') $pid"
        return 0
    done
}

# Another apt-get or a software centre holding the package lock is waited for (10 minutes at
# most), and the wait is said, with what holds the lock, so a silent pause is not taken for a
# hang.
wait_for_package_lock() {
    local holder waited=0
    while holder=$(package_lock_holder) && [ -n "$holder" ] && [ $waited -lt 600 ]; do
        set -- $holder
        if [ $((waited % 30)) -eq 0 ]; then
            echo "Esperando al bloqueo de paquetes $1, que tiene $2 (pid $3): ${waited} s /" \
                "waiting for the package lock $1, held by $2 (pid $3): ${waited} s"
        fi
        sleep 2
        waited=$((waited + 2))
    done
}

ensure_packages() {
    local missing=()
    local p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Instalando / installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    # Another apt-get holding the package lock is waited for, not a failure.
    local wait=(-o DPkg::Lock::Timeout=600)
    wait_for_package_lock
    $sudo apt-get "${wait[@]}" update -qq
    wait_for_package_lock
    DEBIAN_FRONTEND=noninteractive $sudo apt-get "${wait[@]}" install -y -qq \
        --no-install-recommends "${missing[@]}" >/dev/null
}

# dpkg-dev: dpkg-buildflags gives optimised builds Debian's hardening flags.
BUILD_PACKAGES=(cmake g++ ninja-build dpkg-dev qt6-base-dev qt6-multimedia-dev libgl-dev libxcb1-dev
    qt6-qpa-plugins fonts-dejavu-core fonts-liberation)

# The desktops users run, for the desktop tests on real shells (tests/e2e/shells.sh), and the
# fonts those desktops bring.
SHELL_PACKAGES=(kwin-x11 kwin-wayland qtwayland5 plasma-workspace plasma-desktop breeze
    libkf5globalaccel-bin xfwm4 xfce4-panel lxqt-panel gnome-shell gnome-shell-extension-appindicator
    fonts-noto-core fonts-cantarell)
