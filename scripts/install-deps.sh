#!/usr/bin/env bash
# Installs the Debian packages that building, testing and fuzzing need; with --run only
# those that building and running the programs need (scripts/run.sh), with --bench those
# too that the benchmark scripts use.
# Idempotent: packages already present are left alone; nothing comes from outside apt.
# Usage: scripts/install-deps.sh [--run | --bench]
set -euo pipefail

# Building the viewer, the converter and the thumbnailer, and running them.
run_packages=(
  build-essential cmake ninja-build pkg-config ccache
  qt6-base-dev libgl-dev qt6-image-formats-plugins
  libpng-dev zlib1g-dev libdeflate-dev libgif-dev libjpeg62-turbo-dev libtiff-dev
  # the C64 displayer programs' 6502 assembler
  64tass
)

packages=(
  "${run_packages[@]}"
  # the image plugins: Qt 5 beside Qt 6, GdkPixbuf (and its loaders cache tool and thumbnailer)
  qtbase5-dev libgdk-pixbuf-2.0-dev libgdk-pixbuf2.0-bin
  # the KIO thumbnail plugin (KDE Frameworks 5) and the Python module with its Pillow plugin
  libkf5kio-dev pybind11-dev python3-dev python3-pil
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  xvfb xauth
  # the desktop files, manual pages and the Debian package, and their checks
  librsvg2-bin help2man dpkg-dev desktop-file-utils appstream shared-mime-info libglib2.0-bin
  lintian
)

case "${1:-}" in
  --run) packages=("${run_packages[@]}") ;;
  --bench)
    packages+=(
      # the benchmarks (scripts/bench-*.sh)
      hyperfine strace valgrind
      # the quality table (bench/quality): free photos of scikit-image and ImageMagick's
      python3-skimage imagemagick
    ) ;;
  "") ;;
  *) echo "usage: scripts/install-deps.sh [--run | --bench]" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
"${sudo_cmd[@]}" apt-get update
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
