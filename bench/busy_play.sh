#!/usr/bin/env bash
# Writes a replay script of busy play lasting TICKS ticks (default 100000):
# the ship turns, thrusts now and then, fires every fourth tick and its
# special weapon every 200 ticks, and S starts a new game whenever one ends.
#
#   bench/busy_play.sh [TICKS] > busy.script
set -euo pipefail
ticks=${1:-100000}
awk -v total="$ticks" 'BEGIN {
    print "# Busy play, " total " ticks (written by bench/busy_play.sh)."
    done = 0
    for (block = 0; done < total; block++) {
        turn = (block % 3 == 2) ? "LEFT" : "RIGHT"
        print "press S"
        print "down " turn
        if (block % 4 == 1) print "down UP"
        for (k = 0; k < 10 && done < total; k++) {
            n = (total - done < 4) ? total - done : 4
            print "press SPACE"
            print "tick " n
            done += n
        }
        print "up " turn
        print "up UP"
        if (block % 5 == 4) print "press X"
    }
}'
