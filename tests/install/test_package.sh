#!/bin/bash
# The Debian package, built from clean with CMake's default generator (Unix Makefiles) as
# packaging tools build it: the README's install line after building the program alone, the
# package's files, its computed dependencies, hardening and version, lintian and AppStream's
# verdicts, and the unpacked program on a test desktop, where it shows its main window, plays
# the alert sound with the player it carries and writes its logon entry. Nothing is installed
# into the system.
#
#   test_package.sh BUILD_FOLDER OUTPUT_FOLDER

set -u
BUILD=$(readlink -f "${1:?the build folder}")
SOURCES=$(readlink -f "$(dirname "$0")/../..")
VERSION=$(sed -n 's/^project(NodaviaTempix VERSION \([0-9.]*\).*/\1/p' "$SOURCES/CMakeLists.txt")
DEB=nodavia-tempix_${VERSION}_amd64.deb
# A fixed folder, emptied first: every run builds from clean, and ccache still finds its work.
PACKAGE_BUILD=$BUILD/package-build
rm -rf "$PACKAGE_BUILD"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
export CCACHE_BASEDIR=$SOURCES
# The program alone first, as ./run builds it: the README's install line must work after it.
PREFIX=$(mktemp -d "${TMPDIR:-/tmp}/tempix-prefix.XXXXXX")
{
    cmake -S "$SOURCES" -B "$PACKAGE_BUILD" -G "Unix Makefiles" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX=/usr -DTEMPIX_TESTS=OFF -DTEMPIX_BENCH=OFF "${launcher[@]}" &&
        cmake --build "$PACKAGE_BUILD" -j2 --target tempix &&
        { cmake --install "$PACKAGE_BUILD" --prefix "$PREFIX/local" >"$PREFIX/install.log" 2>&1 ||
            echo "install after building the program alone failed" >"$PREFIX/failed"; } &&
        cmake --build "$PACKAGE_BUILD" --target package
} >"$BUILD/package-build.log" 2>&1 || {
    tail -n 40 "$BUILD/package-build.log"
    echo "FAIL  building the package with Unix Makefiles"
    exit 1
}

source "$SOURCES/tests/e2e/harness.sh" "$PACKAGE_BUILD/src/tempix" "$2"
check "the README's install line works after building only the program" test ! -e "$PREFIX/failed"
[[ -e $PREFIX/failed ]] && tail -n 5 "$PREFIX/install.log" | sed 's/^/    /'
check "... and installs the program, its manual page and its icons" test -x "$PREFIX/local/bin/tempix" \
    -a -s "$PREFIX/local/share/man/man1/tempix.1.gz" \
    -a -s "$PREFIX/local/share/icons/hicolor/256x256/apps/nodavia-tempix.png"
rm -rf "$PREFIX"
PKG=$OUT/$DEB
cp "$PACKAGE_BUILD/$DEB" "$PKG" || fail_now "no $DEB (the project's version $VERSION) was made"
log "$(du -k "$PKG" | cut -f1) KB package"
check "the package's version is the project's ($VERSION)" \
    test "$(dpkg-deb -f "$PKG" Version)" = "$VERSION"

# ---------------------------------------------------------------------------------------------
# What the package holds

files=$(dpkg-deb -c "$PKG" | awk '$1 !~ /^d/ {print $6}' | sort)
expected=$(sort <<'LIST'
./usr/bin/tempix
./usr/lib/x86_64-linux-gnu/nodavia-tempix/tempix-sound.so
./usr/share/applications/nodavia-tempix.desktop
./usr/share/doc/nodavia-tempix/LEAME.rtf
./usr/share/doc/nodavia-tempix/LICENCIA.rtf
./usr/share/doc/nodavia-tempix/changelog.gz
./usr/share/doc/nodavia-tempix/copyright
./usr/share/icons/hicolor/128x128/apps/nodavia-tempix.png
./usr/share/icons/hicolor/16x16/apps/nodavia-tempix.png
./usr/share/icons/hicolor/22x22/apps/nodavia-tempix.png
./usr/share/icons/hicolor/24x24/apps/nodavia-tempix.png
./usr/share/icons/hicolor/256x256/apps/nodavia-tempix.png
./usr/share/icons/hicolor/32x32/apps/nodavia-tempix.png
./usr/share/icons/hicolor/48x48/apps/nodavia-tempix.png
./usr/share/icons/hicolor/64x64/apps/nodavia-tempix.png
./usr/share/icons/hicolor/scalable/apps/nodavia-tempix.svg
./usr/share/man/es/man1/tempix.1.gz
./usr/share/man/man1/tempix.1.gz
./usr/share/metainfo/es.nodavia.tempix.metainfo.xml
./usr/share/nodavia-tempix/LEAME.rtf
./usr/share/nodavia-tempix/LICENCIA.rtf
./usr/share/nodavia-tempix/nodav.wav
./usr/share/nodavia-tempix/tempix_help.html
LIST
)
check "the package holds the program, its player, its files and its documents" \
    test "$files" = "$expected"
[[ $files == "$expected" ]] || diff <(echo "$expected") <(echo "$files") | sed 's/^/    /'

depends=$(dpkg-deb -f "$PKG" Depends)
recommends=$(dpkg-deb -f "$PKG" Recommends)
log "Depends: $depends"
log "Recommends: $recommends"
names() { grep -qE "(^|, )$1( |,|$)" <<<"$2"; }
for p in libqt6multimedia6 libqt6widgets6 libc6 qt6-qpa-plugins; do
    check "it depends on $p" names "$p" "$depends"
done
# 13 MB for the one file of Qt's Spanish texts: without it Qt's buttons speak English.
check "it recommends qt6-translations-l10n" names qt6-translations-l10n "$recommends"
check "... and does not require it" bash -c "! grep -q qt6-translations-l10n <<<'$depends'"

lintian -I --pedantic "$PKG" >"$OUT/lintian.log" 2>&1
sed 's/^/    lintian: /' "$OUT/lintian.log"
check "lintian finds no error or warning" bash -c "! grep -qE '^(E|W):' '$OUT/lintian.log'"
for tag in hardening- binary-has-unneeded-section; do
    check "lintian does not say $tag" bash -c "! grep -q ' $tag' '$OUT/lintian.log'"
done

ROOT=$E2E_TMP/root
dpkg-deb -x "$PKG" "$ROOT" || fail_now "dpkg-deb -x failed"
for elf in usr/bin/tempix usr/lib/x86_64-linux-gnu/nodavia-tempix/tempix-sound.so; do
    check "$elf is stripped" bash -c "! readelf -S '$ROOT/$elf' | grep -q '\.symtab'"
    # Debian's hardening, as hardening-check reads it: a strong stack protector, fortified
    # calls, read-only relocations bound at start.
    check "$elf: stack protector" bash -c "readelf --dyn-syms -W '$ROOT/$elf' | grep -q ' __stack_chk_fail'"
    check "$elf: fortified calls" bash -c "readelf --dyn-syms -W '$ROOT/$elf' | grep -qE ' __[a-z_]+_chk(@| |$)'"
    check "$elf: read-only relocations" bash -c "readelf -lW '$ROOT/$elf' | grep -q GNU_RELRO"
    check "$elf: immediate binding" bash -c "readelf -dW '$ROOT/$elf' | grep -qE 'BIND_NOW|FLAGS.*NOW'"
done
dynamic=$(readelf -dW "$ROOT/usr/bin/tempix")
check "the program is position-independent" grep -qE 'FLAGS_1.*PIE' <<<"$dynamic"
check "the program has no run-time search path" bash -c "! grep -qE 'RPATH|RUNPATH' <<<'$dynamic'"
# The icons are the sizes their folders say.
for icon in "$ROOT"/usr/share/icons/hicolor/*x*/apps/nodavia-tempix.png; do
    size=$(basename "$(dirname "$(dirname "$icon")")")
    check "the $size icon is $size pixels" test "$(identify -format '%wx%h' "$icon")" = "$size"
done
log "installed program: $(du -k "$ROOT/usr/bin/tempix" | cut -f1) KB, with every file of \
the package $(du -sk "$ROOT/usr" | cut -f1) KB"
METAINFO=$ROOT/usr/share/metainfo/es.nodavia.tempix.metainfo.xml
appstreamcli validate --pedantic --no-net "$METAINFO" >"$OUT/appstream.log" 2>&1
check "appstreamcli accepts the metainfo, even pedantically" \
    bash -c "! grep -qE '^[EWIP]:' '$OUT/appstream.log'"
sed 's/^/    appstreamcli: /' "$OUT/appstream.log"
check "desktop-file-validate accepts the menu entry" bash -c \
    "desktop-file-validate '$ROOT/usr/share/applications/nodavia-tempix.desktop' 2>&1 | { ! grep .; }"
# A software centre finds it by a search word in either language, on an English and on a
# Spanish desktop. appstreamcli reads the system's metainfo folder: in a mount namespace of its
# own the package's folder stands in that place, and the system's stays as it is.
mkdir -p "$E2E_TMP/as-cache"
found_by() {  # found_by LOCALE WORD
    rm -rf "$E2E_TMP/as-cache"/*
    LANG=$1 LC_ALL=$1 unshare -m sh -c 'mount --bind "$0" /usr/share/metainfo &&
        appstreamcli search --no-cache --cachepath "$1" "$2"' \
        "$ROOT/usr/share/metainfo" "$E2E_TMP/as-cache" "$2" 2>&1 | grep -q 'es\.nodavia\.tempix'
}
for locale in C.UTF-8 es_ES.UTF-8; do
    for word in temporizador alarma "apagar equipo" timer shutdown alarm; do
        check "appstreamcli search '$word' finds it ($locale)" found_by "$locale" "$word"
    done
done

# The manual page: this version in its header, and every option the program's usage names.
MAN_TEXT=$(LC_ALL=C.UTF-8 MANWIDTH=200 man -l "$ROOT/usr/share/man/man1/tempix.1.gz" 2>/dev/null)
check "the manual page reads without complaint" bash -c \
    "LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l '$ROOT/usr/share/man/man1/tempix.1.gz' \
    2>&1 >/dev/null | { ! grep .; }"
check "its header names version $VERSION" grep -qF "Nodavia Tempix $VERSION" <<<"$MAN_TEXT"
for option in $("$ROOT/usr/bin/tempix" --help | grep -oE -- '(^| )--?[a-z]+' | sort -u); do
    check "it documents $option" grep -qE -- "(^|[ ,])$option([ ,]|$)" <<<"$MAN_TEXT"
done

# The package is not made when the change log or the AppStream releases do not name its
# version: the check CPack runs, on copies that a version bump left behind.
mkdir -p "$E2E_TMP/bumped"
cp "$SOURCES/packaging/changelog" "$SOURCES/packaging/es.nodavia.tempix.metainfo.xml" "$E2E_TMP/bumped/"
version_check() {  # version_check VERSION   — its output in version-check.log
    cmake -DCPACK_PACKAGE_VERSION="$1" -DCPACK_TEMPIX_PACKAGING_DIR="$E2E_TMP/bumped" \
        -P "$SOURCES/packaging/check-versions.cmake" >"$E2E_TMP/version-check.log" 2>&1
}
fails() { ! "$@"; }
said() { grep -qF -- "$1" "$E2E_TMP/version-check.log"; }
check "the version check passes the project's version" version_check "$VERSION"
check "a bumped version stops it" fails version_check 99.1.2
check "... naming the change log" said "packaging/changelog: la entrada más reciente es la $VERSION"
check "... and the metainfo" said '<release version="99.1.2">'
sed -i "1s/($VERSION)/(99.1.2)/" "$E2E_TMP/bumped/changelog"
check "with the change log written, it still stops" fails version_check 99.1.2
check "... naming only the metainfo" fails said "packaging/changelog"
sed -n '/^CMake Error/,$p' "$E2E_TMP/version-check.log" | sed 's/^/    /'

# ---------------------------------------------------------------------------------------------
# The unpacked program: its main window, then the alert's sound through the player it carries

start_desktop
# RunWin: the Options window, loaded when the alert starts, writes the logon entry.
conf_write "RunAuto=1" "hh=" "mm=" "ss=3" "WindowState=0" "Minimize=1" "RunWin=1"
start_recording package-sound
start_tempix package "$ROOT/usr/bin/tempix"
check "the unpacked program maps its main window" \
    quiet wait_window "$MAIN_TITLE" 15 "$TEMPIX_PID"
shot package-main-window
check "its alert completes with the alert window" \
    quiet wait_window "Velmora Tempix" 10 "$TEMPIX_PID"
sleep 4
stop_recording
check "the alert's sound was played" above "$(rms_amplitude "$REC_FILE")" 0.02
check "the sound is the package's nodav.wav (its tone)" near_frequency \
    "$(played_frequency "$REC_FILE")" "$(played_frequency "$ROOT/usr/share/nodavia-tempix/nodav.wav")"
maps=$(cat "/proc/$TEMPIX_PID/maps")
check "the player is the package's module" \
    grep -qF "$ROOT/usr/lib/x86_64-linux-gnu/nodavia-tempix/tempix-sound.so" <<<"$maps"
# No GStreamer plugin package is declared because none is used to play the alert.
check "no GStreamer library was needed to play it" bash -c "! grep -q libgst <<<'$maps'"
stop_pid "$TEMPIX_PID"

# The logon entry the unpacked program wrote: it names the program in Exec and TryExec, with
# the package's icon, and GLib's reading of it (GNOME's and Xfce's sessions start entries so)
# takes it while the program is there and skips it once the program is gone.
ENTRY=$XDG_CONFIG_HOME/autostart/nodavia-tempix.desktop
sed 's/^/    logon entry: /' "$ENTRY"
for key in "Exec=$ROOT/usr/bin/tempix" "TryExec=$ROOT/usr/bin/tempix" "Icon=nodavia-tempix"; do
    check "the logon entry has $key" grep -qxF "$key" "$ENTRY"
done
check "desktop-file-validate accepts it" bash -c "desktop-file-validate '$ENTRY' 2>&1 | { ! grep .; }"
check "the icon it names is in the package" test -s "$ROOT/usr/share/icons/hicolor/48x48/apps/nodavia-tempix.png"
glib_takes() {
    /usr/bin/python3 -c 'import sys, gi
gi.require_version("Gio", "2.0")
from gi.repository import Gio
sys.exit(0 if Gio.DesktopAppInfo.new_from_filename(sys.argv[1]) else 1)' "$1"
}
check "GLib takes the entry while the program is there" glib_takes "$ENTRY"
mv "$ROOT/usr/bin/tempix" "$ROOT/usr/bin/tempix.away"
check "GLib skips it once the program is gone" fails glib_takes "$ENTRY"
mv "$ROOT/usr/bin/tempix.away" "$ROOT/usr/bin/tempix"

# Without a sound server, then without its player, the alert still comes up, silent, and the
# program says why.
silent_alert() {  # silent_alert NAME REASON
    conf_write "RunAuto=1" "hh=" "mm=" "ss=1" "WindowState=1"
    start_tempix "$1" "$ROOT/usr/bin/tempix"
    check "$1: the alert window still comes up" \
        quiet wait_window "Velmora Tempix" 10 "$TEMPIX_PID"
    check "$1: the program says it cannot play the sound" wait_until 3 \
        grep -q "no se puede reproducir el sonido del aviso: $2" "$E2E_TMP/$1.log"
    sed "s/^/    $1: /" "$E2E_TMP/$1.log"
    stop_pid "$TEMPIX_PID"
}
server=$PULSE_SERVER
export PULSE_SERVER=unix:$E2E_TMP/no-such-server
silent_alert no-sound-server "no hay ninguna salida de audio"
export PULSE_SERVER=$server
rm "$ROOT/usr/lib/x86_64-linux-gnu/nodavia-tempix/tempix-sound.so"
silent_alert no-player "no se puede cargar el módulo de sonido"
finish
