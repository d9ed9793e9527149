#!/usr/bin/env bash
# Fails when a C++ file of the repository differs from .clang-format. Uses the
# clang-format that tools/setup.sh installs, so every machine formats alike.
#
#   bash tools/check-format.sh          list the files that differ
#   bash tools/check-format.sh --fix    format them in place
set -euo pipefail
cd "$(dirname "$0")/.."
tool=clang-format-14
command -v "$tool" >/dev/null || { echo "check-format: $tool is not installed (run tools/setup.sh)" >&2; exit 1; }
mapfile -t files < <(git ls-files '*.h' '*.cpp')
if [ "${1:-}" = "--fix" ]; then
  "$tool" -i "${files[@]}"
  exit 0
fi
differ=()
for f in "${files[@]}"; do
  "$tool" --dry-run -Werror "$f" >/dev/null 2>&1 || differ+=("$f")
done
if [ ${#differ[@]} -gt 0 ]; then
  printf '%s\n' "${differ[@]}"
  echo "${#differ[@]} file(s) differ from .clang-format: bash tools/check-format.sh --fix" >&2
  exit 1
fi
echo "all ${#files[@]} C++ files follow .clang-format"
