#!/bin/bash
# The Debian package, built from clean with CMake's default generator (Unix Makefiles) as
# packaging tools build it: its files, its computed dependencies, lintian and AppStream's
# verdicts, and the unpacked program on a test desktop, where it shows its main window and plays
# the alert sound with the player it carries. Nothing is installed into the system.
#
#   test_package.sh BUILD_FOLDER OUTPUT_FOLDER

set -u
BUILD=$(readlink -f "${1:?the build folder}")
SOURCES=$(readlink -f "$(dirname "$0")/../..")
DEB=nodavia-tempix_4.0.55_amd64.deb
# A fixed folder, emptied first: every run builds from clean, and ccache still finds its work.
PACKAGE_BUILD=$BUILD/package-build
rm -rf "$PACKAGE_BUILD"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
export CCACHE_BASEDIR=$SOURCES
{
    cmake -S "$SOURCES" -B "$PACKAGE_BUILD" -G "Unix Makefiles" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX=/usr -DTEMPIX_TESTS=OFF -DTEMPIX_BENCH=OFF "${launcher[@]}" &&
        cmake --build "$PACKAGE_BUILD" -j2 &&
        cmake --build "$PACKAGE_BUILD" --target package
} >"$BUILD/package-build.log" 2>&1 || {
    tail -n 40 "$BUILD/package-build.log"
    echo "FAIL  building the package with Unix Makefiles"
    exit 1
}

source "$SOURCES/tests/e2e/harness.sh" "$PACKAGE_BUILD/src/tempix" "$2"
PKG=$OUT/$DEB
cp "$PACKAGE_BUILD/$DEB" "$PKG" || fail_now "no $DEB was made"
log "$(du -k "$PKG" | cut -f1) KB package"

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
./usr/share/icons/hicolor/48x48/apps/nodavia-tempix.png
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
log "Depends: $depends"
for p in libqt6multimedia6 libqt6widgets6 libc6 qt6-qpa-plugins qt6-translations-l10n; do
    check "it depends on $p" grep -qE "(^|, )$p( |,|$)" <<<"$depends"
done

lintian "$PKG" >"$OUT/lintian.log" 2>&1
sed 's/^/    lintian: /' "$OUT/lintian.log"
check "lintian finds no error" bash -c "! grep -q '^E:' '$OUT/lintian.log'"

ROOT=$E2E_TMP/root
dpkg-deb -x "$PKG" "$ROOT" || fail_now "dpkg-deb -x failed"
for elf in usr/bin/tempix usr/lib/x86_64-linux-gnu/nodavia-tempix/tempix-sound.so; do
    check "$elf is stripped" bash -c "! readelf -S '$ROOT/$elf' | grep -q '\.symtab'"
done
log "installed program: $(du -k "$ROOT/usr/bin/tempix" | cut -f1) KB, with every file of \
the package $(du -sk "$ROOT/usr" | cut -f1) KB"
check "appstreamcli accepts the metainfo" \
    appstreamcli validate --no-net "$ROOT/usr/share/metainfo/es.nodavia.tempix.metainfo.xml"
check "the manual page reads without complaint" bash -c \
    "LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l '$ROOT/usr/share/man/man1/tempix.1.gz' \
    2>&1 >/dev/null | { ! grep .; }"

# ---------------------------------------------------------------------------------------------
# The unpacked program: its main window, then the alert's sound through the player it carries

start_desktop
conf_write "RunAuto=1" "hh=" "mm=" "ss=3" "WindowState=0" "Minimize=1"
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
