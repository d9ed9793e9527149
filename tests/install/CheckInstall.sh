#!/usr/bin/env bash
# CheckInstall.sh CMAKE BUILD_DIR PREFIX EDITOR: installs BUILD_DIR into PREFIX
# and checks the installed files; EDITOR is 1 when the editor is built.
set -euo pipefail
cmake=$1 build=$2 prefix=$3 editor=$4

fail() { echo "install: $*" >&2; exit 1; }

rm -rf "$prefix"
"$cmake" --install "$build" --prefix "$prefix" >/dev/null

programs=(posewright-cli posewright-samplegen)
if [ "$editor" = 1 ]; then programs+=(posewright); fi
for p in "${programs[@]}"; do
  [ -x "$prefix/bin/$p" ] || fail "bin/$p is missing or not executable"
done

desktop=$prefix/share/applications/posewright.desktop
[ -f "$desktop" ] || fail "the desktop entry is missing"
for line in "Type=Application" "Name=Posewright" "Exec=posewright %F" "Icon=posewright"; do
  grep -qx "$line" "$desktop" || fail "the desktop entry lacks $line"
done

icons=$prefix/share/icons/hicolor
grep -q "<svg" "$icons/scalable/apps/posewright.svg" || fail "the scalable icon is missing"
for size in 16 32 48 64 128 256; do
  png=$icons/${size}x${size}/apps/posewright.png
  [ -f "$png" ] || fail "the ${size}px icon is missing"
  # The PNG header's width field must say the size the folder promises.
  width=$(od -An -tu1 -j16 -N4 "$png" | awk '{print $1*16777216 + $2*65536 + $3*256 + $4}')
  [ "$width" = "$size" ] || fail "the ${size}px icon is $width pixels wide"
done

samples=$prefix/share/posewright/samples
for f in character.x character.dat character.prm clothes.png walk.anm wave.anm; do
  [ -s "$samples/$f" ] || fail "sample $f is missing"
done

# The installed command line, run from a scratch folder: the shaders and the
# ring marker are compiled in, the textures resolve against the samples folder.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
cli=$prefix/bin/posewright-cli
"$cli" --help | grep -q "^usage: posewright-cli COMMAND" || fail "posewright-cli --help"
"$cli" bind "$samples/character.x" "$samples/character.dat" --prm "$samples/character.prm" -o character.skm \
  >/dev/null || fail "posewright-cli bind on the installed samples"
"$cli" render character.skm --anim "$samples/wave.anm" --time 30 -o wave.png >/dev/null ||
  fail "posewright-cli render"
[ "$(head -c 4 wave.png | tail -c 3)" = "PNG" ] || fail "render wrote no PNG"
"$cli" export character.skm --anim "$samples/walk.anm" -o walk.x >/dev/null || fail "posewright-cli export"
"$cli" info walk.x | grep -Eq "^  vertices +2653$" || fail "posewright-cli info on the export: $("$cli" info walk.x)"
echo "install: $prefix holds ${#programs[@]} programs, the desktop entry, 7 icons and the samples"
