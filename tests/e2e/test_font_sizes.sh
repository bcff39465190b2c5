#!/bin/bash
# Every window at the application font sizes of the usual desktops (9 pt, Plasma's 10 pt,
# GNOME's 11 pt, 12 pt, and 11 pt scaled twice), set through qt6ct as a desktop sets it: no label, check box, option
# button, button, tab, frame or menu title is drawn narrower than its text needs. The program's
# own check (TEMPIX_FIT_CHECK) measures each window as shown; the windows are opened through
# the accessibility bus, as a screen reader would. Screenshots of each window at 11 pt.
source "$(dirname "$0")/harness.sh" "$@"
source "$(dirname "$0")/accessibility.sh"

start_a11y_desktop
export QT_QPA_PLATFORMTHEME=qt6ct TEMPIX_FIT_CHECK=1
mkdir -p "$XDG_CONFIG_HOME/qt6ct"

act() { a11y_tree "$TEMPIX_PID" "$@" >>"$E2E_TMP/a11y-steps.log" 2>&1; }
# A screenshot of the window that has just come up (or of the whole screen), at 11 pt only.
window_shot() {  # window_shot NAME [root]
    sleep 0.7
    [[ $font == 11 ]] || return 0
    import -window "${2:-$(xdotool getactivewindow)}" "$OUT/$1-11pt.png" 2>/dev/null &&
        log "screenshot $OUT/$1-11pt.png"
}
checked() { grep -q "tempix-fit: checked $1 " "$E2E_TMP/$run.log"; }

# 11x2: 11 pt with QT_SCALE_FACTOR=2, as on a screen with twice the pixels.
for font in 9 10 11 12 11x2; do
    size=${font%x*}
    export QT_SCALE_FACTOR=1
    [[ $font == *x* ]] && export QT_SCALE_FACTOR=${font#*x}
    printf '[Fonts]\ngeneral="Sans Serif,%s,-1,5,400,0,0,0,0,0,0,0,0,0,0,1"\n' "$size" \
        >"$XDG_CONFIG_HOME/qt6ct/qt6ct.conf"
    rm -f "$CONF"

    # The main window and the windows its menus and buttons open; then a protected alert with
    # its stopwatch, the prompts of "Cancelar Aviso" and "Configurar Aviso", and the alert
    # window.
    run=windows-${font}pt
    start_tempix "$run"
    wait_window "$MAIN_TITLE" 15 >/dev/null || fail_now "no main window at $font pt"
    wait_until 10 bash -c "$(declare -f a11y_tree); a11y_tree $TEMPIX_PID 2>/dev/null | grep -q Reiniciar" ||
        fail_now "the program is not on the accessibility bus"
    window_shot main
    act Opciones "page tab/Inicio del Aviso"
    window_shot options-start
    act "page tab/Al Finalizar Aviso"
    window_shot options-end
    act "page tab/Guardar"
    window_shot options-save
    act "Tempix Portable"
    window_shot portable
    act "Acerca de Tempix"
    window_shot about
    act "push button/Calcular"
    window_shot target-time
    act "Habilitar: Proteger aviso mediante contraseña" "Contraseña del aviso=clave" \
        "Segundos=5" "Iniciar Aviso" "Ver Cronometro"
    window_shot stopwatch
    act "Cancelar Aviso"
    window_shot prompt-cancel
    act "Configurar Aviso"
    window_shot prompt-configure
    wait_until 15 bash -c "grep -q 'tempix-fit: checked Form3 ' '$E2E_TMP/$run.log'"
    window_shot alert root  # below the prompts
    stop_pid "$TEMPIX_PID"

    # The screen lock of a protected alert.
    run=lock-${font}pt
    conf_write "RunAuto=1" "hh=" "mm=" "ss=0" "WindowState=1" "BlockPass=636C617665" "StopSys=1"
    start_tempix "$run"
    wait_until 15 bash -c "grep -q 'tempix-fit: checked Form10 ' '$E2E_TMP/$run.log'"
    window_shot lock
    stop_pid "$TEMPIX_PID"

    for window in Form1 Form7 Form8 Form5 Form11 Form2 Form9 Form3 Form4; do
        run=windows-${font}pt check "$font pt: $window was shown and measured" checked "$window"
    done
    run=lock-${font}pt check "$font pt: the lock was shown and measured" checked Form10
    narrow=$(grep -h 'tempix-fit: narrow' "$E2E_TMP/windows-${font}pt.log" "$E2E_TMP/lock-${font}pt.log" | sort -u)
    [[ -z $narrow ]] || printf '  %s\n' "$narrow"
    check "$font pt: no caption narrower than its text" test -z "$narrow"
done
finish
