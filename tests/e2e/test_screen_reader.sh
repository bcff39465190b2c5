#!/bin/bash
# What a screen reader reads of the main window through the accessibility bus: every control
# with a name and role of its own, and "Apagar" / "Reiniciar" as radio buttons that the
# "Habilitar" box of their frame still deselects.
source "$(dirname "$0")/harness.sh" "$@"
source "$(dirname "$0")/accessibility.sh"

start_a11y_desktop
start_tempix main
W=$(wait_window "$MAIN_TITLE" 15) || fail_now "no main window"

tree() { a11y_tree "$TEMPIX_PID" "$@" 2>"$E2E_TMP/pyatspi.log"; }
wait_until 10 bash -c "$(declare -f a11y_tree); a11y_tree $TEMPIX_PID 2>/dev/null | grep -q Reiniciar" ||
    fail_now "the main window's controls are not on the accessibility bus"
tree >"$E2E_TMP/tree.log"
cp "$E2E_TMP/tree.log" "$OUT/tree.txt"
# has ROLE NAME: an object with exactly that role and name.
has() {
    sed "s/^ *//" "$E2E_TMP/tree.log" | awk -F'|' -v r="$1" -v n="$2" \
        '$1 == r && $2 == n {found = 1} END {exit !found}' || { log "not in the tree: $1 '$2'"; return 1; }
}

check "the hours box is 'Horas'" has text Horas
check "the minutes box is 'Minutos'" has text Minutos
check "the seconds box is 'Segundos'" has text Segundos
check "the password box is 'Contraseña del aviso'" has "password text" "Contraseña del aviso"
check "the text box is 'Texto del aviso'" has text "Texto del aviso"
for frame in "Proteger aviso mediante contraseña" "Personalizar texto del aviso" \
    "Apagar equipo (WinXP o Superior)."; do
    check "a 'Habilitar' box names its frame: $frame" has "check box" "Habilitar: $frame"
done
check "'Apagar' is a radio button" has "radio button" Apagar
check "'Reiniciar' is a radio button" has "radio button" Reiniciar
nameless=$(grep -E '^ *(text|password text|check box|radio button|push button|combo box)\|\|' "$E2E_TMP/tree.log")
check "no control without a name" test -z "$nameless"

# Through the screen reader: enable the frame, choose "Reiniciar", then disable the frame.
tree "Habilitar: Apagar equipo (WinXP o Superior)." "Reiniciar" >"$E2E_TMP/chosen.log"
check "'Reiniciar' chosen through the accessibility bus" \
    grep -qE '^ *radio button\|Reiniciar\|checked' "$E2E_TMP/chosen.log"
tree "Habilitar: Apagar equipo (WinXP o Superior)." >"$E2E_TMP/cleared.log"
check "disabling the frame deselects both radio buttons" \
    bash -c "! grep -qE '^ *radio button\|.*checked' '$E2E_TMP/cleared.log'"
shot screen-reader
finish
