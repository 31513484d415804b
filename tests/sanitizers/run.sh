#!/usr/bin/env bash
# Builds the product and its tests with AddressSanitizer and UndefinedBehaviorSanitizer in
# build-asan and runs the whole ctest suite there. Fails on a failing test and on any report of
# the sanitizers, also one from a process whose exit status no test looks at (a server a test
# started): every process writes its reports to a file of its own in build-asan/sanitizer-reports,
# and any file found there fails the run.
#
#   tests/sanitizers/run.sh        scripts/test.sh runs it after the normal suite
#
# The tests that go through a Firebird server need the environment scripts/test.sh sets up
# (FAT_FB_SERVER_DIR, FAT_REQUIRE_SERVER); without it they behave as in a plain ctest run.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
build=${FAT_ASAN_BUILD_DIR:-$root/build-asan}
reports=$build/sanitizer-reports
jobs=${FAT_JOBS:-$(nproc)}

# Leaks are checked at the exit of every process; halt_on_error stops at the first report, so
# that a test cannot pass after one. Set for the build too: the build lists each test program's
# tests by running it.
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:check_initialization_order=1:strict_init_order=1:log_path=$reports/asan"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:log_path=$reports/ubsan"
# use_tls=0: the leak checker of GCC 12 crashes ("Tracer caught signal 11") reading the
# thread-local storage of libraries loaded with dlopen under glibc 2.36, as the Firebird engine
# and the Qt plugins are; the product keeps nothing in thread-local storage, so no leak of ours
# hides there. What third-party libraries keep only there is in lsan.supp.
export LSAN_OPTIONS="suppressions=$root/tests/sanitizers/lsan.supp:print_suppressions=0:use_tls=0"

rm -rf "$reports"
mkdir -p "$reports"
started=$SECONDS
# -O1 keeps the instrumented tests fast and the build short; -g names the lines in reports.
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" -DFAT_SANITIZE=ON >/dev/null
cmake --build "$build" -j"$jobs"
built=$SECONDS

status=0
(cd "$build" && ctest --output-on-failure -j"$jobs" --timeout 1200) || status=1
echo "sanitizers: build $((built - started)) s, tests $((SECONDS - built)) s"

found=("$reports"/*)
if [ -e "${found[0]}" ]; then
  echo "sanitizers: ${#found[@]} report(s):" >&2
  for f in "${found[@]}"; do
    echo "== $f" >&2
    cat "$f" >&2
  done
  status=1
fi
exit $status
