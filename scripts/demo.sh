#!/usr/bin/env bash
# Sets everything up and starts the program on an embedded demo database.
#   scripts/demo.sh             builds, creates the demo database once, starts the program
#   scripts/demo.sh --recreate  builds the demo database anew first
# Without a display (no DISPLAY set) the program runs inside a virtual X server.
set -euo pipefail
cd "$(dirname "$0")/.."
recreate=""
[ "${1:-}" = "--recreate" ] && recreate="--recreate"
scripts/setup.sh

mkdir -p build/demo
db="$PWD/build/demo/demo.fdb"
build/tools/demo_db "$db" $recreate

# The INI file beside the executable names the database (embedded: a path without a host).
cat > build/faturamento.ini <<INI
[BDADOS]
DB=$db
CHAVE=1
[Banco]
VersaoFirebird=3
INI

if [ -z "${DISPLAY:-}" ] && [ "${QT_QPA_PLATFORM:-}" != "offscreen" ]; then
  exec xvfb-run -a -s "-screen 0 1366x768x24" build/faturamento
fi
exec build/faturamento
