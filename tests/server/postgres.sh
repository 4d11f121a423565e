#!/usr/bin/env bash
# A PostgreSQL of the tests' own, from Debian's postgresql package, in a
# folder of its own, answering on 127.0.0.1 only.
#
#   postgres.sh start DIR PORT   makes DIR, initdb there, starts the server and
#                                prints its URL (database "kolvane")
#   postgres.sh stop DIR         stops it (fast: open connections are cut)
#   postgres.sh start-again DIR  starts a server that was stopped
#
# initdb and the server refuse to run as root: as root they run as the
# unprivileged user "nobody", which then owns DIR; anyone else runs them as
# themselves. fsync is off: the tests stop the database, they never pull its
# plug.
set -euo pipefail
bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
[ -x "$bin/initdb" ] || { echo "postgres.sh: Debian's postgresql package is not installed" >&2; exit 1; }
command=$1
dir=$2

as_owner() {
    if [ "$(id -u)" -eq 0 ]; then
        runuser -u nobody -- "$@"
    else
        "$@"
    fi
}

case $command in
start)
    port=$3
    rm -rf "$dir"
    mkdir -p "$dir"
    [ "$(id -u)" -eq 0 ] && chown nobody "$dir"
    as_owner "$bin/initdb" -D "$dir/data" -A trust -U kolvane -E UTF8 --locale=C.UTF-8 --no-sync >"$dir/initdb.log" 2>&1 ||
        { cat "$dir/initdb.log" >&2; exit 1; }
    cat >>"$dir/data/postgresql.conf" <<CONF
listen_addresses = '127.0.0.1'
port = $port
unix_socket_directories = '$dir'
fsync = off
synchronous_commit = off
full_page_writes = off
max_connections = 200
CONF
    as_owner "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 30 start >/dev/null
    as_owner "$bin/createdb" -h 127.0.0.1 -p "$port" -U kolvane kolvane
    echo "$port" >"$dir/port"
    echo "postgresql://kolvane@127.0.0.1:$port/kolvane"
    ;;
start-again)
    as_owner "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 30 start >/dev/null
    ;;
stop)
    [ -d "$dir/data" ] || exit 0
    as_owner "$bin/pg_ctl" -D "$dir/data" -m fast -w -t 30 stop >/dev/null 2>&1 || true
    ;;
*)
    echo "usage: postgres.sh start DIR PORT | stop DIR | start-again DIR" >&2
    exit 2
    ;;
esac
