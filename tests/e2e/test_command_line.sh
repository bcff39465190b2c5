#!/bin/bash
# What the program answers on its command line: the usage and the version on standard output
# without opening a window (there is no display for them), an unknown option or a stray
# argument refused with the usage on standard error after Qt took its own options, and a start
# without a display said in one Spanish line instead of Qt's abort.
source "$(dirname "$0")/harness.sh" "$@"

run() {  # run NAME [VAR=VALUE...] -- ARGUMENTS...   — NAME.rc, NAME.out, NAME.err
    local name=$1 vars=()
    shift
    while [[ $1 != -- ]]; do
        vars+=("$1")
        shift
    done
    shift
    timeout 20 env -C "$E2E_TMP" "${vars[@]}" "$TEMPIX" "$@" \
        >"$E2E_TMP/$name.out" 2>"$E2E_TMP/$name.err"
    echo $? >"$E2E_TMP/$name.rc"
}
exit_code_is() { [[ $(cat "$E2E_TMP/$1.rc") == "$2" ]] || { log "$1: exit code $(cat "$E2E_TMP/$1.rc")"; false; }; }
empty() { [[ ! -s $E2E_TMP/$1 ]] || { log "$1: $(head -c 300 "$E2E_TMP/$1")"; false; }; }
lines() { wc -l <"$E2E_TMP/$1"; }

# Before any display: the usage and the version. Without a display, opening a window would end
# with exit code 1, so a 0 here also says that none was opened.
usage_first='^Uso: tempix'
while IFS='|' read -r name args expected; do
    run "$name" -- $args
    check "$args: exit code 0" exit_code_is "$name" 0
    check "$args: '$expected' on standard output" grep -qE "$expected" "$E2E_TMP/$name.out"
    check "$args: nothing on standard error" empty "$name.err"
done <<TABLE
help-long|--help|$usage_first
help-short|-h|$usage_first
version-long|--version|^Nodavia Tempix ${TEMPIX_VERSION//./\\.}\$
version-short|-v|^Nodavia Tempix ${TEMPIX_VERSION//./\\.}\$
TABLE
check "the version is one line" test "$(lines version-long.out)" -eq 1
check "the usage names both options" grep -qE -- '-h, --help.*' "$E2E_TMP/help-long.out"
check "... and the version option" grep -qE -- '-v, --version' "$E2E_TMP/help-long.out"

# No display: one Spanish line and exit code 1, whether none is named or the named one is not
# there.
while IFS='|' read -r name display expected; do
    run "$name" "DISPLAY=$display" --
    check "$name: exit code 1" exit_code_is "$name" 1
    check "$name: one line on standard error" test "$(lines "$name.err")" -eq 1
    check "$name: it says '$expected'" grep -qF "$expected" "$E2E_TMP/$name.err"
    sed "s/^/    $name: /" "$E2E_TMP/$name.err"
done <<'TABLE'
no-display||no hay ninguna pantalla (ni DISPLAY ni WAYLAND_DISPLAY)
missing-display|:97531|no puede abrir la pantalla (DISPLAY=:97531)
TABLE

start_desktop
# On a display: Qt takes its own options first; what is left is refused.
while read -r name expected args; do
    run "$name" QT_QPA_PLATFORM=xcb -- $args
    check "$args: exit code 2" exit_code_is "$name" 2
    check "$args: says «$expected»" grep -qF "«$expected»" "$E2E_TMP/$name.err"
    check "$args: the usage on standard error" grep -qE "$usage_first" "$E2E_TMP/$name.err"
    check "$args: nothing on standard output" empty "$name.out"
done <<'TABLE'
unknown-option --bogus --bogus
stray-argument aviso.txt aviso.txt
after-qt-options --bogus -platform xcb -style Fusion -reverse --bogus
TABLE

# Qt's options alone start the program as usual.
env -C "$E2E_TMP" QT_QPA_PLATFORM=xcb "$TEMPIX" -style Fusion -reverse >"$E2E_TMP/qt-options.log" 2>&1 &
TEMPIX_PID=$!
E2E_APPS+=($TEMPIX_PID)
check "with -style Fusion -reverse the main window comes up" \
    quiet wait_window "$MAIN_TITLE" 15 "$TEMPIX_PID"
check "... and the program runs on" alive "$TEMPIX_PID"
stop_pid "$TEMPIX_PID"
finish
