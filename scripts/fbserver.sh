#!/usr/bin/env bash
# Starts or stops a Firebird server on 127.0.0.1:3050 for the tests.
#   fbserver.sh start <state-dir>   prints nothing; writes <state-dir>/pid and <state-dir>/db
#   fbserver.sh stop <state-dir>
# SYSDBA's password is set to that of key 1 through the embedded engine first. The databases the
# server serves live in <state-dir>/db, a folder the firebird user can write.
set -euo pipefail
action=$1
state=$2
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"

port_open() { (exec 3<>/dev/tcp/127.0.0.1/3050) 2>/dev/null; }

case "$action" in
start)
  mkdir -p "$state/db"
  $SUDO chown firebird:firebird "$state/db"
  chmod 755 "$state"
  if port_open; then
    echo "a server already listens on 127.0.0.1:3050; using it" >&2
    exit 0
  fi
  printf "connect '/var/lib/firebird/3.0/system/security3.fdb' user 'SYSDBA';\ncreate or alter user SYSDBA password 'fennelrot' using plugin Srp;\ncommit;\n" \
    | $SUDO isql-fb -q >/dev/null
  # A session of its own, so that stopping it ends su and the server together.
  $SUDO setsid su -s /bin/sh firebird -c "exec /usr/sbin/firebird" >"$state/server.log" 2>&1 &
  echo $! >"$state/pid"
  for _ in $(seq 1 100); do
    port_open && exit 0
    sleep 0.1
  done
  echo "the Firebird server did not start; see $state/server.log" >&2
  exit 1
  ;;
stop)
  if [ -f "$state/pid" ]; then
    pid=$(cat "$state/pid")
    $SUDO kill -- "-$pid" 2>/dev/null || $SUDO kill "$pid" 2>/dev/null || true
    for _ in $(seq 1 50); do
      $SUDO kill -0 -- "-$pid" 2>/dev/null || break
      sleep 0.1
    done
    rm -f "$state/pid"
  fi
  ;;
*)
  echo "usage: $0 start|stop <state-dir>" >&2
  exit 2
  ;;
esac
