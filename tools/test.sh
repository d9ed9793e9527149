#!/usr/bin/env bash
# Sets up, builds and runs every test: the format check (clang-format 14, as
# setup installs it) and the core folders' dependency order, the default build
# (unit, fuzz replay, interop and GUI tests, the GUI ones under a virtual X
# server), the unit tests
# again under AddressSanitizer + UndefinedBehaviorSanitizer, and a short
# libFuzzer run of every reader.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh

JOBS=$(nproc)
FUZZ_SECONDS=${FUZZ_SECONDS:-20}

echo "== format and dependency order"
bash tools/check-format.sh
bash tools/check-dependencies.sh

echo "== default build"
cmake --preset default >/dev/null
cmake --build --preset default -j "$JOBS"
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --preset default -j "$JOBS"

echo "== asan build (unit tests)"
cmake --preset asan >/dev/null
cmake --build --preset asan -j "$JOBS"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp \
  ctest --preset asan -j "$JOBS"

echo "== fuzz smoke (${FUZZ_SECONDS}s per reader)"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$JOBS"
shopt -s nullglob
for bin in build/fuzz/fuzz/fuzz_*; do
  name=$(basename "$bin"); name=${name#fuzz_}
  scratch=$(mktemp -d)
  mkdir -p "fuzz/corpus/$name"
  # Assimp keeps some memory of malformed files for good; those leaks are
  # suppressed as in the unit tests, any other leak fails the run.
  LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp \
  "$bin" -max_total_time="$FUZZ_SECONDS" -rss_limit_mb=2048 -print_final_stats=0 \
    "$scratch" "fuzz/corpus/$name" 2>&1 | tail -2
  rm -rf "$scratch"
done
echo "== all tests passed"
