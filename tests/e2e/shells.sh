# The desktops users run, for the desktop tests: sourced by harness.sh.
#
#   start_shell NAME     the whole desktop of that shell, with the harness's private buses, mock
#                        logind, sound server and fake systemctl:
#     openbox      openbox and trayer (what start_desktop gives)
#     kde          KDE Plasma on X11: kwin_x11, kded5 (the StatusNotifierWatcher), kglobalaccel5
#                  (the global shortcuts) and plasmashell (panel, tray, notifications)
#     kde-wayland  KDE Plasma on Wayland: kwin_wayland with XWayland, inside it the same
#     xfce         xfwm4 and xfce4-panel
#     lxqt         openbox and lxqt-panel
#     gnome        GNOME Shell on Wayland, nested, with XWayland and the AppIndicator extension
#     gnome-plain  the same without the extension: no notification area at all
#
# Each sets XDG_CURRENT_DESKTOP (and the session kind) as that desktop's session does, since it
# picks Qt's platform theme. In the Wayland shells DISPLAY names the shell's XWayland server,
# where the program and xdotool run, and HOST_DISPLAY the X server the shell draws into: keys
# for the shell itself go there (host_keys).

SHELL_NAME=openbox
HOST_DISPLAY=

start_shell() {  # start_shell NAME
    SHELL_NAME=$1
    install_fake_systemctl
    start_x
    HOST_DISPLAY=$DISPLAY
    start_session_bus
    start_system_bus
    start_mock_logind
    start_pulse
    case $SHELL_NAME in
    openbox)
        start_wm
        start_tray
        ;;
    kde) start_kde ;;
    kde-wayland) start_kde_wayland ;;
    xfce) start_xfce ;;
    lxqt) start_lxqt ;;
    gnome | gnome-plain) start_gnome ;;
    *) fail_now "no such desktop: $SHELL_NAME" ;;
    esac
    log "desktop $SHELL_NAME up (XDG_CURRENT_DESKTOP=${XDG_CURRENT_DESKTOP:-})"
}

spawn() {  # spawn LOGNAME command...   — a service of the desktop, stopped at the end
    "${@:2}" >"$E2E_TMP/$1.log" 2>&1 &
    E2E_PIDS+=($!)
}

# A StatusNotifierItem host is registered with the watcher: the panel's tray is up.
sni_host_ready() {
    dbus-send --session --print-reply --dest=org.kde.StatusNotifierWatcher \
        /StatusNotifierWatcher org.freedesktop.DBus.Properties.Get \
        string:org.kde.StatusNotifierWatcher string:IsStatusNotifierHostRegistered 2>/dev/null |
        grep -q true
}
bus_has() { dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner "string:$1" 2>/dev/null | grep -q true; }

kde_environment() {
    export XDG_CURRENT_DESKTOP=KDE KDE_SESSION_VERSION=5 KDE_FULL_SESSION=true
    export XDG_SESSION_TYPE=${1:-x11}
    # Notifications, the tray and the panel; no first-run tour.
    mkdir -p "$XDG_CONFIG_HOME"
    printf '[General]\nshowWelcome=false\n' >"$XDG_CONFIG_HOME/plasma-welcomerc"
}

start_kde() {
    kde_environment x11
    spawn kwin kwin_x11 --replace
    wait_until 20 wm_ready || fail_now "kwin_x11 did not start"
    WM_PID=${E2E_PIDS[-1]}
    spawn kded kded5
    spawn kglobalaccel kglobalaccel5
    spawn plasmashell plasmashell --no-respawn
    wait_until 60 sni_host_ready || fail_now "plasmashell's tray did not come up"
    wait_until 20 bus_has org.kde.kglobalaccel || fail_now "kglobalaccel5 did not start"
}

start_kde_wayland() {
    kde_environment wayland
    # This machine refuses to run kwin_wayland with its file capability: a plain copy, mounted
    # over it in a mount namespace of its own, runs.
    cp /usr/bin/kwin_wayland "$E2E_TMP/kwin_wayland_nocap"
    cat >"$E2E_TMP/kde-inside.sh" <<EOF
#!/bin/bash
echo "\$DISPLAY \${XAUTHORITY:-}" >"$E2E_TMP/xwayland.display"
kded5 >"$E2E_TMP/kded.log" 2>&1 &
kglobalaccel5 >"$E2E_TMP/kglobalaccel.log" 2>&1 &
exec plasmashell --no-respawn >"$E2E_TMP/plasmashell.log" 2>&1
EOF
    chmod +x "$E2E_TMP/kde-inside.sh"
    spawn kwin unshare -m bash -c "mount --bind '$E2E_TMP/kwin_wayland_nocap' /usr/bin/kwin_wayland &&
        exec kwin_wayland --x11-display $DISPLAY --width 1280 --height 800 --socket tempix-wl \
            --xwayland --no-lockscreen '$E2E_TMP/kde-inside.sh'"
    WM_PID=${E2E_PIDS[-1]}
    wait_until 60 sni_host_ready || fail_now "plasmashell on kwin_wayland did not come up"
    local display auth
    read -r display auth <"$E2E_TMP/xwayland.display"
    export WAYLAND_DISPLAY=tempix-wl DISPLAY=$display
    [[ -n $auth ]] && export XAUTHORITY=$auth
    wait_until 20 wm_ready || fail_now "kwin's XWayland server $DISPLAY did not answer"
}

start_xfce() {
    export XDG_CURRENT_DESKTOP=XFCE XDG_SESSION_TYPE=x11
    # The panel's own default layout, without its first-run question.
    local conf=$XDG_CONFIG_HOME/xfce4/xfconf/xfce-perchannel-xml
    mkdir -p "$conf"
    cp /etc/xdg/xfce4/panel/default.xml "$conf/xfce4-panel.xml"
    spawn xfwm4 xfwm4 --compositor=off
    wait_until 20 wm_ready || fail_now "xfwm4 did not start"
    WM_PID=${E2E_PIDS[-1]}
    spawn xfce4-panel xfce4-panel
    wait_until 30 sni_host_ready || fail_now "xfce4-panel's tray did not come up"
}

start_lxqt() {
    export XDG_CURRENT_DESKTOP=LXQt XDG_SESSION_TYPE=x11
    start_wm
    # Without /usr/share in the search path the panel finds no plugins and comes up empty.
    spawn lxqt-panel env XDG_CONFIG_DIRS=/etc/xdg:/usr/share lxqt-panel
    wait_until 30 sni_host_ready || fail_now "lxqt-panel's tray did not come up"
}

start_gnome() {
    export XDG_CURRENT_DESKTOP=GNOME XDG_SESSION_TYPE=wayland GSETTINGS_BACKEND=keyfile
    gsettings set org.gnome.shell welcome-dialog-last-shown-version '999'
    if [[ $SHELL_NAME == gnome ]]; then
        gsettings set org.gnome.shell disable-user-extensions false
        gsettings set org.gnome.shell enabled-extensions "['ubuntu-appindicators@ubuntu.com']"
    fi
    spawn gnome-shell env MUTTER_DEBUG_DUMMY_MODE_SPECS=${E2E_SCREEN:-1280x800} gnome-shell --nested --wayland \
        --wayland-display=tempix-wl --sm-disable
    WM_PID=${E2E_PIDS[-1]}
    wait_until 60 grep -qs 'Using public X11 display' "$E2E_TMP/gnome-shell.log" ||
        fail_now "gnome-shell did not start its XWayland server"
    export WAYLAND_DISPLAY=tempix-wl
    export DISPLAY=$(sed -n 's/.*Using public X11 display \(:[0-9]*\).*/\1/p' "$E2E_TMP/gnome-shell.log")
    local auth
    wait_until 20 bash -c "ls '$XDG_RUNTIME_DIR'/.mutter-Xwaylandauth.* >/dev/null 2>&1" ||
        fail_now "no XWayland authority file"
    auth=$(ls "$XDG_RUNTIME_DIR"/.mutter-Xwaylandauth.* | head -n1)
    export XAUTHORITY=$auth
    if [[ $SHELL_NAME == gnome ]]; then
        wait_until 60 sni_host_ready || fail_now "the AppIndicator extension did not come up"
    else
        wait_until 60 bus_has org.gnome.Shell || fail_now "gnome-shell did not come up"
    fi
    # The shell opens its overview at start, as after a login.
    sleep 1
    host_keys Escape
}

host_keys() {  # host_keys KEY...   — keys for a nested shell itself, through its window
    DISPLAY=$HOST_DISPLAY xdotool key --delay 80 "$@"
}
