#!/usr/bin/env bash
# Draws Keyvane's icons with ImageMagick. The results are committed; run this only to change
# the artwork.
set -euo pipefail
cd "$(dirname "$0")/icons"

key() {  # size -> a key cap on transparent ground
  local s=$1 m=$(( $1 / 16 )) r=$(( $1 / 5 ))
  local inner=$(( s / 6 ))
  convert -size ${s}x${s} xc:none \
    -fill '#5555AA' -stroke '#222255' -strokewidth $(( m > 0 ? m : 1 )) \
    -draw "roundrectangle $m,$(( m + s / 16 )) $(( s - 1 - m )),$(( s - 1 - m )) $r,$r" \
    -fill '#AAAADD' -stroke none \
    -draw "roundrectangle $(( m + inner / 2 )),$(( m + s / 16 + inner / 3 )) $(( s - 1 - m - inner / 2 )),$(( s - 1 - m - inner )) $(( r / 2 + 1 )),$(( r / 2 + 1 ))" \
    PNG32:key-$s.png
}

for s in 16 24 32 48 64; do key $s; done
convert key-16.png key-24.png key-32.png key-48.png key-64.png keyvane.ico
cp key-16.png tray-on.png
convert tray-on.png tray-on.ico
# The key with a red prohibition sign over it.
convert key-16.png \( -size 16x16 xc:none -fill none -stroke '#FF0000' -strokewidth 2 \
  -draw "circle 8,8 8,2" -draw "line 4,4 12,12" \) -composite PNG32:tray-off.png
convert tray-off.png tray-off.ico
rm -f key-*.png tray-on.png tray-off.png

# The ON/OFF button's pictures, placed beside the executable. The bottom-left pixel's colour
# (magenta) is drawn transparent.
cd ../beside-exe
convert -size 20x20 xc:'#FF00FF' -fill '#00BB00' -stroke '#004400' -draw "circle 10,10 10,2" \
  -fill '#CCFFCC' -stroke none -draw "circle 8,7 8,5" BMP3:keyon.bmp
convert -size 20x20 xc:'#FF00FF' -fill '#FF0000' -stroke '#550000' -draw "circle 10,10 10,2" \
  -stroke white -strokewidth 2 -draw "line 7,7 13,13" -draw "line 13,7 7,13" BMP3:keyoff.bmp
