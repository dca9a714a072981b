#!/usr/bin/env bash
# Draws the program's pictures with ImageMagick: the welcome banner, bitmap 11,
# the icons and the tick images of the folder tree. Run it again after a change;
# the generated files are kept beside it.
set -euo pipefail
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
font=DejaVu-Sans
bold=DejaVu-Sans-Bold

# An icon drawn at 256 pixels, stored at the sizes Windows asks for.
icon() { # name, draw commands...
  local name=$1; shift
  convert -size 256x256 xc:none "$@" "$tmp/$name.png"
  convert "$tmp/$name.png" -define icon:auto-resize=64,48,40,32,24,20,16 "$name.ico"
}

# The archive box both welcome icons share.
box=(-fill '#3C6FB0' -stroke '#24497A' -strokewidth 6 -draw "roundrectangle 36,112 220,228 14,14"
     -fill '#5B8FD1' -draw "roundrectangle 24,92 232,128 10,10"
     -fill '#E8F0FA' -stroke none -draw "roundrectangle 96,150 160,164 6,6")

icon icon93 "${box[@]}" -fill '#2E9E4A' -stroke '#1D6B31' -strokewidth 6 \
  -draw "polygon 104,10 152,10 152,54 184,54 128,106 72,54 104,54"
icon icon94 "${box[@]}" -fill '#E08A1E' -stroke '#9A5A0C' -strokewidth 6 \
  -draw "polygon 128,6 184,58 152,58 152,102 104,102 104,58 72,58"
icon icon91 -fill '#E9B949' -stroke '#9C7416' -strokewidth 6 \
  -draw "roundrectangle 20,60 120,100 10,10" -draw "roundrectangle 20,80 236,220 12,12" \
  -fill '#F7D774' -stroke none -draw "rectangle 30,96 226,210" \
  -fill '#5A5A5A' -draw "rectangle 120,96 136,210" -fill '#D0D0D0' \
  -draw "rectangle 120,104 136,112" -draw "rectangle 120,122 136,130" -draw "rectangle 120,140 136,148"
icon icon95 -fill '#F4C20D' -stroke '#8A6D00' -strokewidth 8 -draw "polygon 128,18 242,226 14,226" \
  -fill '#202020' -stroke none -draw "roundrectangle 116,78 140,170 8,8" -draw "circle 128,198 128,184"
icon corvane -fill '#FFFFFF' -stroke '#24497A' -strokewidth 8 -draw "roundrectangle 16,56 240,208 12,12" \
  -fill none -draw "polyline 20,64 128,144 236,64" \
  -fill '#2E9E4A' -stroke '#1D6B31' -strokewidth 6 -draw "circle 196,196 196,150" \
  -fill '#FFFFFF' -stroke none -draw "polygon 196,166 222,196 206,196 206,222 186,222 186,196 170,196"

# The banner across the welcome page (drawn at twice its size at 100 %).
convert -size 120x948 gradient:'#4A8AD4'-'#1E3F6E' -rotate 90 \
  -fill '#FFFFFF' -font "$bold" -pointsize 52 -annotate +150+70 'Corvane' \
  -fill '#DCE8F7' -font "$font" -pointsize 22 -annotate +154+102 'Backup, Restore and Copy for Outlook Express' \
  \( "$tmp/corvane.png" -resize 96x96 \) -geometry +30+12 -composite \
  -type TrueColor BMP3:banner.bmp

# Bitmap 11: mail going into an archive. Its background is the classic
# button-face grey, which the program swaps for the system's own at load time.
convert -size 252x252 xc:'#F0F0F0' \
  -fill '#DDE7F3' -stroke none -draw "circle 126,126 126,12" \
  -fill '#FFFFFF' -stroke '#7A8FA8' -strokewidth 3 \
  -draw "roundrectangle 40,52 170,132 8,8" -fill none -draw "polyline 42,56 105,100 168,56" \
  -fill '#FFFFFF' -draw "roundrectangle 62,74 192,154 8,8" -fill none -draw "polyline 64,78 127,122 190,78" \
  -fill '#3C6FB0' -stroke '#24497A' -strokewidth 4 -draw "roundrectangle 70,160 214,222 10,10" \
  -fill '#5B8FD1' -draw "roundrectangle 62,148 222,172 8,8" \
  -fill '#E8F0FA' -stroke none -draw "roundrectangle 122,186 162,196 4,4" \
  -fill '#2E9E4A' -stroke '#1D6B31' -strokewidth 3 -draw "polygon 196,96 220,96 220,120 234,120 208,146 182,120 196,120" \
  -type TrueColor BMP3:bitmap11.bmp

# Tick images of the folder tree: unticked, ticked, not selectable.
tickbox() { # name, extra draw...
  local name=$1; shift
  convert -size 64x64 xc:'#FFFFFF' -fill "$1" -stroke "$2" -strokewidth 4 \
    -draw "roundrectangle 6,6 57,57 6,6" "${@:3}" -resize 16x16 -type TrueColor "BMP3:$name.bmp"
}
tickbox tick0 '#FFFFFF' '#5A6B80'
tickbox tick1 '#FFFFFF' '#5A6B80' -fill none -stroke '#1D7A35' -strokewidth 8 -draw "polyline 16,33 28,45 49,19"
tickbox tick2 '#E4E4E4' '#A8A8A8'
