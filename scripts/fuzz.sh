#!/usr/bin/env bash
# Builds the libFuzzer targets (tests/fuzz: the directory client's decoding and JSON parsing, the
# datasets' filter expressions, the INI reader) with clang in build-fuzz and runs each for a
# bounded time from its seed corpus. Fails when a target crashes, leaks, breaks an invariant or
# hangs on one input; the input that did it is left in build-fuzz/artifacts/.
#
#   scripts/fuzz.sh             about 30 s per target
#   FUZZ_SECONDS=300 scripts/fuzz.sh
#
# New inputs found go to build-fuzz/corpus/<target>/ (kept between runs), never into the seeds.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
seconds=${FUZZ_SECONDS:-30}
build=$root/build-fuzz

CXX=${FUZZ_CXX:-clang++-14}
command -v "$CXX" >/dev/null || { echo "fuzz.sh: $CXX is missing (scripts/setup.sh installs clang)" >&2; exit 1; }
cmake -S tests/fuzz -B "$build" -DCMAKE_CXX_COMPILER="$CXX" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2

status=0
for target in decode_response json_parse filter_parse ini_read; do
  corpus=$build/corpus/$target
  artifacts=$build/artifacts/$target
  mkdir -p "$corpus" "$artifacts"
  dict=()
  [ -f "tests/fuzz/$target.dict" ] && dict=(-dict="tests/fuzz/$target.dict")
  echo "== fuzzing $target for ${seconds}s"
  if ! "$build/${target}_fuzzer" "$corpus" "tests/fuzz/corpus/$target" "${dict[@]}" \
         -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
         -artifact_prefix="$artifacts/" -print_final_stats=1 >"$build/$target.log" 2>&1; then
    echo "fuzz.sh: $target failed; see $build/$target.log and $artifacts/" >&2
    tail -n 40 "$build/$target.log" >&2
    status=1
  else
    grep -E "^#[0-9]+[[:space:]]+DONE" "$build/$target.log" || true
  fi
done
exit $status
