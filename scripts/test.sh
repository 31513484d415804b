#!/usr/bin/env bash
# Sets everything up and runs the whole test suite: builds, starts a Firebird server on
# 127.0.0.1 for the tests that go through one, runs every test (with FAT_SANITIZERS=1 also again
# built with the address and undefined-behaviour sanitizers, tests/sanitizers/run.sh), runs the
# fuzz targets (scripts/fuzz.sh), stops the server.
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
# build-asan, when FAT_SANITIZERS=1: any report fails the run. Not yet part of every run: in the
# first trials the leak checker's own tracer crashed (signal 11) in several test processes, which
# is not explained yet.
if [ "${FAT_SANITIZERS:-0}" = 1 ]; then
  tests/sanitizers/run.sh
fi
scripts/fuzz.sh
