# Installs the Debian packages named as arguments that are not installed yet.
# Sourced by ./run and ./test.
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
    $sudo apt-get "${wait[@]}" update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get "${wait[@]}" install -y -qq \
        --no-install-recommends "${missing[@]}" >/dev/null
}

BUILD_PACKAGES=(cmake g++ ninja-build qt6-base-dev qt6-multimedia-dev libgl-dev libxcb1-dev
    qt6-qpa-plugins fonts-dejavu-core fonts-liberation)

# The desktops users run, for the desktop tests on real shells (tests/e2e/shells.sh), and the
# fonts those desktops bring.
SHELL_PACKAGES=(kwin-x11 kwin-wayland qtwayland5 plasma-workspace plasma-desktop breeze
    libkf5globalaccel-bin xfwm4 xfce4-panel lxqt-panel gnome-shell gnome-shell-extension-appindicator
    fonts-noto-core fonts-cantarell)
