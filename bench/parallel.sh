#!/usr/bin/env bash
# A production line: veltra-cli scan and restore --port all against 1, 4 and
# 8 simulated sensors at once, each timed a few times; prints the medians
# and their ratios to the one-sensor time. Timings are printed, never judged.
#
#   bench/parallel.sh [BUILD]      (default build)
#   PARALLEL_RUNS=3                runs of each command
#   PARALLEL_SIZES="1 4 8"         how many sensors
#   PARALLEL_BAUD=19200            the rate every sensor runs at
set -u

BUILD=${1:-build}
CLI=$BUILD/cli/veltra-cli
SIM=$BUILD/sim/veltra-sim
RUNS=${PARALLEL_RUNS:-3}
SIZES=${PARALLEL_SIZES:-"1 4 8"}
for bin in "$CLI" "$SIM"; do
    [ -x "$bin" ] || { echo "parallel: $bin is not an executable" >&2; exit 2; }
done

tmp=$(mktemp -d) || exit 2
sims=()
stop_sims() {
    for pid in "${sims[@]}"; do kill "$pid" 2>/dev/null; done
    for pid in "${sims[@]}"; do wait "$pid" 2>/dev/null; done
    sims=()
}
trap 'stop_sims; rm -rf "$tmp"' EXIT
trap 'exit 130' INT TERM

now_ms() { echo $(($(date +%s%N) / 1000000)); }
median() { sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# Every sensor at one rate, the one the restored file holds too, so each
# run finds the line as the last left it and the sizes compare like for like.
RATE=${PARALLEL_BAUD:-19200}
declare -A scan_ms restore_ms
for n in $SIZES; do
    stop_sims
    export VELTRA_PORTS_DIR=$tmp/ports-$n
    mkdir -p "$VELTRA_PORTS_DIR"
    for i in $(seq "$n"); do
        "$SIM" --model 21 --port "$i" --baud "$RATE" >"$tmp/sim-$n-$i.out" 2>/dev/null &
        sims+=($!)
    done
    for i in $(seq "$n"); do
        for _ in $(seq 50); do [ -s "$tmp/sim-$n-$i.out" ] && break; sleep 0.1; done
    done
    "$CLI" backup --port 1 -o "$tmp/line.json" >/dev/null || { echo "parallel: backup failed" >&2; exit 1; }

    for r in $(seq "$RUNS"); do
        t0=$(now_ms)
        "$CLI" scan >"$tmp/scan.out" 2>&1
        code=$?
        t1=$(now_ms)
        found=$(grep -c 'DVT-14C01' "$tmp/scan.out")
        echo "$((t1 - t0))" >>"$tmp/scan-$n"
        printf '  %d sensors, run %d: scan %5d ms (exit %d, %d found)' "$n" "$r" "$((t1 - t0))" "$code" "$found"
        t0=$(now_ms)
        "$CLI" restore --port all "$tmp/line.json" --csv >"$tmp/restore.out" 2>&1
        code=$?
        t1=$(now_ms)
        ok=$(grep -c ',0,ok$' "$tmp/restore.out")
        echo "$((t1 - t0))" >>"$tmp/restore-$n"
        printf ', restore --port all %5d ms (exit %d, %d restored)\n' "$((t1 - t0))" "$code" "$ok"
    done
    scan_ms[$n]=$(median <"$tmp/scan-$n")
    restore_ms[$n]=$(median <"$tmp/restore-$n")
done

first=${SIZES%% *}
echo
printf '%-9s %12s %10s %22s %10s\n' "sensors" "scan (ms)" "ratio" "restore --port all (ms)" "ratio"
for n in $SIZES; do
    printf '%-9s %12s %10s %22s %10s\n' "$n" "${scan_ms[$n]}" \
        "$(awk -v a="${scan_ms[$n]}" -v b="${scan_ms[$first]}" 'BEGIN { printf "%.2f", a / b }')" \
        "${restore_ms[$n]}" \
        "$(awk -v a="${restore_ms[$n]}" -v b="${restore_ms[$first]}" 'BEGIN { printf "%.2f", a / b }')"
done
