#!/bin/bash
# With a stored password, a second instance shows the one-instance message and ends, taking
# its tray icon with it; without one, another instance starts normally.
source "$(dirname "$0")/harness.sh" "$@"

start_desktop
conf_write "BlockPass=616263"   # "abc"
start_tempix first
FIRST=$TEMPIX_PID
W1=$(wait_window "$MAIN_TITLE" 15 "$FIRST") || fail_now "no main window for the first instance"
wait_until 10 has_tray_icon "$FIRST" || fail_now "no tray icon for the first instance"

start_tempix second
SECOND=$TEMPIX_PID
M=$(wait_window "Nodavia Tempix" 15 "$SECOND")
check "the second instance shows a message box titled 'Nodavia Tempix'" test -n "$M"
[[ -n $M ]] || fail_now "no one-instance message"
check "it shows no main window" no_window_of "$MAIN_TITLE" "$SECOND"
shot one-instance-message
# The message text is not readable through X: the screenshot shows it. The box is the program's
# critical message box with one OK button.
read -r bw bh < <(xwininfo -id "$M" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w, h}')
log "message box ${bw}x$bh"
check "the box is wide enough for the one-instance sentence" test "$bw" -ge 300
read -r mx my _ < <(geometry "$M")
log "message box at $mx,$my"
# On the 1280x800 screen, give or take the frame (Qt centres the frame it expects).
near() { (($1 - $2 <= 50 && $2 - $1 <= 50)); }
check "the box is centred on the screen" eval 'near $((mx + bw / 2)) 640 && near $((my + bh / 2)) 400'

keys "$M" Return
check "after OK the second instance ends" wait_until 10 bash -c \
    "! kill -0 $SECOND 2>/dev/null || ps -o stat= -p $SECOND | grep -q Z"
check "its tray icon is gone" wait_until 5 no_tray_icon "$SECOND"
check "the first instance is still running" alive "$FIRST"
check "with its window" is_viewable "$W1"
check "and its tray icon" has_tray_icon "$FIRST"
check "exactly one icon in the tray host" test "$(tray_icon_count)" = 1

# No stored password: any number of instances.
conf_write "BlockPass="
start_tempix third
THIRD=$TEMPIX_PID
W3=$(wait_window "$MAIN_TITLE" 15 "$THIRD")
check "without a stored password another instance starts normally" test -n "$W3"
check "with its own tray icon" wait_until 10 has_tray_icon "$THIRD"
check "and no message box" no_window_of "Nodavia Tempix" "$THIRD"
finish
