#!/usr/bin/env bash
# Sets everything up and runs the whole test suite: builds, starts a Firebird server on
# 127.0.0.1 for the tests that go through one, runs every test, runs them again built with the
# address and undefined-behaviour sanitizers (tests/sanitizers/run.sh; FAT_SKIP_SANITIZERS=1
# skips that), runs the fuzz targets (scripts/fuzz.sh), stops the server.
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
cd "$root"
# The whole suite again, built with AddressSanitizer and UndefinedBehaviorSanitizer in
# build-asan; any report fails the run. FAT_SKIP_SANITIZERS=1 skips it for a quick local run
# (CI never sets it).
if [ "${FAT_SKIP_SANITIZERS:-0}" = 1 ]; then
  echo "test.sh: FAT_SKIP_SANITIZERS=1: the sanitizer build and its tests are skipped" >&2
else
  tests/sanitizers/run.sh
fi
scripts/fuzz.sh
