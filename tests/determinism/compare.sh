#!/usr/bin/env bash
# Replays the same scripts with several builds of kolvane-sim and checks that
# every build writes byte-identical traces and frames.
#
#   compare.sh OUT_DIR NAME=KOLVANE_SIM NAME=KOLVANE_SIM...
#
# The scripts: every tests/golden/*.script under its "# args:" line, and every
# tests/determinism/*.script under each of its "# args:" lines. Each run writes
# its trace and its shots into OUT_DIR/NAME/RUN/. The first build is the
# reference: the other builds' files are compared with it by cmp and deleted
# when equal (a differing file is kept, with the reference, for inspection).
# Exits 1 on any difference or failed run.
set -euo pipefail

usage() {
    echo "usage: compare.sh OUT_DIR NAME=KOLVANE_SIM NAME=KOLVANE_SIM..." >&2
    exit 2
}
(($# >= 3)) || usage
out=$1
shift
here=$(cd "$(dirname "$0")" && pwd)
tests=$(dirname "$here")
jobs=${JOBS:-2}

names=()
sims=()
for build in "$@"; do
    [[ $build == *=* ]] || usage
    names+=("${build%%=*}")
    sims+=("$(realpath "${build#*=}")")
done

# One run per line: "RUN_NAME<TAB>SCRIPT<TAB>ARGS".
runs=()
for script in "$tests"/golden/*.script; do
    name=$(basename "$script" .script)
    runs+=("$name	$script	$(sed -n 's/^# args://p' "$script" | head -n 1)")
done
for script in "$here"/*.script; do
    name=$(basename "$script" .script)
    n=0
    while IFS= read -r args; do
        n=$((n + 1))
        runs+=("$name.$n	$script	$args")
    done < <(sed -n 's/^# args://p' "$script")
done

# Runs one script in its own folder; the shots land beside the trace.
run_one() {
    local sim=$1 dir=$2 script=$3 args=$4
    mkdir -p "$dir"
    # shellcheck disable=SC2086 # the args line holds several options
    if ! (cd "$dir" && "$sim" $args --trace trace.jsonl "$script" >stdout.txt 2>stderr.txt); then
        echo "FAILED: $sim $args $script (in $dir)" >&2
        cat "$dir/stderr.txt" >&2
        return 1
    fi
    # Standard error is kept only when the game wrote to it (message boxes).
    [[ -s $dir/stderr.txt ]] || rm -f "$dir/stderr.txt"
}

status=0
rm -rf "$out"
for b in "${!names[@]}"; do
    start=$(date +%s)
    pids=()
    for run in "${runs[@]}"; do
        IFS=$'\t' read -r rname script args <<<"$run"
        run_one "${sims[$b]}" "$out/${names[$b]}/$rname" "$script" "$args" &
        pids+=($!)
        # At most $jobs runs at a time.
        while (($(jobs -rp | wc -l) >= jobs)); do sleep 0.05; done
    done
    for pid in "${pids[@]}"; do wait "$pid" || status=1; done
    echo "${names[$b]}: ${#runs[@]} runs in $(($(date +%s) - start)) s (${sims[$b]})"
done
((status == 0)) || {
    echo "determinism: a run failed" >&2
    exit 1
}

ref=${names[0]}
ticks=0
files=0
bytes=0
for run in "${runs[@]}"; do
    rname=${run%%	*}
    t=$(($(wc -l <"$out/$ref/$rname/trace.jsonl") - 1))
    ticks=$((ticks + t))
    printf '  %-22s %6d ticks, %s\n' "$rname" "$t" \
        "$(cd "$out/$ref/$rname" && ls | tr '\n' ' ')"
    for b in "${names[@]:1}"; do
        ref_list=$(cd "$out/$ref/$rname" && ls)
        got_list=$(cd "$out/$b/$rname" && ls)
        if [[ $ref_list != "$got_list" ]]; then
            echo "DIFFERENT FILES: $b/$rname has [$got_list], $ref/$rname has [$ref_list]" >&2
            status=1
            continue
        fi
        for f in $ref_list; do
            if cmp "$out/$ref/$rname/$f" "$out/$b/$rname/$f"; then
                files=$((files + 1))
                bytes=$((bytes + $(stat -c %s "$out/$ref/$rname/$f")))
                rm -f "$out/$b/$rname/$f"
            else
                echo "DIFFERENT: $b/$rname/$f differs from $ref/$rname/$f" >&2
                status=1
            fi
        done
    done
done

echo "determinism: builds ${names[*]}; ${#runs[@]} runs of $ticks ticks in all per build;" \
    "$files files ($((bytes / 1024 / 1024)) MiB) compared with $ref"
if ((status != 0)); then
    echo "determinism: FAILED (files kept under $out)" >&2
    exit 1
fi
echo "determinism: every build wrote identical traces and frames"
