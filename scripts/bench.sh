#!/usr/bin/env bash
# Builds the benchmark in Release and runs it at both locations: the embedded engine and a
# Firebird server on 127.0.0.1:3050, started here (as the test command starts one) and stopped at
# the end. Arguments go to bench_load (sizes, --phases, --window, ...); without any it measures
# N = 1,000, 10,000 and 50,000 and the window run at 10,000. The generated databases are kept in
# /tmp/fat-bench (FAT_BENCH_DIR) and reused. Not part of the test command.
#   scripts/bench.sh [bench_load arguments]      BUILD_DIR (default build-bench), JOBS (default 2)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=${BUILD_DIR:-build-bench}

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target bench_load -j"${JOBS:-2}"

state=$(mktemp -d /tmp/fat-bench-server.XXXXXX)
cleanup() { "$root/scripts/fbserver.sh" stop "$state" || true; rm -rf "$state"; }
trap cleanup EXIT
scripts/fbserver.sh start "$state"

export FAT_FB_SERVER_DIR="$state/db"
export QT_QPA_PLATFORM=offscreen
"$build/tools/bench_load" "$@"
