#!/usr/bin/env bash
# Plays the five-minute tour of README.md on the real editor under a virtual
# X server and writes its pictures to docs/screenshots/.
#
#   bash tools/screenshots.sh           builds the tour driver and writes docs/screenshots/*.png
#   bash tools/screenshots.sh --check   takes the pictures into a scratch folder and compares them
#                                       with the committed ones (the `tour` test runs this)
# Options: --driver PATH  a built posewright-tour (default: build it with the default preset)
#          --out DIR      where the pictures go
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

check=0 driver="" out=""
while [ $# -gt 0 ]; do
  case $1 in
    --check) check=1; shift ;;
    --driver) driver=$2; shift 2 ;;
    --out) out=$2; shift 2 ;;
    *) sed -n '2,10s/^# \{0,1\}//p' "$0" >&2; exit 2 ;;
  esac
done

if [ -z "$driver" ]; then
  (cd "$root" && cmake --preset default >/dev/null && cmake --build --preset default --target posewright-tour)
  driver=$root/build/default/tools/tour/posewright-tour
fi

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
args=(--samples "$root/samples" --rigged "$root/tests/data/rigs/hand.fbx" --work "$scratch/files")
if [ "$check" = 1 ]; then
  out=${out:-$scratch/pictures}
  args+=(--out "$out" --reference "$root/docs/screenshots")
else
  out=${out:-$root/docs/screenshots}
  mkdir -p "$out"
  rm -f "$out"/*.png
  args+=(--out "$out")
fi

# Always a new virtual screen of one size, without a window manager, and Qt's
# own style without a desktop's theme, so the pictures are the same wherever
# the script runs.
env -u QT_QPA_PLATFORMTHEME -u QT_SCALE_FACTOR -u QT_SCREEN_SCALE_FACTORS -u QT_FONT_DPI \
    -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION -u GNOME_DESKTOP_SESSION_ID -u KDE_FULL_SESSION \
    QT_QPA_PLATFORM=xcb QT_STYLE_OVERRIDE=fusion LC_ALL=C.UTF-8 \
    xvfb-run -a -s "-screen 0 1280x1024x24" "$driver" "${args[@]}"
