#!/bin/sh
# Draws the program's artwork with ImageMagick. Run from anywhere; writes the
# PNG files next to this script. The results are kept in the repository.
set -e
cd "$(dirname "$0")"

# Main icon, 32 × 32, 16 colours: a rake pulling a chain link on blue.
convert -size 32x32 xc:none +antialias \
  -fill '#1f4e9c' -stroke '#0b2a5c' -draw 'roundrectangle 0,0 31,31 6,6' \
  -stroke '#f2f2f2' -strokewidth 2 -fill none \
  -draw 'roundrectangle 3,19 14,27 4,4' -draw 'roundrectangle 10,19 21,27 4,4' \
  -stroke '#c8842c' -strokewidth 2 -draw 'line 27,3 17,14' \
  -stroke '#ffd34d' -strokewidth 2 -draw 'line 11,10 22,21' \
  -strokewidth 1 -draw 'line 12,11 9,14' -draw 'line 15,14 12,17' -draw 'line 18,17 15,20' \
  -draw 'line 21,20 18,23' \
  -colors 16 PNG8:main-icon.png

# Tray icon, 16 × 16, 16 colours: the same rake, smaller.
convert -size 16x16 xc:none +antialias \
  -fill '#1f4e9c' -stroke '#0b2a5c' -draw 'roundrectangle 0,0 15,15 3,3' \
  -stroke '#c8842c' -strokewidth 1 -draw 'line 13,2 8,7' \
  -stroke '#ffd34d' -draw 'line 4,6 10,12' -draw 'line 5,7 3,9' -draw 'line 7,9 5,11' \
  -draw 'line 9,11 7,13' \
  -stroke '#f2f2f2' -fill none -draw 'roundrectangle 2,10 8,14 2,2' \
  -colors 16 PNG8:tray-icon.png

# The memo page's picture, 90 × 102, 24 bits: the mascot Rakemaru, a round
# little raccoon dog with a rake, sketched in dark lines on light grey.
convert -size 90x102 xc:'#D9D9D9' +antialias -stroke '#202020' -strokewidth 2 -fill none \
  -draw 'ellipse 40,38 26,24 0,360' \
  -draw 'ellipse 20,16 7,8 180,360' -draw 'ellipse 60,16 7,8 180,360' \
  -draw 'ellipse 28,36 8,6 0,360' -draw 'ellipse 52,36 8,6 0,360' \
  -fill '#202020' -draw 'circle 29,36 31,36' -draw 'circle 51,36 53,36' \
  -draw 'ellipse 40,45 4,3 0,360' -fill none \
  -draw 'arc 32,46 48,56 20,160' \
  -draw 'ellipse 40,80 20,17 0,360' \
  -draw 'arc 30,70 50,92 200,340' \
  -draw 'line 24,94 20,100' -draw 'line 56,94 60,100' \
  -draw 'line 58,72 72,66' \
  -stroke '#202020' -strokewidth 3 -draw 'line 78,96 78,20' \
  -strokewidth 2 -draw 'line 70,20 86,20' \
  -draw 'line 70,20 70,12' -draw 'line 74,20 74,12' -draw 'line 78,20 78,12' \
  -draw 'line 82,20 82,12' -draw 'line 86,20 86,12' \
  -draw 'line 4,68 12,64' -draw 'line 2,76 10,74' \
  -type TrueColor PNG24:mascot.png
