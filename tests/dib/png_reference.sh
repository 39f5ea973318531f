#!/usr/bin/env bash
# Reference pixels for the PNG tests, from ImageMagick: every image of
# libpng's PngSuite and contrib/testpngs as 16-bit little-endian RGBA, in
# <build>/png-check/reference/<name>.rgba, with <name>.size holding
# "width height". The test program compares its decoding with them.
#   png_reference.sh build-dir
set -eu
build=$1
src=$build/deps/src/libpng/contrib
out=$build/png-check/reference
rm -rf "$out" && mkdir -p "$out"
convert=/usr/bin/convert-im6.q16
for f in "$src"/pngsuite/*.png "$src"/testpngs/*.png; do
  name=$(basename "$(dirname "$f")")_$(basename "$f" .png)
  # The stored samples: "-set colorspace sRGB" keeps ImageMagick from
  # re-encoding images it reads as linear (a gAMA of 1.0).
  "$convert" "$f" -set colorspace sRGB -endian LSB -depth 16 "rgba:$out/$name.rgba"
  /usr/bin/identify-im6.q16 -format '%w %h\n' "$f" | head -n 1 >"$out/$name.size"
  ln -sf "$f" "$out/$name.png"
done
echo "png_reference: $(ls "$out"/*.rgba | wc -l) reference images"
