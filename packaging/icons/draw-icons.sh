#!/bin/sh
# Renders the scalable icon at the sizes that desktops look up. Run from
# anywhere (needs rsvg-convert from librsvg2-bin); writes hicolor-SIZE.png
# next to this script. The results are kept in the repository.
set -e
cd "$(dirname "$0")"
for size in 16 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" linkrake.svg -o "hicolor-$size.png"
done
