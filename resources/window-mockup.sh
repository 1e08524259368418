#!/usr/bin/env bash
# Lays the rendered pictures out as the setup window shows them, so a change
# to the artwork can be judged in place before any window code runs:
#
#   resources/window-mockup.sh [PICTURE_DIR] [OUTPUT.png]
#
# PICTURE_DIR defaults to the default preset's build output. The sheet shows
# four moments (0.5 s and 4 s into the intro, its end, and the folder choice
# open during an install at 60 %) beside every picture at each scale on
# light and dark. Controls that are no pictures (label texts, the button,
# the switch track, the combo box) are drawn roughly in their colours and
# places; the fonts are the machine's.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
pics="${1:-$root/build/default/resources/pictures}"
out="${2:-$root/build/default/resources/window-mockup.png}"
font="DejaVu-Sans"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

[ -f "$pics/bg.png" ] || { echo "no pictures in $pics (build the ostrel_pictures target)" >&2; exit 1; }

# A picture scaled to W x H.
fit() { convert "$pics/$1.png" -resize "$2x$3!" "$4"; }

# Draws a picture file at (x, y) with opacity a onto the canvas file.
put() { # canvas file x y [opacity]
  local a="${5:-1}"
  convert "$1" \( "$2" -alpha on -channel A -evaluate multiply "$a" +channel \) \
    -geometry "+$3+$4" -composite "$1"
}

# The window: 656 x 376, the background at (8, 8) with its shadow.
window() { # out
  convert -size 656x376 xc:none "$1"
  convert "$pics/bg.png" -background black -shadow 50x6+0+0 "$work/shadow.png"
  convert "$1" "$work/shadow.png" -geometry +-4+-4 -composite "$1"
  put "$1" "$pics/bg.png" 8 8
}

text() { # canvas x y w h size gravity colour text
  convert -background none -fill "$8" -font "$font" -pointsize "$6" -size "${4}x${5}" \
    -gravity "$7" caption:"$9" "$work/text.png"
  put "$1" "$work/text.png" "$2" "$3"
}

rounded() { # canvas x y w h r fill stroke
  convert "$1" -fill "$7" -stroke "$8" -strokewidth 1 \
    -draw "roundrectangle $(( $2 )).5,$(( $3 )).5 $(( $2 + $4 - 1 )).5,$(( $3 + $5 - 1 )).5 $6,$6" "$1"
}

close_button() { # canvas
  fit close 17 17 "$work/close.png"
  put "$1" "$work/close.png" $(( 8 + 599 + 8 )) $(( 8 + 8 + 8 ))
}

logos() { # canvas x y logo2-opacity
  put "$1" "$pics/logo.png" "$2" "$3"
  put "$1" "$pics/logo2.png" "$2" "$3" "$4"
}

# The intro's controls at panel offset dy: text, button, switch, its label.
controls() { # canvas dy checked
  local dy=$(( 8 + $2 ))
  text "$1" 36 $(( dy + 167 )) 345 41 14 center white "Operate your phone on PC safely and easily."
  rounded "$1" 128 $(( dy + 233 )) 160 50 4 "#0092CA" "#0098D4"
  text "$1" 128 $(( dy + 233 )) 160 50 20 center white "Install Now"
  if [ "$3" = 1 ]; then
    rounded "$1" 415 $(( dy + 258 )) 50 25 12 "#0092CA" "#0098D4"
    fit switchon1 18 18 "$work/knob.png"; put "$1" "$work/knob.png" $(( 415 + 25 + 4 )) $(( dy + 258 + 4 ))
  else
    rounded "$1" 415 $(( dy + 258 )) 50 25 12 "#1D1D1D" "#999999"
    fit switchon1 18 18 "$work/knob.png"; put "$1" "$work/knob.png" $(( 415 + 4 )) $(( dy + 258 + 4 ))
  fi
  text "$1" 473 $(( dy + 254 )) 144 33 14 west white "Custom installation"
}

# 0.5 s: the logo alone in the middle.
window "$work/f1.png"; close_button "$work/f1.png"
logos "$work/f1.png" $(( 8 + 270 )) $(( 8 + 100 )) 0

# 4 s: the logo risen, the brand strip faded in below it.
window "$work/f2.png"; close_button "$work/f2.png"
logos "$work/f2.png" $(( 8 + 270 )) $(( 8 + 50 )) 0
put "$work/f2.png" "$pics/brand.png" $(( 8 + 170 )) $(( 8 + 223 ))

# End of the intro.
window "$work/f3.png"; close_button "$work/f3.png"
put "$work/f3.png" "$pics/brand.png" $(( 8 + 50 )) $(( 8 + 70 ))
logos "$work/f3.png" $(( 8 + 450 )) $(( 8 + 90 )) 1
controls "$work/f3.png" 0 0

# Folder choice open, installing at 60 %: the panel at y 295, the bar's
# fore picture stretched in three parts over the width and cut at 60 %.
window "$work/f4.png"; close_button "$work/f4.png"
put "$work/f4.png" "$pics/brand.png" $(( 8 + 50 )) $(( 8 + 70 ))
logos "$work/f4.png" $(( 8 + 450 )) $(( 8 + 90 )) 1
controls "$work/f4.png" 0 1
convert -size 640x65 xc:none -fill "#202020C0" -stroke "#373737" -strokewidth 1 \
  -draw "roundrectangle 0.5,-8 639.5,64.5 4,4" "$work/panel.png"
put "$work/f4.png" "$work/panel.png" 8 $(( 8 + 295 ))
text "$work/f4.png" $(( 8 + 28 )) $(( 8 + 295 + 16 )) 69 33 14 west white "Install to"
rounded "$work/f4.png" $(( 8 + 105 )) $(( 8 + 295 + 18 )) 464 30 4 "#2F2F2F" "#2F2F2F"
text "$work/f4.png" $(( 8 + 113 )) $(( 8 + 295 + 18 )) 420 30 14 west white "/home/user/.local/share"
fit combodropdown 14 14 "$work/arrow.png"
put "$work/f4.png" "$work/arrow.png" $(( 8 + 105 + 464 - 8 - 14 )) $(( 8 + 295 + 18 + 8 ))
rounded "$work/f4.png" $(( 8 + 577 )) $(( 8 + 295 + 16 )) 34 34 4 "#2F2F2F" "#383838"
fit files 22 22 "$work/files.png"
put "$work/f4.png" "$work/files.png" $(( 8 + 577 + 6 )) $(( 8 + 295 + 16 + 6 ))
convert "$pics/progressfore.png" \
  \( -clone 0 -crop 8x4+0+0 \) \( -clone 0 -crop 240x4+8+0 -resize 622x4! \) \( -clone 0 -crop 8x4+248+0 \) \
  -delete 0 +repage +append -crop 383x4+0+0 +repage "$work/bar.png"
put "$work/f4.png" "$work/bar.png" $(( 8 + 1 )) $(( 8 + 355 ))

# Every picture at each scale, on light and on dark.
sheet=()
for f in "$pics"/*.png; do
  name="$(basename "$f" .png)"
  convert \( -size 1x1 xc:"#E8E8E8" \) \( -size 1x1 xc:"#1B1D20" \) +append -filter point \
    -resize "$(( $(identify -format %w "$f") * 2 + 24 ))x$(( $(identify -format %h "$f") + 16 ))!" "$work/tile.png"
  put "$work/tile.png" "$f" 4 8
  put "$work/tile.png" "$f" $(( $(identify -format %w "$f") + 20 )) 8
  convert "$work/tile.png" -background white -fill black -font "$font" -pointsize 11 \
    label:"$name" -gravity center -append "$work/tile-$name.png"
  sheet+=("$work/tile-$name.png")
done
montage "${sheet[@]}" -background white -tile 6x -geometry +8+8 "$work/sheet.png"

montage "$work/f1.png" "$work/f2.png" "$work/f3.png" "$work/f4.png" -background "#6B7078" -tile 2x -geometry +6+6 "$work/frames.png"
mkdir -p "$(dirname "$out")"
convert "$work/frames.png" "$work/sheet.png" -background white -gravity center -append "$out"
echo "$out"
