#!/usr/bin/env bash
# The KIO thumbnail plugin, from the build: every real sample and a disk image, asked as
# Dolphin asks, give the thumbnailer's pixels; a cut file gives no preview.
# Usage: kio_test.sh BUILD_DIR SOURCE_DIR KIO_CHECK
set -euo pipefail
build=$(cd "$1" && pwd)
source_dir=$(cd "$2" && pwd)
check=$3
work=$(mktemp -d "${TMPDIR:-/tmp}/quendra-kio-test.XXXXXX")
trap 'rm -rf "$work"' EXIT
real=$source_dir/../shared/real-samples
[ -d "$real" ] || real=$source_dir/../../shared/real-samples
files=()
if [ -d "$real" ]; then
  while IFS= read -r -d '' file; do files+=("$file"); done < <(
    find "$real" -maxdepth 2 -type f ! -name '*.md' ! -path '*/disks/*' -print0 | sort -z)
  files+=("$real/disks/PicturesAndSource.d64")
else
  echo "note: $real is missing; only the build's samples are tried"
  files=("$build"/bin/samples/*)
fi
cut_from=$real/NINJA3.koa
[ -f "$cut_from" ] || cut_from=$build/bin/samples/koala.koa
head -c 5000 "$cut_from" >"$work/cut.koa"
files+=("$work/cut.koa")
mkdir -p "$work/pngs"
for file in "${files[@]}"; do
  "$build/bin/quendra-thumbnailer" -s 256 "$file" "$work/pngs/${file##*/}.png" 2>/dev/null || true
done
echo "thumbnailer: $(ls "$work/pngs" | wc -l) previews of ${#files[@]} files"
QT_QPA_PLATFORM=offscreen "$check" \
  "$build/bin/plugins/qt5/kf5/thumbcreator/quendrathumbnail.so" 256 "$work/pngs" "${files[@]}"
