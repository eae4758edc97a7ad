#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a desktop player gets: the game in
# lib/kvadriko with the sample pictures beside it, bin/kvadriko a link that resolves to that
# folder, a desktop entry and metainfo that the desktop's own validators accept, and the icons
# at their sizes.
#   check_install.sh CMAKE BUILD_DIR SOURCE_DIR
set -euo pipefail
cmake=$1 build=$2 source=$3
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

"$cmake" --install "$build" --prefix "$prefix" >/dev/null

[ -x "$prefix/lib/kvadriko/kvadriko" ] || fail "no executable in lib/kvadriko"
[ -L "$prefix/bin/kvadriko" ] || fail "bin/kvadriko is not a symbolic link"
target=$(readlink -f "$prefix/bin/kvadriko")
[ "$target" = "$(readlink -f "$prefix/lib/kvadriko/kvadriko")" ] || fail "bin/kvadriko points to $target"
folder=$(dirname "$target")
samples=0
for sample in "$source"/samples/*.jpg "$source"/samples/*.bmp "$source"/samples/*.gif; do
  cmp -s "$sample" "$folder/$(basename "$sample")" || fail "$(basename "$sample") missing beside the executable"
  samples=$((samples + 1))
done
[ "$samples" -ge 8 ] || fail "only $samples sample pictures"

desktop=$(ls "$prefix"/share/applications/*.desktop)
desktop-file-validate "$desktop" || fail "desktop entry rejected"
grep -qx 'Exec=kvadriko' "$desktop" || fail "Exec must name the program without arguments"
icon=$(sed -n 's/^Icon=//p' "$desktop")
appstreamcli validate --no-net "$prefix/share/metainfo/$icon.metainfo.xml" || fail "metainfo rejected"
for size in 32 128; do
  png="$prefix/share/icons/hicolor/${size}x${size}/apps/$icon.png"
  [ -f "$png" ] || fail "no ${size}x${size} icon"
  # PNG header: width and height as big-endian words at bytes 16 and 20.
  dims=$(od -An -tu1 -j16 -N8 "$png" | awk '{ print $3 * 256 + $4 "x" $7 * 256 + $8 }')
  [ "$dims" = "${size}x${size}" ] || fail "${size}x${size} icon is $dims"
done
echo "installed layout OK ($samples samples)"
