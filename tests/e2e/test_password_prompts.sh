#!/bin/bash
# The two password prompts of a protected alert. The alert window's "Salir" asks for the
# password above it and ends the program once it is right; the tray menu's "Cancelar Aviso"
# asks for it while the alert runs and, once it is right, cancels the alert and brings the
# main window back. Empty and wrong passwords are answered with a message and change nothing.
source "$(dirname "$0")/harness.sh" "$@"

start_desktop

# The visible windows of the program with a title, the tray icon (named "Tempix") left out.
window_titled() {  # window_titled TITLE
    local id
    for id in $(xdotool search --all --onlyvisible --pid "$TEMPIX_PID" \
        --name "$(title_regex "$1")" 2>/dev/null); do
        inside_trayer "$id" && continue
        echo "$id"
        return 0
    done
    return 1
}
# Answers a message of that title with Return; fails when none comes.
dismiss_message() {  # dismiss_message TITLE SHOT
    local m
    wait_until 5 quiet window_titled "$1" || return 1
    m=$(window_titled "$1")
    sleep 0.3
    shot "$2"
    keys "$m" Return
    wait_until 3 bash -c "! xwininfo -id $m 2>/dev/null | grep -q IsViewable"
}
prompt_above() { PR=$(window_titled "$MAIN_TITLE") && has_net_state "$PR" ABOVE; }

# --- The action prompt, from the alert window's "Salir" ---------------------------------------
# 636C617665 is "clave" encoded; the alert completes at once.
conf_write "RunAuto=1" "hh=" "mm=" "ss=0" "WindowState=1" "BlockPass=636C617665"
start_tempix action
A=$(wait_window "Velmora Tempix" 10 "$TEMPIX_PID") || fail_now "no alert window"
sleep 0.5
check "with a password the alert window stays out of the topmost band" bash -c \
    "! xprop -id $A _NET_WM_STATE | grep -q ABOVE"
check "the main window stays hidden" no_window_of "$MAIN_TITLE" "$TEMPIX_PID"
# "Salir" is the lowest of the three buttons at the window's lower right.
click "$A" 320 190
check "'Salir' opens the password prompt '$MAIN_TITLE'" \
    wait_until 5 quiet window_titled "$MAIN_TITLE"
PR=$(window_titled "$MAIN_TITLE") || fail_now "no action prompt"
check "the prompt is topmost" wait_until 3 prompt_above
check "the prompt is the top of the stacking order" wait_until 3 is_top_window "$PR"
sleep 0.3
shot action-prompt

# The focus is in the prompt's password box; Enter presses Aceptar.
keys "$PR" Return
check "an empty password is answered with 'Nodavia Tempix'" \
    dismiss_message "Nodavia Tempix" action-prompt-empty
type_text "$PR" Clave
xdotool key Return
check "a wrong password is answered with 'Nodavia Tempix'" \
    dismiss_message "Nodavia Tempix" action-prompt-wrong
check "the program is still running" alive "$TEMPIX_PID"
check "the alert window is still there" quiet window_titled "Velmora Tempix"
PR=$(window_titled "$MAIN_TITLE") || fail_now "the prompt went away"
keys "$PR" ctrl+a BackSpace
type_text "$PR" clave
xdotool key Return
pid=$TEMPIX_PID
check "the right password carries out 'Salir': the program ends" wait_until 5 bash -c \
    "! kill -0 $pid 2>/dev/null || ps -o stat= -p $pid | grep -q ^Z"
stop_pid "$pid"

# --- The cancel prompt, from the tray menu's "Cancelar Aviso" ---------------------------------
# A protected 15-second alert, hidden in the tray.
conf_write "RunAuto=1" "hh=" "mm=" "ss=15" "WindowState=1" "BlockPass=636C617665"
start_tempix cancel
started=$SECONDS
wait_until 10 has_tray_icon "$TEMPIX_PID" || fail_now "no tray icon"
check "the main window is hidden while protected" no_window_of "$MAIN_TITLE" "$TEMPIX_PID"
menu=$(open_tray_menu "$TEMPIX_PID") || fail_now "no tray menu"
click_menu_item "$menu" 3   # "Cancelar Aviso"
check "'Cancelar Aviso' opens the password prompt '$MAIN_TITLE'" \
    wait_until 5 quiet window_titled "$MAIN_TITLE"
PR=$(window_titled "$MAIN_TITLE") || fail_now "no cancel prompt"
read -r _ _ psize < <(geometry "$PR")
log "cancel prompt $psize"
sleep 0.3
shot cancel-prompt

type_text "$PR" nope
xdotool key Return
check "a wrong password is answered with the message 'Tempix'" \
    dismiss_message "Tempix" cancel-prompt-wrong
PR=$(window_titled "$MAIN_TITLE") || fail_now "the prompt went away"
keys "$PR" ctrl+a BackSpace Return
check "an empty password is answered with 'Tempix' too" dismiss_message "Tempix" cancel-prompt-empty
PR=$(window_titled "$MAIN_TITLE") || fail_now "the prompt went away"
type_text "$PR" clave
xdotool key Return
W=$(wait_window "$MAIN_TITLE" 5 "$TEMPIX_PID")
check "the right password brings the main window back" test -n "$W"
# The prompt and the main window share the title: only one of that title is left.
check "and closes the prompt" wait_until 3 bash -c \
    "test \$(xdotool search --all --onlyvisible --pid $TEMPIX_PID --name '$(title_regex "$MAIN_TITLE")' | wc -l) = 1"
[[ -n $W ]] && check "the main window is in its normal state" wait_until 3 wm_state_is "$W" Normal
sleep 0.3
shot cancel-prompt-done
# The alert was cancelled: its 15 s pass without the alert window.
left=$((started + 17 - SECONDS))
((left > 0)) && sleep "$left"
check "the cancelled alert does not complete" no_window_of "Velmora Tempix" "$TEMPIX_PID"
check "the program keeps running" alive "$TEMPIX_PID"
finish
