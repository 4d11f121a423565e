# Sourced by the window tests that play against the world table: a real
# kolvane-server on a free loopback port, its database in the work folder,
# stopped by the caller's cleanup (its pid is in EXTRA_PIDS).
#
#   start_leaderboard SERVER DB    sets LEADERBOARD_URL and LEADERBOARD_PID
#   stop_leaderboard               SIGTERM, and waits for it

LEADERBOARD_PID=
LEADERBOARD_URL=

start_leaderboard() {
    local server=$1 db=$2 i
    : >"$WORK/leaderboard.out"
    "$server" --listen 127.0.0.1:0 --db "$db" --workers 1 --submit-rate 0 --ticket-rate 0 \
        >"$WORK/leaderboard.out" 2>>"$WORK/leaderboard.log" &
    LEADERBOARD_PID=$!
    EXTRA_PIDS+=("$LEADERBOARD_PID")
    # It says where it listens once it is ready: 20 s at most.
    for ((i = 0; i < 200; i++)); do
        LEADERBOARD_URL=$(sed -n 's|^kolvane-server: listening on \(http://127\.0\.0\.1:[0-9]*\)/$|\1|p' \
            "$WORK/leaderboard.out")
        [[ -n $LEADERBOARD_URL ]] && return 0
        kill -0 "$LEADERBOARD_PID" 2>/dev/null || break
        sleep 0.1
    done
    cat "$WORK/leaderboard.log"
    fail "kolvane-server did not start"
}

stop_leaderboard() {
    kill "$LEADERBOARD_PID" 2>/dev/null
    wait "$LEADERBOARD_PID" 2>/dev/null
    LEADERBOARD_PID=
}

# The settings the world table needs, with the lines given after it
# (name = value), written to FILE.
write_world_settings() {
    local file=$1
    shift
    mkdir -p "$(dirname "$file")"
    {
        echo "server = $LEADERBOARD_URL"
        echo "name = Tester"
        printf '%s\n' "$@"
    } >"$file"
}
