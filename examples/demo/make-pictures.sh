#!/bin/sh
# Draws the demo menus' pictures with ImageMagick. The PNGs are committed; run this
# again only after changing a picture here. Item pictures are drawn over the part of
# the background they cover, since the player shows pictures without transparency.
set -eu
cd "$(dirname "$0")/pictures"

font=DejaVu-Sans
bold=DejaVu-Sans-Bold

# Main window: a rounded panel whose transparent corners become the window shape.
convert -size 520x360 gradient:'#10233f'-'#0b6e78' \
    \( -size 520x360 xc:none -fill white -draw 'roundrectangle 0,0 519,359 36,36' \) \
    -compose CopyOpacity -composite -compose Over \
    -fill '#ffffff14' -draw 'circle 470,60 470,190' \
    -fill '#ffffff0c' -draw 'circle 40,330 40,430' \
    -font "$bold" -pointsize 40 -fill white -annotate +36+70 'Ambrevo' \
    -font "$font" -pointsize 16 -fill '#bfe9ee' -annotate +38+96 'Demo disc' \
    -fill '#ffffff30' -draw 'rectangle 36,300 484,301' \
    main-background.png

# Second window: a plain rectangle.
convert -size 420x260 gradient:'#3a1f4f'-'#7b3a5e' \
    -font "$bold" -pointsize 28 -fill white -annotate +28+52 'More things' \
    -font "$font" -pointsize 14 -fill '#f3d6e6' -annotate +30+78 'A second menu of the same disc' \
    second-background.png

# A picture button over its background: output, background, x, y, label, face, text, drop.
button() {
    convert "$2" -crop "200x44+$3+$4" +repage \
        -fill '#00000040' -draw 'roundrectangle 2,4 199,43 12,12' \
        -fill "$6" -draw "roundrectangle 0,$8 196,$(($8 + 38)) 12,12" \
        -font "$bold" -pointsize 16 -fill "$7" -gravity west -annotate "+18+$(($8 - 2))" "$5" \
        -alpha off "$1"
}

# A round sign over its background: output, background, x, y, sign.
sign() {
    convert "$2" -crop "48x48+$3+$4" +repage -fill '#ffffff33' -draw 'circle 24,24 24,2' \
        -font "$bold" -pointsize 28 -fill white -gravity center -annotate +0+0 "$5" \
        -alpha off "$1"
}

y=130
for name in readme browse more; do
    case $name in
        readme) label='Read me' ;;
        browse) label='Browse the disc' ;;
        more) label='More...' ;;
    esac
    button "$name-normal.png" main-background.png 36 $y "$label" '#1d4f7a' '#e6f4ff' 0
    button "$name-highlight.png" main-background.png 36 $y "$label" '#2b8fb3' white 0
    button "$name-pressed.png" main-background.png 36 $y "$label" '#123a5c' '#b9d9ee' 3
    # A glow that pulses while the button is highlighted.
    i=1
    for glow in '#2f98bd' '#3aa6cb' '#46b3d8' '#3aa6cb'; do
        button "$name-glow$i.png" main-background.png 36 $y "$label" "$glow" white 0
        i=$((i + 1))
    done
    y=$((y + 54))
done

sign readme-description.png main-background.png 268 130 'i'
sign browse-description.png main-background.png 268 130 '/'
sign more-description.png main-background.png 268 130 '+'
