#!/bin/bash
# Draws the program's pictures (icon, banner, glyphs, menu strip) with
# ImageMagick. The results are committed; run this only to redraw them.
# Glyph backgrounds are magenta (FF00FF), the transparent colour.
set -eu
cd "$(dirname "$0")"
FONT=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc
BMP="-type TrueColor -define bmp:format=bmp3 -compress none"
# The large pictures in 256 colours, undithered and run-length encoded (RLE8,
# which every Windows loads), keep the program small.
PAL="+dither -colors 256 -type Palette -define bmp:format=bmp3 -compress RLE"

# The icon: a dark blue tile with a list of three lines and a red stop mark.
icon() {  # size file
    local s=$1 k
    k=$(echo "$s / 32" | bc -l)
    convert -size ${s}x${s} xc:none -fill '#1f3f8f' -stroke '#0c1f4f' \
        -draw "roundrectangle 1,1 $((s-2)),$((s-2)) $((s/6)),$((s/6))" \
        -stroke none -fill white \
        -draw "rectangle $(printf %.0f $(echo "6*$k"|bc -l)),$(printf %.0f $(echo "8*$k"|bc -l)) $(printf %.0f $(echo "20*$k"|bc -l)),$(printf %.0f $(echo "10*$k"|bc -l))" \
        -draw "rectangle $(printf %.0f $(echo "6*$k"|bc -l)),$(printf %.0f $(echo "14*$k"|bc -l)) $(printf %.0f $(echo "20*$k"|bc -l)),$(printf %.0f $(echo "16*$k"|bc -l))" \
        -draw "rectangle $(printf %.0f $(echo "6*$k"|bc -l)),$(printf %.0f $(echo "20*$k"|bc -l)) $(printf %.0f $(echo "16*$k"|bc -l)),$(printf %.0f $(echo "22*$k"|bc -l))" \
        -fill '#e03020' -draw "circle $(printf %.0f $(echo "23*$k"|bc -l)),$(printf %.0f $(echo "23*$k"|bc -l)) $(printf %.0f $(echo "23*$k"|bc -l)),$(printf %.0f $(echo "17*$k"|bc -l))" \
        -fill white -draw "rectangle $(printf %.0f $(echo "20*$k"|bc -l)),$(printf %.0f $(echo "22*$k"|bc -l)) $(printf %.0f $(echo "26*$k"|bc -l)),$(printf %.0f $(echo "24*$k"|bc -l))" \
        "$2"
}
icon 32 /tmp/morvane32.png
icon 16 /tmp/morvane16.png
convert /tmp/morvane16.png /tmp/morvane32.png morvane.ico

# Banner across the top of the window.
convert -size 44x359 gradient:'#1f3f8f'-'#6f9fdf' -rotate 90 \
    -font "$FONT" -pointsize 20 -fill white -annotate +56+30 'Morvane进程管理器' \
    \( /tmp/morvane32.png \) -geometry +12+6 -composite $PAL BMP3:banner.bmp

# The About picture and the password panel's picture.
convert -size 96x96 gradient:'#dfe8f7'-'#9fb8e0' \( /tmp/morvane32.png -resize 64x64 \) \
    -geometry +16+16 -composite $PAL BMP3:about.bmp
convert -size 70x345 gradient:'#1f3f8f'-'#9fb8e0' -rotate 90 \
    -fill '#f0c040' -stroke '#806010' -draw 'roundrectangle 24,30 54,58 4,4' \
    -fill none -stroke '#f0c040' -strokewidth 4 -draw 'arc 28,12 50,44 180,360' \
    -stroke none -fill '#806010' -draw 'circle 39,42 39,46' \
    -font "$FONT" -pointsize 18 -fill white -annotate +74+42 '运行密码' $PAL BMP3:password.bmp

# 16 x 16 glyphs on magenta, no smoothing so the transparent colour stays exact.
glyph() {  # file draw-args...
    local f=$1; shift
    convert -size 16x16 xc:'#ff00ff' +antialias "$@" $BMP BMP3:"$f"
}
glyph ok.bmp -stroke '#108010' -strokewidth 3 -fill none -draw 'polyline 2,8 6,12 13,3'
glyph no.bmp -stroke '#c02010' -strokewidth 2 -fill none -draw 'circle 8,8 8,2' -draw 'line 4,12 12,4'
glyph folder.bmp -fill '#e0b030' -stroke '#806010' -draw 'rectangle 1,4 14,13' \
    -fill '#f0d060' -draw 'rectangle 1,3 6,5'

# Menu pictures: 0 restore, 1 spare, 2 restart, 3 log on again, 4 shut down,
# 5 exit, 6 loop clear.
for i in 0 1 2 3 4 5 6; do
    case $i in
    0) glyph /tmp/m$i.bmp -fill white -stroke '#1f3f8f' -draw 'rectangle 2,3 13,12' -fill '#1f3f8f' -draw 'rectangle 2,3 13,5' ;;
    1) glyph /tmp/m$i.bmp ;;
    2) glyph /tmp/m$i.bmp -fill none -stroke '#108010' -strokewidth 2 -draw 'arc 2,2 13,13 45,330' -fill '#108010' -stroke none -draw 'polygon 10,1 14,5 9,6' ;;
    3) glyph /tmp/m$i.bmp -fill '#1f3f8f' -stroke none -draw 'circle 8,5 8,2' -draw 'rectangle 3,9 12,14' ;;
    4) glyph /tmp/m$i.bmp -fill none -stroke '#c02010' -strokewidth 2 -draw 'arc 2,3 13,14 300,240' -draw 'line 8,1 8,7' ;;
    5) glyph /tmp/m$i.bmp -fill '#806010' -stroke none -draw 'rectangle 3,1 11,14' -fill '#f0d060' -draw 'rectangle 9,7 10,8' ;;
    6) glyph /tmp/m$i.bmp -fill none -stroke '#1f3f8f' -strokewidth 2 -draw 'arc 2,2 13,13 0,300' -fill '#c02010' -stroke none -draw 'circle 8,8 8,6' ;;
    esac
done
convert /tmp/m0.bmp /tmp/m1.bmp /tmp/m2.bmp /tmp/m3.bmp /tmp/m4.bmp /tmp/m5.bmp /tmp/m6.bmp \
    +append $BMP BMP3:menu.bmp

# Every picture again with only the colours it uses, at 4 or 8 bits and RLE8
# where that is smaller: the same pixels in a third of the bytes.
./pack_bmp.py about.bmp banner.bmp password.bmp ok.bmp no.bmp folder.bmp menu.bmp
# The icon at 16 colours with a mask: what Windows 95 can draw, in a fifth of
# the bytes of the 32-bit one.
./pack_bmp.py --icon morvane.ico
