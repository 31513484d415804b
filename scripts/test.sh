#!/usr/bin/env bash
# Sets everything up and runs the whole test suite: builds, starts a Firebird server on
# 127.0.0.1 for the tests that go through one, runs every test, stops the server.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
scripts/setup.sh

state=$(mktemp -d /tmp/fat-fbserver.XXXXXX)
cleanup() { "$root/scripts/fbserver.sh" stop "$state" || true; rm -rf "$state"; }
trap cleanup EXIT
scripts/fbserver.sh start "$state"

export FAT_FB_SERVER_DIR="$state/db"
export FAT_REQUIRE_SERVER=1
export QT_QPA_PLATFORM=offscreen
cd build
ctest --output-on-failure -j"$(nproc)" --timeout 600
"$root/scripts/fuzz.sh"
