#!/usr/bin/env bash
# The installed program as a desktop sees it: install into a folder, validate the menu
# entry and the metainfo, resolve the MIME types as a file manager does, run the
# thumbnailer exactly as its .thumbnailer file says, open a picture through the installed
# image plugins, build the Debian package, check it with lintian and install and remove it
# in a throw-away root.
# Usage: package_test.sh BUILD_DIR SOURCE_DIR        (changes nothing outside a temp folder)
set -euo pipefail

build=$(cd "$1" && pwd)
source_dir=$(cd "$2" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/quendra-package-test.XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

for tool in desktop-file-validate appstreamcli update-mime-database gio lintian dpkg-deb dpkg \
            cpack; do
  command -v "$tool" >/dev/null || { echo "missing $tool: run scripts/install-deps.sh"; exit 1; }
done

# --- install into a DESTDIR ---------------------------------------------------------------
root=$work/root
DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null
usr=$root/usr
for path in bin/quendra bin/quendra-convert bin/quendra-thumbnailer \
            share/applications/quendra.desktop share/mime/packages/quendra.xml \
            share/thumbnailers/quendra.thumbnailer share/metainfo/org.quendra.Quendra.metainfo.xml \
            share/icons/hicolor/scalable/apps/quendra.svg \
            share/icons/hicolor/48x48/apps/quendra.png share/icons/hicolor/128x128/apps/quendra.png \
            share/man/man1/quendra.1.gz share/man/man1/quendra-convert.1.gz \
            share/man/man1/quendra-thumbnailer.1.gz share/doc/quendra/copyright \
            share/doc/quendra/changelog.gz; do
  [ -s "$usr/$path" ] || fail "cmake --install did not put $path"
done

# PNG width and height from the IHDR chunk.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{print $3*256+$4, $7*256+$8}'; }
# The image plugins, in Debian's folders (Qt 5's where it was built).
lib=lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH 2>/dev/null || echo x86_64-linux-gnu)
plugins=("$lib/qt6/plugins/imageformats/libquendra_c64.so"
         "$lib/gdk-pixbuf-2.0/2.10.0/loaders/libpixbufloader-quendra.so")
[ ! -f "$build/bin/plugins/qt5/imageformats/libquendra_c64.so" ] ||
  plugins+=("$lib/qt5/plugins/imageformats/libquendra_c64.so")
[ ! -f "$build/bin/plugins/qt5/kf5/thumbcreator/quendrathumbnail.so" ] ||
  plugins+=("$lib/qt5/plugins/kf5/thumbcreator/quendrathumbnail.so")
for path in "${plugins[@]}"; do
  [ -s "$usr/$path" ] || fail "cmake --install did not put $path"
done

[ "$(png_size "$usr/share/icons/hicolor/48x48/apps/quendra.png")" = "48 48" ] || fail "48 px icon"
[ "$(png_size "$usr/share/icons/hicolor/128x128/apps/quendra.png")" = "128 128" ] ||
  fail "128 px icon"

# --- menu entry and metainfo ---------------------------------------------------------------
desktop-file-validate "$usr/share/applications/quendra.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$usr/share/metainfo/org.quendra.Quendra.metainfo.xml" ||
  fail "appstreamcli validate"
grep -qx 'Exec=quendra %f' "$usr/share/applications/quendra.desktop" || fail "Exec line"
# "Open with Quendra" for the disk and tape images too.
for type in application/x-d64 application/x-d71 application/x-d81 application/x-t64 \
  application/x-pc64; do
  grep -q "^MimeType=.*;$type;" "$usr/share/applications/quendra.desktop" ||
    fail "the desktop entry does not list $type"
done

# --- the pictures to try: the build's samples and, where present, the real ones -------------
pictures=$work/pictures
mkdir -p "$pictures"
cp "$build"/bin/samples/* "$pictures"/
# The real pictures lie in shared/ beside the checkout (or beside its worktrees' folder).
real=$source_dir/../shared/real-samples
[ -d "$real" ] || real=$source_dir/../../shared/real-samples
if [ -d "$real" ]; then
  find "$real" -type f ! -name '*.md' -exec cp {} "$pictures"/ \;
elif [ "${CI:-}" = true ]; then
  echo "error: $real is missing (CI must have the real files)" >&2
  exit 1
else
  echo "note: $real is missing; only the build's samples are tried"
fi
# One of them again under an upper-case name.
cp "$build/bin/samples/koala.koa" "$pictures/SHOUTING.KOA"
# Printfox pages whose data begins with literal cell bytes rather than a run.
{ printf 'G\x0f\x0f\x0f'; head -c 31997 /dev/zero; } >"$pictures/literal.gb"
{ printf 'B\xff\x81\x81'; head -c 7997 /dev/zero; } >"$pictures/literal.bs"

# The type our MIME package gives each extension (lower case).
declare -A type_of
while read -r type extension; do type_of[$extension]=$type; done < <(
  awk -F'"' '/<mime-type type=/ {type=$2} /<glob pattern="\*\./ {print type, substr($2, 3)}' \
    "$usr/share/mime/packages/quendra.xml")
extension_of() { local name=${1##*/}; name=${name##*.}; echo "${name,,}"; }

# --- MIME types as GLib (and so GNOME's file manager) resolves them -------------------------
data=$work/xdg/share
mkdir -p "$data/mime/packages" "$work/xdg/home"
cp /usr/share/mime/packages/freedesktop.org.xml "$usr/share/mime/packages/quendra.xml" \
  "$data/mime/packages/"
update-mime-database "$data/mime" >/dev/null 2>&1
content_type() {
  XDG_DATA_HOME=$work/xdg/home XDG_DATA_DIRS=$data gio info -a standard::content-type "$1" |
    sed -n 's/.*standard::content-type: //p'
}
tried=0
untyped=()
for picture in "$pictures"/*; do
  expected=${type_of[$(extension_of "$picture")]:-}
  if [ -z "$expected" ]; then
    untyped+=("${picture##*/}")
    continue
  fi
  got=$(content_type "$picture")
  [ "$got" = "$expected" ] || fail "${picture##*/} is $got, not $expected"
  tried=$((tried + 1))
done
echo "MIME: $tried pictures resolved to their types"
# A real file is ours by its bytes alone too, as a file manager finds one without its name.
if [ -d "$real" ]; then
  unnamed=$work/unnamed
  mkdir -p "$unnamed"
  while IFS= read -r -d '' picture; do
    cp "$picture" "$unnamed/picture"
    got=$(content_type "$unnamed/picture")
    [ "$got" = image/x-c64-picture ] || fail "${picture##*/} without its name is $got"
    rm -f "$unnamed/picture"
  done < <(find "$real" -maxdepth 2 -type f ! -name '*.md' ! -path '*/disks/*' -print0)
fi
[ ${#untyped[@]} -eq 0 ] || echo "note: not tried by name (desktops leave these extensions to other kinds): ${untyped[*]}"

# Files of other kinds whose extensions the C64 formats share keep their own types.
others=$work/others
mkdir -p "$others"
{ # RPM: the lead (magic, version 3.0, binary, name, os, signature type) and an empty header
  printf '\xed\xab\xee\xdb\x03\x00\x00\x00\x00\x01quendra-test-1.0-1'; head -c 48 /dev/zero
  printf '\x00\x01\x00\x05'; head -c 16 /dev/zero
  printf '\x8e\xad\xe8\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00'
} >"$others/package.rpm"
{ # Game Boy: entry point, the boot logo at $104, a title; 32 KB
  head -c 256 /dev/zero; printf '\x00\xc3\x50\x01'
  printf '\xce\xed\x66\x66\xcc\x0d\x00\x0b\x03\x73\x00\x83\x00\x0c\x00\x0d\x00\x08\x11\x1f'
  printf '\x88\x89\x00\x0e\xdc\xcc\x6e\xe6\xdd\xdd\xd9\x99\xbb\xbb\x67\x63\x6e\x0e\xec\xcc'
  printf '\xdd\xdc\x99\x9f\xbb\xb9\x33\x3e'; printf 'QUENDRATEST'
} >"$others/game.gb"
truncate -s 32768 "$others/game.gb"
# Game Gear: di / im 1 / jp, and the SEGA header at $7FF0 of a 32 KB ROM
printf '\xf3\xed\x56\xc3\x00\x01' >"$others/game.gg"
truncate -s 32752 "$others/game.gg"
printf 'TMR SEGA\x00\x00\x00\x00\x00\x00\x00\x6c' >>"$others/game.gg"
{ # FLIC: 128-byte header (size, magic $AF12, 1 frame of 320 x 200 x 8) and an empty frame
  printf '\x90\x00\x00\x00\x12\xaf\x01\x00\x40\x01\xc8\x00\x08\x00\x03\x00\x46\x00\x00\x00'
  head -c 108 /dev/zero; printf '\x10\x00\x00\x00\xfa\xf1\x00\x00'; head -c 8 /dev/zero
} >"$others/anim.fli"
for pair in package.rpm:application/x-rpm game.gb:application/x-gameboy-rom \
            game.gg:application/x-gamegear-rom anim.fli:video/x-flic; do
  got=$(content_type "$others/${pair%%:*}")
  [ "$got" = "${pair#*:}" ] || fail "${pair%%:*} is $got, not ${pair#*:}"
done

# --- the thumbnailer, run as its .thumbnailer line says ------------------------------------
exec_line=$(sed -n 's/^Exec=//p' "$usr/share/thumbnailers/quendra.thumbnailer")
[ "$exec_line" = "quendra-thumbnailer -s %s %i %o" ] || fail "thumbnailer Exec=$exec_line"
thumbnail() { # SIZE INPUT OUTPUT
  local line=${exec_line//%s/$1}
  line=${line//%i/\"$2\"}
  line=${line//%o/\"$3\"}
  (PATH=$usr/bin:$PATH; eval "$line")
}
# Each picture's own size, from the converter's 1:1 PNGs.
sizes=$work/sizes
QT_QPA_PLATFORM=offscreen "$usr/bin/quendra-convert" -o "$sizes" "$pictures"/* 2>/dev/null || true
thumbs=$work/thumbs
mkdir -p "$thumbs"
made=0
for picture in "$pictures"/*; do
  name=${picture##*/}
  [ -n "${type_of[$(extension_of "$name")]:-}" ] || continue
  full=$sizes/${name%.*}.png
  if [ ! -f "$full" ]; then
    echo "note: the converter makes no picture of $name; the thumbnailer is not tried on it"
    continue
  fi
  read -r width height < <(png_size "$full")
  for size in 128 256; do
    out=$thumbs/$name-$size.png
    if ! thumbnail "$size" "$picture" "$out"; then
      fail "no $size thumbnail of $name"
      continue
    fi
    longer=$((width > height ? width : height))
    if [ "$longer" -gt "$size" ]; then # averaged down: the longer side is the size
      want_w=$(((width * size + longer / 2) / longer)); want_h=$(((height * size + longer / 2) / longer))
      [ "$want_w" -ge 1 ] || want_w=1; [ "$want_h" -ge 1 ] || want_h=1
    else # enlarged by the largest whole factor
      want_w=$((width * (size / longer))); want_h=$((height * (size / longer)))
    fi
    got=$(png_size "$out")
    [ "$got" = "$want_w $want_h" ] ||
      fail "$size thumbnail of $name ($width x $height) is $got, not $want_w $want_h"
    made=$((made + 1))
  done
done
echo "thumbnailer: $made thumbnails of the right size"

# Damaged or unreadable input: a non-zero exit and nothing written.
damaged=$work/damaged
mkdir -p "$damaged/in" "$damaged/out" "$damaged/in/folder.koa"
head -c 5000 "$build/bin/samples/koala.koa" >"$damaged/in/trunc.koa"
: >"$damaged/in/empty.koa"
head -c 3000 /dev/urandom >"$damaged/in/noise.gg"
for input in trunc.koa empty.koa noise.gg folder.koa missing.koa; do
  if thumbnail 128 "$damaged/in/$input" "$damaged/out/$input.png" 2>/dev/null; then
    fail "the thumbnailer accepted the damaged $input"
  fi
done
[ -z "$(ls -A "$damaged/out")" ] || fail "damaged input left files: $(ls "$damaged/out")"

# --- the installed image plugins in their hosts: a picture gives the converter's pixels ------
hosts=$work/hosts
mkdir -p "$hosts"
cp "$sizes/koala.png" "$hosts/koala.koa.png"
for version in 6 5; do
  check=$build/bin/image_check_qt$version
  [ -x "$check" ] && [ -d "$usr/$lib/qt$version/plugins" ] || continue
  QT_PLUGIN_PATH=$usr/$lib/qt$version/plugins QT_QPA_PLATFORM=offscreen \
    "$check" compare "$hosts" "$pictures/koala.koa" || fail "Qt $version reads no picture"
done
if [ -x "$build/bin/pixbuf_check" ]; then
  "$(pkg-config --variable=gdk_pixbuf_query_loaders gdk-pixbuf-2.0)" \
    "$usr/${plugins[1]}" >"$work/loaders.cache"
  GDK_PIXBUF_MODULE_FILE=$work/loaders.cache XDG_DATA_DIRS=$data XDG_DATA_HOME=$work/xdg/home \
    "$build/bin/pixbuf_check" compare "$hosts" "$pictures/koala.koa" ||
    fail "GdkPixbuf loads no picture"
fi

# --- the Debian package ----------------------------------------------------------------------
(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/deb" >/dev/null)
deb=$(ls "$work"/deb/quendra_*_amd64.deb)
echo "package: ${deb##*/}"
dpkg-deb -c "$deb" >"$work/contents"
for path in bin/quendra bin/quendra-convert bin/quendra-thumbnailer \
            share/applications/quendra.desktop share/mime/packages/quendra.xml \
            share/thumbnailers/quendra.thumbnailer share/metainfo/org.quendra.Quendra.metainfo.xml \
            share/icons/hicolor/scalable/apps/quendra.svg share/man/man1/quendra.1.gz \
            "${plugins[@]}"; do
  grep -q " \./usr/$path\$" "$work/contents" || fail "the package lacks /usr/$path"
done
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
grep -q 'libpng16' <<<"$depends" || fail "no libpng in Depends (dpkg-shlibdeps)"
# The plugins' toolkits are their hosts' own; caches are the triggers' work, not scripts'.
! grep -q -e 'libqt5' -e 'gdk-pixbuf' <<<"$depends" || fail "Depends names a plugin's toolkit"
scripts=$(dpkg-deb --ctrl-tarfile "$deb" | tar -t | grep -E 'inst$|rm$|triggers$' || true)
[ -z "$scripts" ] || fail "maintainer scripts in the package: $scripts"
lintian --tag-display-limit 0 "$deb" >"$work/lintian" 2>&1 || true
if grep -q '^E:' "$work/lintian"; then
  fail "lintian reports errors"
fi
grep -v 'running with root privileges' "$work/lintian" | sed 's/^/lintian: /' || true

# Install and remove in a throw-away root (an empty dpkg database; the libraries the
# package depends on are not in that root, so its dependencies are not checked there).
droot=$work/droot
mkdir -p "$droot/var/lib/dpkg/info" "$droot/var/lib/dpkg/updates"
: >"$droot/var/lib/dpkg/status"
dpkg_root() {
  dpkg --root="$droot" --log=/dev/null --force-not-root --force-depends "$@" >"$work/dpkg" 2>&1 ||
    { cat "$work/dpkg"; return 1; }
}
python_deb=$(ls "$work"/deb/python3-quendra_*_amd64.deb 2>/dev/null || true)
if [ -d "$build/bin/python/quendra" ]; then
  # The Python module is its own package; the main one holds none of it.
  ! grep -q 'python3' "$work/contents" || fail "the main package holds Python files"
  if [ -z "$python_deb" ]; then
    fail "no python3-quendra package"
  else
    python_depends=$(dpkg-deb -f "$python_deb" Depends)
    echo "python3-quendra Depends: $python_depends"
    grep -q 'python3 (>= 3' <<<"$python_depends" || fail "python3-quendra does not name its Python"
    lintian --tag-display-limit 0 "$python_deb" 2>&1 | grep '^E:' && fail "lintian: python3-quendra"
    # As a user would: the unpacked package's module lets Pillow save a real picture as PNG.
    dpkg-deb -x "$python_deb" "$work/python"
    if [ -f "$real/NINJA3.koa" ]; then
      (cd "$work" && cp "$real/NINJA3.koa" . &&
        PYTHONPATH=$work/python/usr/lib/python3/dist-packages /usr/bin/python3 -c \
          "import quendra.pillow, PIL.Image; PIL.Image.open('NINJA3.koa').save('n.png')" &&
        /usr/bin/python3 -c "import PIL.Image as I, sys; a, b = (I.open(f).convert('RGB') for f in sys.argv[1:]); sys.exit(a.size != b.size or a.tobytes() != b.tobytes())" \
          n.png "$sizes/NINJA3.png") || fail "Pillow through python3-quendra: NINJA3.koa"
    fi
  fi
fi
dpkg_root -i "$deb" || fail "dpkg -i in a throw-away root"
[ -x "$droot/usr/bin/quendra-thumbnailer" ] || fail "installed root lacks the thumbnailer"
[ -f "$droot/usr/${plugins[1]}" ] || fail "installed root lacks the GdkPixbuf loader"
dpkg_root -r quendra || fail "dpkg -r in a throw-away root"
left=$(find "$droot" -path "$droot/var" -prune -o -type f -print | head -5)
[ -z "$left" ] || fail "files left after removal: $left"

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "all desktop and package checks passed"
