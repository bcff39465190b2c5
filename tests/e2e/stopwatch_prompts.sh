# The stopwatch and the password prompts on a real desktop shell, for test_stopwatch_*.sh:
#
#   source stopwatch_prompts.sh SHELL BINARY OUTPUT
#
# The stopwatch has no taskbar entry and nothing offers to minimise it, and a minimise that
# happens anyway does not lose it. A password prompt opened from the tray while the stopwatch
# is up comes above it with the keyboard, and Enter there presses "Aceptar".
STOPWATCH_SHELL=$1
shift
source "$(dirname "${BASH_SOURCE[0]}")/harness.sh" "$@"
source "$(dirname "${BASH_SOURCE[0]}")/sni.sh"

# The tray menu's entry: from the program's own menu in trayer, or asked of the exported menu
# as a panel does.
tray_menu_ready() { if [[ $STOPWATCH_SHELL == openbox ]]; then has_tray_icon "$TEMPIX_PID"; else sni layout >/dev/null 2>&1; fi; }
tray_entry() {  # tray_entry CAPTION
    local items=("Configurar Aviso" "Ver Cronometro" "Cancelar Aviso") i menu
    [[ $STOPWATCH_SHELL == openbox ]] || {
        sni click "$1"
        return
    }
    for i in 0 1 2; do [[ ${items[i]} == "$1" ]] && break; done
    menu=$(open_tray_menu "$TEMPIX_PID") && click_menu_item "$menu" $((i + 1))
}
is_active() { [[ $(xdotool getactivewindow 2>/dev/null) == "$(($1))" ]]; }
gone() { ! is_viewable "$1"; }

start_shell "$STOPWATCH_SHELL"
# tray menu entry that asks for the password | is the stopwatch minimised before
for row in "Cancelar Aviso|no" "Configurar Aviso|yes"; do
    entry=${row%|*}
    # A protected 3-minute alert running hidden in the tray; 636C617665 is "clave" encoded.
    conf_write "RunAuto=1" "mm=3" "WindowState=1" "BlockPass=636C617665"
    start_tempix "${entry%% *}"
    wait_until 15 tray_menu_ready || fail_now "no tray icon"
    tray_entry "Ver Cronometro"
    S=$(wait_window "Tempix 2019" 5 "$TEMPIX_PID") || fail_now "no stopwatch"
    check "the stopwatch has no taskbar entry" has_net_state "$S" SKIP_TASKBAR
    # openbox offers it for every window.
    [[ $STOPWATCH_SHELL == openbox ]] || check "nothing offers to minimise the stopwatch" bash -c \
        "! xprop -id $S _NET_WM_ALLOWED_ACTIONS | grep -q MINIMIZE"
    if [[ ${row#*|} == yes ]]; then
        xdotool windowminimize "$S"
        sleep 1
        check "a minimised stopwatch comes back" wait_until 3 is_viewable "$S"
    fi

    tray_entry "$entry"
    P=$(wait_window "$MAIN_TITLE" 5 "$TEMPIX_PID") || fail_now "'$entry' opened no prompt"
    check "'$entry': the prompt comes above the stopwatch" wait_until 3 is_top_window "$P"
    check "'$entry': the prompt has the keyboard" wait_until 3 is_active "$P"
    check "'$entry': the stopwatch stays up" is_viewable "$S"
    shot "$STOPWATCH_SHELL-${entry%% *}"
    # Typed without a click: the keys go wherever the keyboard is.
    xdotool type --delay 60 clave
    xdotool key Return
    check "'$entry': the password is taken and the stopwatch closes" wait_until 5 gone "$S"
    stop_pid "$TEMPIX_PID"
done
finish
