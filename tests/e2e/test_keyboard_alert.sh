#!/bin/bash
# A 5-second alert typed with the keyboard: the window hides into the tray, the alert is saved
# (the Options box siempre is on by default) and completes with the alert window.
source "$(dirname "$0")/harness.sh" "$@"

start_desktop

# Each desktop's setting picks Qt's theme, and with it the keys that press a focused check box or
# frame: Enter on "Habilitar" presses "Iniciar Aviso" (a blank alert, refused), in ss it starts.
for setting in XDG_CURRENT_DESKTOP={GNOME,XFCE,KDE,LXQt} DESKTOP_SESSION=xfce; do
    rm -f "$CONF"
    export "$setting"
    start_tempix "${setting#*=}"
    unset XDG_CURRENT_DESKTOP DESKTOP_SESSION
    W=$(wait_window "$MAIN_TITLE" 15) || fail_now "no main window with $setting"
    keys "$W" Tab Return
    check "$setting: Enter on a check box presses 'Iniciar Aviso'" \
        quiet wait_window "Nodavia Tempix" 3
    keys "$(find_window "Nodavia Tempix")" Return  # the refusal puts the focus in ss
    type_text "$W" 5
    keys "$W" Return
    check "$setting: Enter in a time box starts the alert" wait_until 3 bash -c \
        "! xwininfo -id $W | grep -q IsViewable"
    stop_pid "$TEMPIX_PID"
done

rm -f "$CONF"
start_tempix main
W=$(wait_window "$MAIN_TITLE" 15) || fail_now "no main window"
wait_until 10 has_tray_icon "$TEMPIX_PID" || fail_now "no tray icon"

# The focus starts on "Iniciar Aviso"; Tab passes contra and habiltext (Pass and texto are
# disabled) and reaches ss. Enter presses the default button from there.
keys "$W" Tab Tab Tab
type_text "$W" 5
sleep 0.3
shot keyboard-alert-typed
keys "$W" Return
started=$SECONDS

check "the window hides when the alert starts" wait_until 3 bash -c "! xwininfo -id $W | grep -q IsViewable"
check "the hidden window is not left iconified in the taskbar" wait_until 3 bash -c \
    "! xprop -root _NET_CLIENT_LIST | grep -qi $(printf '0x%x' "$W")"
check "no message box (the alert was not refused)" no_window "Nodavia Tempix"
check "the tray icon stays while the alert runs" has_tray_icon "$TEMPIX_PID"

check "the store holds hh (empty)" conf_is hh ""
check "the store holds mm (empty)" conf_is mm ""
check "the store holds ss = 5" conf_is ss 5
check "the store holds an empty BlockPass" conf_is BlockPass ""
check "the store holds an empty TextPerson" conf_is TextPerson ""
mode=$(stat -c %a "$CONF" 2>/dev/null)
check "the store file is readable by the user only (mode $mode)" test "$mode" = 600

A=$(wait_window "Velmora Tempix" 12 "$TEMPIX_PID")
check "the alert window 'Velmora Tempix' is shown at completion" test -n "$A"
elapsed=$((SECONDS - started))
log "completed after about $elapsed s"
check "the alert did not complete early" test "$elapsed" -ge 4
if [[ -n $A ]]; then
    check "the alert window is mapped" is_viewable "$A"
    shot keyboard-alert-completed
fi
# Completion restores the state of a window hidden in the tray; it must stay hidden, not
# come up as an empty frame.
check "the hidden main window stays hidden at completion" no_window_of "$MAIN_TITLE" "$TEMPIX_PID"
check "the program is still running" alive "$TEMPIX_PID"
finish
