#!/usr/bin/env bash
# Installs what the product needs on Debian 12 (only what is missing), then configures and
# builds it in build/. Runs as root or through sudo.
set -euo pipefail
cd "$(dirname "$0")/.."

PACKAGES=(
  build-essential cmake pkg-config
  firebird-dev libfbclient2 firebird3.0-server-core firebird3.0-utils firebird3.0-server
  qt6-base-dev libgl-dev libcurl4-openssl-dev zlib1g-dev
  googletest libgtest-dev
  clang-14 libclang-rt-14-dev
  libasan8 libubsan1 liblsan0
  xvfb xauth
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  # The server package must not try to start a service while it is installed.
  $SUDO env DEBIAN_FRONTEND=noninteractive apt-get update -q
  $SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

BUILD_DIR=${BUILD_DIR:-build}
cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo ${CMAKE_EXTRA_ARGS:-} >/dev/null
cmake --build "$BUILD_DIR" -j"$(nproc)"
