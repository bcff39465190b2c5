#!/bin/sh
# Makes the program's two sounds with sox: the alert chime (installed beside the program as
# nodav.wav) and the default sound compiled in for when that file is missing or unreadable.
set -e
cd "$(dirname "$0")"
t=$(mktemp -d)
note() { sox -n -r 22050 -c 1 -b 16 "$t/$1.wav" synth "$2" sine "$3" sine "$4" fade q 0.01 "$2" "$5" gain -9; }
# Alert chime: three rising notes with a soft octave above each.
note a 0.30 784 1568 0.25
note b 0.30 988 1976 0.25
note c 0.80 1175 2350 0.70
sox "$t/a.wav" "$t/b.wav" "$t/c.wav" ../files/nodav.wav
# Default sound: two falling notes.
note d 0.25 880 1760 0.2
note e 0.60 660 1320 0.55
sox "$t/d.wav" "$t/e.wav" default.wav
rm -rf "$t"
