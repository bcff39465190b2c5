#!/bin/bash
# A 5-second alert ends in the alert window, above every other window, and its sound reaches
# the sound server; with the Options box sonido off (Sound "0" stored) nothing is played.
source "$(dirname "$0")/harness.sh" "$@"

start_desktop

# The recording starts before the program, so the whole alert is in it.
start_recording alert-sound
conf_write "RunAuto=1" "hh=" "mm=" "ss=5" "WindowState=1"
start_tempix sound-on
started=$SECONDS
A=$(wait_window "Velmora Tempix" 12 "$TEMPIX_PID") || fail_now "no alert window 'Velmora Tempix'"
elapsed=$((SECONDS - started))
log "completed after about $elapsed s"
check "the alert did not complete early" test "$elapsed" -ge 4
check "the alert window is mapped" is_viewable "$A"
# Putting a window on top may give it a new native window: look it up afresh.
alert_on_top() {
    A=$(find_window "Velmora Tempix" "$TEMPIX_PID") && has_net_state "$A" ABOVE
}
check "the alert window is topmost (_NET_WM_STATE_ABOVE)" wait_until 3 alert_on_top
check "the alert window is the top of the stacking order" wait_until 3 is_top_window "$A"
read -r ax ay asize < <(geometry "$A")
log "alert window at $ax,$ay, $asize"
check "the alert window is 400x220" test "$asize" = 400x220
check "centred on the screen" test "$ax" = 440 -a "$ay" = 290
check "no frame: the window manager added no title bar" bash -c \
    "xprop -id $A _NET_FRAME_EXTENTS | grep -q '= 0, 0, 0, 0'"
sleep 0.5
shot alert-window
# QSoundEffect reports the end of the sound late: give it time, then stop recording.
sleep 3.5
stop_recording
check "the program is still running" alive "$TEMPIX_PID"
rms=$(rms_amplitude "$REC_FILE")
log "recording with sound: $(recording_length "$REC_FILE") s, RMS amplitude $rms"
check "the alert's sound was played (RMS amplitude clearly above 0)" above "$rms" 0.02
# The one beside the program: the build folder holds nodav.wav.
want=$(played_frequency "$(dirname "$TEMPIX")/nodav.wav")
got=$(played_frequency "$REC_FILE")
log "played tone about $got Hz; nodav.wav beside the program about $want Hz"
check "what was played is the program folder's nodav.wav (its tone)" near_frequency "$got" "$want"
check "the program printed no warning" bash -c \
    "! grep -Eiq 'warn|critical|error' '$E2E_TMP/sound-on.log'"
sed 's/^/    sound-on: /' "$E2E_TMP/sound-on.log"
stop_pid "$TEMPIX_PID"

# The same alert with the sound switched off in the Options window's stored value.
start_recording alert-silent
t0=$(date +%s.%N)
conf_write "RunAuto=1" "hh=" "mm=" "ss=1" "WindowState=1" "Sound=0"
start_tempix sound-off
A=$(wait_window "Velmora Tempix" 8 "$TEMPIX_PID")
check "without sound the alert window is still shown" test -n "$A"
# The recording must reach past the time the sound would have ended.
wanted=$(awk -v a="$t0" -v b="$(date +%s.%N)" 'BEGIN {print b - a + 2.5}')
sleep 4.5
stop_recording
rms=$(rms_amplitude "$REC_FILE")
log "recording without sound: $(recording_length "$REC_FILE") s, RMS amplitude $rms"
check "the recording reaches $wanted s, past the end a sound would have had" \
    above "$(recording_length "$REC_FILE")" "$wanted"
check "nothing was played with Sound = 0 (RMS amplitude 0)" is_silent "$REC_FILE"
check "the store still holds Sound = 0" conf_is Sound 0
finish
