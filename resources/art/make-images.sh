#!/bin/sh
# Draws the program's pictures into resources/images and resources/icons from the SVG files
# beside this script. The PNGs are committed, so building needs none of these tools; run this
# again after changing a drawing. Needs rsvg-convert (librsvg2-bin) and ImageMagick.
set -eu
art=$(cd "$(dirname "$0")" && pwd)
res=$(dirname "$art")
images="$res/images"
icons="$res/icons"
mkdir -p "$images" "$icons"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

png() {  # svg width height output
    rsvg-convert -w "$2" -h "$3" "$1" -o "$4"
}

png "$art/logo.svg" 61 61 "$images/logo.png"
png "$art/about-background.svg" 400 260 "$images/about-background.png"
png "$art/lock-emblem.svg" 125 161 "$images/lock-emblem.png"
# One colour, stretched over the lock window: a true-colour PNG, no palette.
convert -size 5x2000 'xc:rgb(42,84,126)' -define png:color-type=2 "$images/lock-tile.png"

# The idle tray icon: a drawing of its own at 16 pixels, the full one from 22 up.
png "$art/tray-16.svg" 16 16 "$images/tray-idle-16.png"
for size in 22 32 48; do
    png "$art/nodavia-tempix.svg" "$size" "$size" "$images/tray-idle-$size.png"
done
cp "$images/tray-idle-32.png" "$images/tray-idle.png"

# The tray animation while an alert runs: the 16-pixel clock whose hand advances a quarter
# turn a frame, leaving an orange trail, so the four frames read as 0, 1, 2, 3.
for frame in 0 1 2 3; do
    case $frame in
        0) hand="8 4"; trail="" ;;
        1) hand="12 8"; trail="M8 8 V3 A5 5 0 0 1 13 8 Z" ;;
        2) hand="8 12"; trail="M8 8 V3 A5 5 0 0 1 8 13 Z" ;;
        3) hand="4 8"; trail="M8 8 V3 A5 5 0 1 1 3 8 Z" ;;
    esac
    cat >"$tmp/frame-$frame.svg" <<SVG
<svg xmlns="http://www.w3.org/2000/svg" width="16" height="16" viewBox="0 0 16 16">
  <path d="M0.6 4.6 A3.2 3.2 0 0 1 4.6 0.6 Z" fill="#F29A2E" stroke="#A85A12" stroke-width="0.7" stroke-linejoin="round"/>
  <path d="M15.4 4.6 A3.2 3.2 0 0 0 11.4 0.6 Z" fill="#F29A2E" stroke="#A85A12" stroke-width="0.7" stroke-linejoin="round"/>
  <path d="M4 13.5 L2.6 15.3 M12 13.5 L13.4 15.3" stroke="#1B3A5C" stroke-width="1.3" stroke-linecap="round"/>
  <circle cx="8" cy="8" r="6.9" fill="#2F5F8F" stroke="#1B3A5C" stroke-width="0.8"/>
  <circle cx="8" cy="8" r="5" fill="#FFFFFF"/>
  <path d="$trail" fill="#FFB347"/>
  <path d="M8 8 L$hand" stroke="#1B3350" stroke-width="2" stroke-linecap="butt"/>
</svg>
SVG
    png "$tmp/frame-$frame.svg" 16 16 "$images/tray-frame-$frame.png"
done

# For installing: the scalable icon and one at every size desktops ask for (menus, panels,
# task switchers, software centres). At 16 pixels the full drawing blurs: the tray's own
# 16-pixel drawing stands in for it.
cp "$art/nodavia-tempix.svg" "$icons/nodavia-tempix.svg"
for size in 16 22 24 32 48 64 128 256; do
    art_file="$art/nodavia-tempix.svg"
    [ "$size" -eq 16 ] && art_file="$art/tray-16.svg"
    mkdir -p "$icons/${size}x$size"
    png "$art_file" "$size" "$size" "$icons/${size}x$size/nodavia-tempix.png"
done
