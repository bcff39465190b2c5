#!/bin/bash
# The main window, the tallest, fits a small screen with a panel whatever the font: on 1280x720
# under LXQt's panel its frame (title bar included) lies inside the area the panel leaves free,
# centred in it, and no caption of it is cut (TEMPIX_FIT_CHECK).
source "$(dirname "$0")/harness.sh" "$@"

export E2E_SCREEN=1280x720
start_shell lxqt
export QT_QPA_PLATFORMTHEME=qt6ct TEMPIX_FIT_CHECK=1
mkdir -p "$XDG_CONFIG_HOME/qt6ct"
read -r ax ay aw ah _ < <(xprop -root _NET_WORKAREA | sed 's/.*= //; s/,//g')  # first desktop's
centred() { (($(($1 * 2 + $2 - $3 * 2 - $4)) ** 2 <= 9)); }  # centred POS SIZE AREAPOS AREASIZE

for font in Noto_Sans,10 Noto_Sans,11 Noto_Sans,12 Cantarell,11 DejaVu_Sans,12; do
    IFS=, read -r family size <<<"$font"
    printf '[Fonts]\ngeneral="%s,%s,-1,5,400,0,0,0,0,0,0,0,0,0,0,1"\n' "${family//_/ }" "$size" \
        >"$XDG_CONFIG_HOME/qt6ct/qt6ct.conf"
    start_tempix "$font"
    W=$(wait_window "$MAIN_TITLE" 15 "$TEMPIX_PID") || fail_now "$font: no main window"
    wait_until 5 grep -q "tempix-fit: checked Form1" "$E2E_TMP/$font.log"  # placed and measured
    read -r l r t b < <(xprop -id "$W" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
    read -r cx cy dims < <(geometry "$W")
    fx=$((cx - l)) fy=$((cy - t)) fw=$((${dims%x*} + l + r)) fh=$((${dims#*x} + t + b))
    log "$font: frame ${fw}x$fh at $fx,$fy in ${aw}x$ah at $ax,$ay"
    check "$font: the frame is inside the free area, centred" eval '((fx >= ax && fy >= ay &&
        fx + fw <= ax + aw && fy + fh <= ay + ah)) && centred $fx $fw $ax $aw && centred $fy $fh $ay $ah'
    check "$font: no caption cut" eval '! grep "tempix-fit: narrow" "$E2E_TMP/$font.log"'
    [[ $font == Noto_Sans,11 ]] && shot main-1280x720-11pt
    stop_pid "$TEMPIX_PID"
done
finish
