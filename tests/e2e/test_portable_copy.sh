#!/bin/bash
# Herramientas → Tempix Portable copies the program's six files into the chosen folder; the
# copy started from there shows its main window and uses its own files (its nodav.wav is the
# sound played, not the one of the program it was copied from).
source "$(dirname "$0")/harness.sh" "$@"

start_desktop
DEST=$E2E_TMP/portable
mkdir -p "$DEST"
SRC_DIR=$(dirname "$TEMPIX")

# Started in the destination: the copy window shows its working folder at load.
start_tempix main "$TEMPIX" "$DEST"
W=$(wait_window "$MAIN_TITLE" 15 "$TEMPIX_PID") || fail_now "no main window"
activate "$W"

# "Herramientas" is the second menu of the menu bar; "Tempix Portable" its first item.
click "$W" 105 10
wait_until 5 quiet popup_menu "$TEMPIX_PID" || fail_now "the Herramientas menu did not open"
shot portable-menu
xdotool key --delay 80 Down Return
# The copy window has the main window's title: it is the other window of that title.
copy_window() {
    local id
    for id in $(xdotool search --all --onlyvisible --pid "$TEMPIX_PID" \
        --name "$(title_regex "$MAIN_TITLE")" 2>/dev/null); do
        [[ $id != "$W" ]] && {
            echo "$id"
            return 0
        }
    done
    return 1
}
wait_until 5 quiet copy_window || fail_now "no portable copy window"
P=$(copy_window)
read -r px py psize < <(geometry "$P")
log "copy window at $px,$py, $psize"
# The layout unit follows the font: 361 x 201 pixels at the design font, larger with a larger.
pw=${psize%x*}
ph=${psize#*x}
check "the copy window has its design proportions (5415 x 3015 twips)" \
    test "$pw" -ge 361 -a $((ph - 3015 * pw / 5415)) -ge -1 -a $((ph - 3015 * pw / 5415)) -le 1
# "Portar!!" (left column, 2040 twips down) at the window's scale.
portar_x=$((36 * pw / 361))
portar_y=$((152 * pw / 361))
# Taskbars leave out utility windows and those that belong to another window.
check "it is a tool window (utility type first)" bash -c \
    "xprop -id $P _NET_WM_WINDOW_TYPE | grep -q '= _NET_WM_WINDOW_TYPE_UTILITY'"
sleep 0.5
shot portable-window

# Nothing is chosen yet: "Portar!!" (left column, 2040 twips down) asks for a folder.
click "$P" "$portar_x" "$portar_y"
M=$(wait_window "Nodavia Tempix" 5 "$TEMPIX_PID")
check "'Portar!!' without a chosen folder asks for one" test -n "$M"
if [[ -n $M ]]; then
    shot portable-no-folder
    keys "$M" Return
    wait_until 3 bash -c "! xwininfo -id $M 2>/dev/null | grep -q IsViewable"
fi
check "and copies nothing" test -z "$(ls -A "$DEST")"

# The folder list holds the working folder as its current one; moving away and back with the
# keyboard chooses it (Tab reaches the list after the button and the drive list).
activate "$P"
xdotool key --delay 100 Tab Tab Up Down
sleep 0.5
shot portable-folder-chosen
click "$P" "$portar_x" "$portar_y"
check "the copy writes the six files" wait_until 10 bash -c \
    "test \$(ls -A '$DEST' | wc -l) -ge 6"
sleep 0.5
shot portable-copied
check "no message: the copy succeeded" no_window_of "Nodavia Tempix" "$TEMPIX_PID"
ls -l "$DEST" | sed 's/^/    /'
for f in nodav.wav:nodav.wav tempix:tempix LEAME.rtf:LEAME.RTF LICENCIA.rtf:LICENCIA.RTF \
    tempix_help.html:tempix_help.html tempix-sound.so:tempix-sound.so; do
    check "${f#*:} is an exact copy" cmp -s "$SRC_DIR/${f%%:*}" "$DEST/${f#*:}"
done
check "nothing else was copied" test "$(ls -A "$DEST" | wc -l)" = 6
check "the copied program can be run" test -x "$DEST/tempix"
stop_pid "$TEMPIX_PID"

# The copy's own sound is a different tone from the original's.
sox -n -r 22050 -c 1 -b 16 "$DEST/nodav.wav" synth 1.2 sine 600 vol 0.5 ||
    fail_now "could not make the test tone"
# A 2-second alert with the main window open; the copy is started from another folder, so
# only its own folder can give it its files.
conf_write "RunAuto=1" "hh=" "mm=" "ss=2" "WindowState=0" "Minimize=1"
start_recording portable-sound
start_tempix copy "$DEST/tempix" "$E2E_TMP"
C=$(wait_window "$MAIN_TITLE" 15 "$TEMPIX_PID")
check "the copy shows its main window '$MAIN_TITLE'" test -n "$C"
[[ -n $C ]] && check "in its normal state" wait_until 3 wm_state_is "$C" Normal
shot portable-copy-running
check "the copy's alert completes with the alert window" \
    quiet wait_window "Velmora Tempix" 8 "$TEMPIX_PID"
sleep 4
stop_recording
got=$(played_frequency "$REC_FILE")
log "the copy played a tone of about $got Hz (its nodav.wav: 600 Hz, the original's: \
$(played_frequency "$SRC_DIR/nodav.wav") Hz)"
check "the copy played a sound" above "$(rms_amplitude "$REC_FILE")" 0.02
check "the sound is the copy's own nodav.wav" near_frequency "$got" 600
stop_pid "$TEMPIX_PID"

# A nodav.wav cut short, its header intact: the default sound instead of silence.
head -c 20000 "$DEST/nodav.wav" >"$E2E_TMP/cut.wav" && mv "$E2E_TMP/cut.wav" "$DEST/nodav.wav"
start_recording portable-damaged-sound
start_tempix damaged "$DEST/tempix" "$E2E_TMP"
check "with a damaged sound the alert completes with the alert window" \
    quiet wait_window "Velmora Tempix" 15 "$TEMPIX_PID"
sleep 4
stop_recording
got=$(played_frequency "$REC_FILE")
want=$(played_frequency "$(dirname "$0")/../../resources/sounds/default.wav")
log "with the damaged file a tone of about $got Hz was played (the default sound: $want Hz)"
check "the default sound was played" near_frequency "$got" "$want"
finish
