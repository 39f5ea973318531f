#!/usr/bin/env bash
# Checks the files the PNG tests saved, outside Wine: pngcheck accepts each
# one, ImageMagick reads back the pixels the test wrote beside it
# (<name>.rgba, 8-bit RGBA), and the interlace method is the one asked for
# (names ending in "-adam7").
#   png_saved_check.sh build-dir
set -eu
dir=$1/png-check/saved
count=0
for f in "$dir"/*.png; do
  name=${f%.png}
  pngcheck -q "$f" >/dev/null || { echo "pngcheck refuses $f"; pngcheck "$f"; exit 1; }
  /usr/bin/convert-im6.q16 "$f" -depth 8 "rgba:$name.im.rgba"
  cmp -s "$name.im.rgba" "$name.rgba" || { echo "pixels differ: $f"; exit 1; }
  header=$(pngcheck -v "$f" | sed -n 3p)
  case $name in
    *-adam7) echo "$header" | grep -q ', interlaced' || { echo "not interlaced: $f"; exit 1; } ;;
    *) echo "$header" | grep -q 'non-interlaced' || { echo "interlaced: $f"; exit 1; } ;;
  esac
  count=$((count + 1))
done
[ "$count" -ge 4 ] || { echo "only $count saved files to check"; exit 1; }
echo "png_saved_check: $count saved PNG files accepted by pngcheck and read back by ImageMagick"
