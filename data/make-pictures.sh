#!/usr/bin/env bash
# Draws the delivered pictures: the neutral placeholder for products without a photo
# (DEFAULT.bmp) and the three decorative page pictures of the main window. They are plain
# shapes and gradients, made here; the results are kept in the repository, so the build does
# not need ImageMagick. Run from any folder: ./data/make-pictures.sh
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=$here/pictures

# 115 x 115, the size of the product picture: light grey with a frame and a stylised bottle.
convert -size 115x115 xc:'#ececec' -fill none -stroke '#b8b8b8' -strokewidth 2 -draw 'rectangle 3,3 111,111' \
  -fill '#c8c8c8' -stroke none -draw 'roundrectangle 45,48 69,100 6,6' -draw 'rectangle 53,22 61,50' \
  -draw 'rectangle 51,18 63,24' -type TrueColor BMP3:"$here/DEFAULT.bmp"

# page  colour-from  colour-to  accent
page() {
  convert -size 360x240 gradient:"$2"-"$3" \
    -fill "$4" -draw 'circle 270,80 330,80' \
    -fill "${4}80" -draw 'circle 90,170 140,170' \
    -fill none -stroke "${4}A0" -strokewidth 6 -draw 'bezier 0,200 120,120 240,240 360,150' \
    -colors 64 -strip PNG8:"$out/$1.png"
}
page generale '#eef5e6' '#b9d39a' '#6b8e23'
page ead      '#e8f0f8' '#9fbfdf' '#2f5f8f'
page registro '#f7ece8' '#d9a6a6' '#7b1e2e'
