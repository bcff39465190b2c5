#!/bin/bash
# Every window in the fonts and sizes users have (Noto Sans, Plasma's and the sans-serif match,
# at 9 pt, Plasma's 10 pt, GNOME's 11 pt, 12 pt, and 11 pt scaled twice; DejaVu Sans; GNOME's
# Cantarell), set through qt6ct as a desktop sets it: no label, check box, option button,
# button, tab, frame or menu title is drawn narrower than its text needs. The program's own
# check (TEMPIX_FIT_CHECK) measures each window as shown; the windows are opened through the
# accessibility bus, as a screen reader would. Screenshots of each window at 11 pt Noto Sans.
# FONTS="FAMILY,SIZE[,SCALE] ..." (a family's blanks as "_") checks others.
source "$(dirname "$0")/harness.sh" "$@"
source "$(dirname "$0")/accessibility.sh"

# Twice the pixels of a 1280x800 screen, so the doubled row has the room such a screen gives.
export E2E_SCREEN=${E2E_SCREEN:-2560x1600}
start_a11y_desktop
export QT_QPA_PLATFORMTHEME=qt6ct TEMPIX_FIT_CHECK=1
mkdir -p "$XDG_CONFIG_HOME/qt6ct"

# Steps only: walking the whole tree after each would take most of the test's time.
act() { A11Y_WALK=0 a11y_tree "$TEMPIX_PID" "$@" >>"$E2E_TMP/a11y-steps.log" 2>&1; }
# A screenshot of the window that has just come up (or of the whole screen), at 11 pt only.
window_shot() {  # window_shot NAME [root]
    [[ $font == Noto_Sans,11 ]] || return 0
    sleep 0.7
    import -window "${2:-$(xdotool getactivewindow)}" "$OUT/$1-11pt.png" 2>/dev/null &&
        log "screenshot $OUT/$1-11pt.png"
}
checked() { grep -q "tempix-fit: checked $1 " "$E2E_TMP/$run.log"; }

# Noto_Sans,11,2: 11 pt with QT_SCALE_FACTOR=2, as on a screen with twice the pixels.
for font in ${FONTS:-Noto_Sans,9 Noto_Sans,10 Noto_Sans,11 Noto_Sans,12 Noto_Sans,11,2 \
    DejaVu_Sans,10 Cantarell,11}; do
    IFS=, read -r family size scale <<<"$font"
    export QT_SCALE_FACTOR=${scale:-1}
    printf '[Fonts]\ngeneral="%s,%s,-1,5,400,0,0,0,0,0,0,0,0,0,0,1"\n' "${family//_/ }" "$size" \
        >"$XDG_CONFIG_HOME/qt6ct/qt6ct.conf"
    rm -f "$CONF"

    # The main window and the windows its menus and buttons open; then a protected alert with
    # its stopwatch, the prompts of "Cancelar Aviso" and "Configurar Aviso", and the alert
    # window.
    run=windows-$font
    start_tempix "$run"
    wait_window "$MAIN_TITLE" 15 >/dev/null || fail_now "no main window at $font"
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
    run=lock-$font
    conf_write "RunAuto=1" "hh=" "mm=" "ss=0" "WindowState=1" "BlockPass=636C617665" "StopSys=1"
    start_tempix "$run"
    wait_until 15 bash -c "grep -q 'tempix-fit: checked Form10 ' '$E2E_TMP/$run.log'"
    window_shot lock
    stop_pid "$TEMPIX_PID"

    for window in Form1 Form7 Form8 Form5 Form11 Form2 Form9 Form3 Form4; do
        run=windows-$font check "$font: $window was shown and measured" checked "$window"
    done
    run=lock-$font check "$font: the lock was shown and measured" checked Form10
    narrow=$(grep -h 'tempix-fit: narrow' "$E2E_TMP/windows-$font.log" "$E2E_TMP/lock-$font.log" | sort -u)
    [[ -z $narrow ]] || printf '  %s\n' "$narrow"
    check "$font: no caption narrower than its text" test -z "$narrow"
done
finish
