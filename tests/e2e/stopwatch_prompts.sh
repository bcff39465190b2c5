# Sourced by test_stopwatch_SHELL.sh with that shell's name: the stopwatch has no taskbar entry,
# nothing offers to minimise it and a minimise does not lose it; a password prompt opened from
# the tray comes above it with the keyboard.
STOPWATCH_SHELL=$1
shift
source "$(dirname "${BASH_SOURCE[0]}")/harness.sh" "$@"
source "$(dirname "${BASH_SOURCE[0]}")/sni.sh"
# openbox: the program's own menu in trayer; the others: the exported menu, as a panel asks.
own_menu() { [[ $STOPWATCH_SHELL == openbox ]]; }
menu_ready() { if own_menu; then has_tray_icon "$TEMPIX_PID"; else sni layout >/dev/null 2>&1; fi; }
tray_entry() {  # tray_entry CAPTION ITEM
    own_menu || { sni click "$1"; return; }
    click_menu_item "$(open_tray_menu "$TEMPIX_PID")" "$2"
}

start_shell "$STOPWATCH_SHELL"
for row in "Cancelar Aviso|3|no" "Configurar Aviso|1|yes"; do  # entry | menu item | minimise
    IFS='|' read -r entry item minimise <<<"$row"
    conf_write "RunAuto=1" "mm=3" "WindowState=1" "BlockPass=636C617665"  # "clave", hidden
    start_tempix "$item"
    wait_until 15 menu_ready || fail_now "no tray menu"
    tray_entry "Ver Cronometro" 2
    S=$(wait_window "Tempix 2019" 5 "$TEMPIX_PID") || fail_now "no stopwatch"
    check "no taskbar entry for the stopwatch" has_net_state "$S" SKIP_TASKBAR
    own_menu || check "nothing offers to minimise the stopwatch" bash -c \
        "! xprop -id $S _NET_WM_ALLOWED_ACTIONS | grep -q MINIMIZE"
    if [[ $minimise == yes ]]; then
        xdotool windowminimize "$S" sleep 1
        check "a minimised stopwatch comes back" wait_until 3 is_viewable "$S"
    fi
    tray_entry "$entry" "$item"
    P=$(wait_window "$MAIN_TITLE" 5 "$TEMPIX_PID") || fail_now "'$entry' opened no prompt"
    check "'$entry': the prompt comes above the stopwatch" wait_until 3 is_top_window "$P"
    check "'$entry': the prompt has the keyboard" wait_until 3 bash -c \
        "[[ \$(xdotool getactivewindow) == $P ]]"
    check "'$entry': the stopwatch stays up" is_viewable "$S"
    shot "$STOPWATCH_SHELL-$item"
    xdotool key --delay 60 c l a v e Return  # no click: the keys go where the keyboard is
    check "'$entry': the password is taken" wait_until 5 bash -c \
        "! xwininfo -id $S 2>/dev/null | grep -q IsViewable"
    stop_pid "$TEMPIX_PID"
done
finish
