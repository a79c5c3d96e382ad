#!/usr/bin/env bash
# The main job: install what is needed, build, and stamp the bundled sample documents in a
# batch, headless: the sample seal, 40 x 30 mm, 10 mm from the right and bottom edges of
# every page, through the stamp plug-in. The stamped copies and a PNG preview of a stamped
# page go to build/stamped/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh build -DSTAMPANNOT_TESTS=OFF
out=build/stamped
rm -rf "$out"
build/bin/minireader stamp --stamp samples/seal_red.png --size 40x30 --right 10 --bottom 10 \
  --pages all --output "$out" --render-png "$out/preview.png" samples/*.pdf
echo "The stamped PDFs and preview.png are in $out/"
