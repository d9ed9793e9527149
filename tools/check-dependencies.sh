#!/usr/bin/env bash
# Checks that the core folders depend one way. Each folder may include its own
# files and those of the folders before it in the order below; a folder on the
# same line is a peer. Including a later folder, any folder outside the core
# (gl/, ui/, cli/, tools/, tests/, ...) or a Qt, OpenGL or EGL header fails.
#
#   bash tools/check-dependencies.sh [SOURCE_DIR]
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root"

layers=(
  "math"
  "fileio"
  "image mesh skeleton"
  "xfile"
  "model"
  "weights weighttools"
  "importer"
  "anim"
  "export gltf"
  "render"
  "history"
  "editor/panels"
  "editor"
)
declare -A rank
for i in "${!layers[@]}"; do
  for folder in ${layers[i]}; do
    rank[$folder]=$i
  done
done

include_line='^[[:space:]]*#[[:space:]]*include[[:space:]]*([<"])([^>"]+)[>"]'
forbidden_system='^(Qt[A-Za-z]*/|Q[A-Z][A-Za-z]*(\.h)?$|GL/|GLES[0-9]*/|EGL/|KHR/|epoxy/)'
failures=0
for folder in "${!rank[@]}"; do
  [ -d "$folder" ] || continue
  files=$(find "$folder" -maxdepth 1 -type f \( -name '*.h' -o -name '*.cpp' \) | sort)
  [ -n "$files" ] || continue
  # file:line:text of every include line of the folder's files.
  while IFS= read -r hit; do
    file=${hit%%:*}
    rest=${hit#*:}
    line_number=${rest%%:*}
    line=${rest#*:}
    [[ $line =~ $include_line ]] || continue
    kind=${BASH_REMATCH[1]}
    target=${BASH_REMATCH[2]}
    if [ "$kind" = "<" ]; then
      if [[ $target =~ $forbidden_system ]]; then
        echo "$file:$line_number: includes <$target>: the core has no Qt, OpenGL or EGL"
        failures=$((failures + 1))
      fi
      continue
    fi
    # The folder the target belongs to: editor/panels/x.h is in editor/panels,
    # editor/x.h in editor, anything else in its first component.
    case $target in
      editor/panels/*) used=editor/panels ;;
      */*) used=${target%%/*} ;;
      *) continue ;;  # a file beside the includer
    esac
    if [ -z "${rank[$used]+set}" ]; then
      echo "$file:$line_number: includes $target: $used/ is not part of the core"
      failures=$((failures + 1))
    elif [ "${rank[$used]}" -gt "${rank[$folder]}" ]; then
      echo "$file:$line_number: includes $target: $used/ comes after $folder/"
      failures=$((failures + 1))
    fi
  done < <(grep -HnE '^[[:space:]]*#[[:space:]]*include' $files)
done

if [ "$failures" -gt 0 ]; then
  echo "$failures include(s) against the dependency order: ${layers[*]}" >&2
  exit 1
fi
echo "dependency order kept: ${layers[*]}"
