#!/usr/bin/env bash
# Sets up, builds and starts the editor.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)"
if [ -x build/default/ui/posewright ]; then
  exec build/default/ui/posewright "$@"
fi
echo "The editor window is not built yet; the core library, posewright-cli and the tests are."
