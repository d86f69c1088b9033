#!/usr/bin/env bash
# Draws the application icon (a video frame with a play mark over a subtitle bar) at 256 px
# and scales it to the sizes the desktop and the window use. Run once after changing the
# drawing; the PNG files are kept in the repository. tesslingui.svg is the same drawing for
# the desktop's scalable icon: change both together, this script checks that they agree.
set -euo pipefail
cd "$(dirname "$0")"
convert -size 256x256 xc:none \
    -fill '#2563A8' -draw 'roundrectangle 8,8 247,247 44,44' \
    -fill '#3B82C8' -draw 'roundrectangle 8,8 247,150 44,44' \
    -fill '#2563A8' -draw 'rectangle 8,110 247,150' \
    -fill white -draw 'polygon 100,46 100,138 176,92' \
    -fill '#F7C948' -draw 'roundrectangle 34,166 221,226 14,14' \
    -fill '#1F3A5F' -draw 'roundrectangle 56,182 200,192 4,4' \
    -fill '#1F3A5F' -draw 'roundrectangle 80,202 176,212 4,4' \
    -depth 8 -strip PNG32:tesslingui-256.png
for size in 16 24 32 48 64 128; do
    convert tesslingui-256.png -filter Lanczos -resize ${size}x${size} -depth 8 -strip \
        PNG32:tesslingui-${size}.png
done

# The two drawings differ only along edges (the renderers smooth them differently): a root
# mean square difference of 2 % here; a changed shape or colour gives several times that.
rendered=$(mktemp --suffix=.png)
trap 'rm -f "$rendered"' EXIT
rsvg-convert -w 256 -h 256 tesslingui.svg -o "$rendered"
# compare exits with 1 whenever the images differ at all; its figure is what counts.
difference=$(compare -metric RMSE tesslingui-256.png "$rendered" null: 2>&1 || true)
difference=${difference##*(}
difference=${difference%)}
awk -v d="$difference" 'BEGIN { exit !(d < 0.03) }' ||
    { echo "make-icons: tesslingui.svg and the drawing here differ (RMSE $difference)" >&2; exit 1; }
