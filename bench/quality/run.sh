#!/usr/bin/env bash
# The colour reduction's quality table over a fixed set of free pictures: five of
# scikit-image's sample photos (python3-skimage) and ImageMagick's built-in logo: and rose:,
# each made 320 x 200 (filled, centred) into a temporary folder, never kept.
#   bench/quality/run.sh [BUILD_DIR] [--palette P] [--compare DIR]
# --compare DIR: another converter's pictures of the same photos, NAME_KEY.png (KEY: koa,
# art, fli, afl), measured the same way.
set -euo pipefail
"$(dirname "$0")/../../scripts/install-deps.sh" --bench
build=${1:-build}
shift || true
data=/usr/lib/python3/dist-packages/skimage/data
magick=$(command -v convert-im6.q16 || command -v magick || command -v convert)
photos=$(mktemp -d)
trap 'rm -rf "$photos"' EXIT
for f in astronaut.png chelsea.png coffee.png rocket.jpg motorcycle_left.png logo: rose:; do
  case $f in
    *:) source=$f; name=${f%:} ;;
    *) source=$data/$f; name=${f%.*} ;;
  esac
  "$magick" "$source" -resize '320x200^' -gravity center -extent 320x200 -strip \
    "PNG24:$photos/$name.png"
done
"$build/bin/quality_table" "$@" "$photos"/*.png
