#!/bin/bash
# Installing into a prefix of its own: the program, its files, the desktop entry and the icons
# land where the desktop and the program look for them, and the installed program, started
# from there in a real X server, opens the help of that prefix.
#
#   test_portable.sh BUILD_FOLDER OUTPUT_FOLDER

set -u
BUILD=$(readlink -f "${1:?the build folder}")
SOURCES=$(readlink -f "$(dirname "$0")/../..")
STAGE=$(mktemp -d "${TMPDIR:-/tmp}/tempix-install.XXXXXX")
PREFIX=$STAGE/prefix
DATA=$PREFIX/share/nodavia-tempix

cmake --install "$BUILD" --prefix "$PREFIX" >"$STAGE/install.log" 2>&1 || {
    cat "$STAGE/install.log"
    echo "FAIL  cmake --install into $PREFIX"
    rm -rf "$STAGE"
    exit 1
}

source "$SOURCES/tests/e2e/harness.sh" "$PREFIX/bin/tempix" "$2"
trap 'rc=$?; rm -rf "$STAGE"; (exit $rc); cleanup' EXIT
cp "$STAGE/install.log" "$OUT/"

configured=$(sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p' "$BUILD/CMakeCache.txt")
log "installed into $PREFIX (the build was configured for $configured)"
check "the prefix is not the configured one" test "$PREFIX" != "$configured"

# ---------------------------------------------------------------------------------------------
# Where the files are

check "the program is bin/tempix and can be run" test -x "$PREFIX/bin/tempix"
# A sound beside the program would make bin/ its folder instead of the data folder.
check "bin/ holds the program alone" test "$(ls "$PREFIX/bin")" = tempix
for f in nodav.wav LEAME.rtf LICENCIA.rtf tempix_help.html; do
    check "share/nodavia-tempix/$f is the one of the sources" \
        cmp -s "$SOURCES/resources/files/$f" "$DATA/$f"
done

entry=$PREFIX/share/applications/nodavia-tempix.desktop
check "the desktop entry is installed" test -f "$entry"
check "desktop-file-validate accepts it" desktop-file-validate "$entry"
for line in 'Type=Application' 'Name=Nodavia Tempix' 'GenericName=Programador de Avisos' \
    'Exec=tempix' 'Icon=nodavia-tempix' 'Categories=Utility;Clock;'; do
    check "the entry says $line" grep -qxF "$line" "$entry"
done
check "the entry has a comment" grep -q '^Comment=..' "$entry"

icons=$PREFIX/share/icons/hicolor
check "the scalable icon is an SVG" \
    grep -q '<svg' "$icons/scalable/apps/nodavia-tempix.svg"
check "the 48x48 icon is a 48x48 PNG" \
    test "$(identify -format '%m %wx%h' "$icons/48x48/apps/nodavia-tempix.png" 2>/dev/null)" = \
    "PNG 48x48"

# ---------------------------------------------------------------------------------------------
# The installed program finds its own files

start_desktop
# The help opens through xdg-open: ours only writes down what it was asked to open.
OPENED=$E2E_TMP/opened.log
cat >"$E2E_TMP/bin/xdg-open" <<X
#!/bin/sh
echo "\$*" >>"$OPENED"
X
chmod +x "$E2E_TMP/bin/xdg-open"
[[ $(command -v xdg-open) == "$E2E_TMP/bin/xdg-open" ]] || fail_now "our xdg-open is not the first in PATH"

start_tempix installed
win=$(wait_window "$MAIN_TITLE" 10) || fail_now "the installed program shows no main window"
sleep 2
check "the installed program is still running after 2 s" alive "$TEMPIX_PID"
shot installed-main-window

# "Información" is the third menu, "Temas de Ayuda" its first item.
keys "$win" alt
sleep 0.3
keys "$win" Right Right Down Return
check "the help command opened something" wait_until 5 test -s "$OPENED"
log "opened: $(cat "$OPENED" 2>/dev/null)"
check "it is the help page of this prefix" \
    grep -qxF "file://$DATA/tempix_help.html" "$OPENED"
check "the program is still running" alive "$TEMPIX_PID"

finish
