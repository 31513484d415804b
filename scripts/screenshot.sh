#!/usr/bin/env bash
# Takes a picture of the program on the demo database inside a virtual X server.
#   scripts/screenshot.sh <out.png> [--open billing|reprocess]
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "$1")
shift
scripts/setup.sh
mkdir -p build/demo
build/tools/demo_db "$PWD/build/demo/demo.fdb"
printf '[BDADOS]\nDB=%s\nCHAVE=1\n[Banco]\nVersaoFirebird=3\n' "$PWD/build/demo/demo.fdb" > build/tools/screenshot.ini
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1366x768x24" build/tools/screenshot "$out" "$@"
