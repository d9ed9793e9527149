#!/usr/bin/env bash
# Installs every Debian package Posewright needs to build, test and run.
# Idempotent: packages already present are skipped, so a second run takes a second.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build clang libclang-rt-14-dev clang-format-14
  qt6-base-dev libqt6opengl6-dev qt6-l10n-tools libepoxy-dev libegl-dev libgl-dev
  libegl1-mesa-dev libgl1-mesa-dri libegl-mesa0
  libpng-dev libjpeg-dev zlib1g-dev libnanoflann-dev
  libgtest-dev libgmock-dev libbenchmark-dev libassimp-dev nlohmann-json3-dev
  xvfb xauth fonts-noto-cjk locales
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

# The glTF validator runs on Node.js; Debian's is used when none is installed.
if ! command -v node >/dev/null 2>&1; then missing+=(nodejs); fi
if ! command -v npm >/dev/null 2>&1; then missing+=(npm); fi

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends --no-upgrade "${missing[@]}"
fi

# The tests run the editor under a comma-decimal locale too, and check the
# texts under a Japanese and an English one.
LOCALES=(de_DE.UTF-8 ja_JP.UTF-8 en_US.UTF-8)
for l in "${LOCALES[@]}"; do
  short=$(echo "${l%%.*}.utf8")
  if ! locale -a 2>/dev/null | grep -qx "$short"; then
    echo "setup: generating locale $l"
    $SUDO sed -i "s/^# *\(${l} UTF-8\)/\1/" /etc/locale.gen
    grep -q "^${l} UTF-8" /etc/locale.gen || echo "${l} UTF-8" | $SUDO tee -a /etc/locale.gen >/dev/null
    $SUDO locale-gen >/dev/null
  fi
done

# The validator itself, at the version pinned in its package-lock.json.
validator="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/gltf-validator"
if [ ! -d "$validator/node_modules/gltf-validator" ]; then
  echo "setup: installing the glTF validator"
  (cd "$validator" && npm ci --no-audit --no-fund --loglevel=error)
fi
