#!/bin/bash
# The icon on a real desktop's panel while an alert counts with the main window in the tray: the
# time left can be read where that panel shows it (LXQt's tooltip, the label beside the icon on
# GNOME, whose panel shows no tooltips), and a click on the icon opens a menu whose first entry,
# "Configurar Aviso", brings the main window back.
desk=$1
shift
source "$(dirname "$0")/harness.sh" "$@"

start_shell "$desk"
conf_write WindowState=1 RunAuto=1 mm=30
start_tempix "$desk"
sleep 4
# Where each panel puts the icon on the 1280x800 screen, the button whose click opens the menu
# from it (the panel's own drawn from the exported menu, or the program's), and the display the
# panel takes keys on.
case $desk in
kde) x=1057 y=774 button=3 keys=$DISPLAY ;;
gnome) x=1116 y=15 button=1 keys=$HOST_DISPLAY ;;
lxqt) x=1135 y=784 button=1 keys=$DISPLAY ;;
esac

counting() { [[ $1 =~ ^00:29:[0-5][0-9]$ ]]; }
program_bus_name() {
    local name
    for name in $(dbus-send --session --print-reply --dest=org.freedesktop.DBus \
        /org/freedesktop/DBus org.freedesktop.DBus.ListNames | grep -o '":[0-9.]*"' | tr -d '"'); do
        [[ $(bus_owner_pid "$DBUS_SESSION_BUS_ADDRESS" "$name") == "$TEMPIX_PID" ]] && echo "$name"
    done
}
item_label() {
    dbus-send --session --print-reply --dest="$(program_bus_name | head -n1)" /StatusNotifierItem \
        org.freedesktop.DBus.Properties.Get string:org.kde.StatusNotifierItem \
        string:XAyatanaLabel 2>/dev/null | awk -F'"' '/string/ { print $2 }'
}
case $desk in
gnome) check "the label beside the icon shows the time left" counting "$(item_label)" ;;
lxqt)
    DISPLAY=$keys xdotool mousemove $((x - 5)) $((y - 4)) sleep 0.3 mousemove "$x" "$y"
    check "hovering the icon shows the panel's tooltip while counting" \
        wait_until 5 quiet tooltip_window "$(pgrep -n -x lxqt-panel)"
    ;;
esac
shot "$desk-counting"

DISPLAY=$keys xdotool mousemove "$x" "$y" click "$button"
sleep 1.5
shot "$desk-menu"
DISPLAY=$keys xdotool key --delay 150 Down Return
check "'Configurar Aviso' from the icon's menu shows the main window" \
    quiet wait_window "$MAIN_TITLE" 5 "$TEMPIX_PID"
finish
