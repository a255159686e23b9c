#!/usr/bin/env bash
# Soak run of veltra-cli against the simulated sensor: one long measure run,
# then many write/read cycles, watching both processes' memory.
#
#   bench/soak.sh [BUILD]     (default build)
#   SOAK_MEASUREMENTS=1000 SOAK_CYCLES=100   sizes of the two runs
#   VELTRA_CLI, VELTRA_SIM                   other binaries than BUILD's
#
# Exits 1 when a measurement or cycle failed, or when the CLI's or the
# simulator's resident memory grew by more than 10%.
set -u

BUILD=${1:-build}
CLI=${VELTRA_CLI:-$BUILD/cli/veltra-cli}
SIM=${VELTRA_SIM:-$BUILD/sim/veltra-sim}
MEASUREMENTS=${SOAK_MEASUREMENTS:-1000}
CYCLES=${SOAK_CYCLES:-100}
LINK=(--port 1 --baud 19200)

for bin in "$CLI" "$SIM"; do
    [ -x "$bin" ] || { echo "soak: $bin is not an executable" >&2; exit 2; }
done

VELTRA_PORTS_DIR=$(mktemp -d) || exit 2
export VELTRA_PORTS_DIR
tmp=$VELTRA_PORTS_DIR   # the run's files sit next to the com1 link
sim_pid=
cli_pid=
# shellcheck disable=SC2317  # called from the trap
cleanup() {
    [ -n "$cli_pid" ] && kill "$cli_pid" 2>/dev/null
    [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
    rm -rf "$tmp"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

now_ms() { echo $(($(date +%s%N) / 1000000)); }
rss_kb() { sed -n 's/^VmRSS:[[:space:]]*\([0-9]*\) kB/\1/p' "/proc/$1/status" 2>/dev/null; }
seconds() { printf '%d.%03d' $(($1 / 1000)) $(($1 % 1000)); }
# Fails the run when $3 is more than 10% above $2, or either is unknown.
check_growth() {
    if [ -z "$2" ] || [ -z "$3" ]; then
        problem "$1 memory unknown (${2:-?} kB, then ${3:-?} kB)"
    elif [ $(($3 * 10)) -gt $(($2 * 11)) ]; then
        problem "$1 memory grew from $2 kB to $3 kB"
    fi
}

"$SIM" --model 21 --baud 19200 --port 1 >"$tmp/sim.out" 2>"$tmp/sim.log" &
sim_pid=$!
for _ in $(seq 50); do
    [ -s "$tmp/sim.out" ] && break
    kill -0 "$sim_pid" 2>/dev/null || break
    sleep 0.1
done
device=$(head -n 1 "$tmp/sim.out")
if [ -z "$device" ]; then
    echo "soak: the simulator did not start:" >&2
    cat "$tmp/sim.log" >&2
    exit 1
fi
# One read first, so the simulator's baseline includes what its first
# exchanges allocate.
"$CLI" read "${LINK[@]}" >/dev/null 2>&1
sim_rss_start=$(rss_kb "$sim_pid")

# --- Measurement soak: one CLI process, its memory sampled every second.
csv=$tmp/measure.csv
mark_rows=$(((MEASUREMENTS + 9) / 10))
cli_rss_mark='' cli_rss_end='' cli_rss_max=0
start=$(now_ms)
"$CLI" measure "${LINK[@]}" --count "$MEASUREMENTS" --interval 0 >"$csv" 2>"$tmp/measure.err" &
cli_pid=$!
tick=0
while kill -0 "$cli_pid" 2>/dev/null; do
    if [ $((tick % 10)) -eq 0 ]; then
        rss=$(rss_kb "$cli_pid")
        if [ -n "$rss" ]; then
            cli_rss_end=$rss
            [ "$rss" -gt "$cli_rss_max" ] && cli_rss_max=$rss
            rows=$(($(wc -l <"$csv") - 1))
            [ -z "$cli_rss_mark" ] && [ "$rows" -ge "$mark_rows" ] && cli_rss_mark=$rss
        fi
    fi
    tick=$((tick + 1))
    sleep 0.1
done
wait "$cli_pid"
measure_rc=$?
cli_pid=
measure_ms=$(($(now_ms) - start))
rows=$(($(wc -l <"$csv") - 1))
[ "$rows" -lt 0 ] && rows=0
failed_rows=$(tail -n +2 "$csv" | grep -c -E '(^|,)(,|$)')
sim_rss_mid=$(rss_kb "$sim_pid")

# --- Write soak: set Empty, read the block back, compare.
cycle_fail=0 cycle_max_ms=0 cycles_ms=0
for i in $(seq "$CYCLES"); do
    empty=$((i % 2 ? 290 : 300))
    t0=$(now_ms)
    if ! "$CLI" write "${LINK[@]}" --set "empty=$empty" >/dev/null 2>"$tmp/cycle.err"; then
        echo "soak: cycle $i: write empty=$empty failed: $(head -n 1 "$tmp/cycle.err")" >&2
        cycle_fail=$((cycle_fail + 1))
    elif ! "$CLI" read "${LINK[@]}" --json >"$tmp/read.json" 2>"$tmp/cycle.err"; then
        echo "soak: cycle $i: read failed: $(head -n 1 "$tmp/cycle.err")" >&2
        cycle_fail=$((cycle_fail + 1))
    else
        # The "empty" line inside the "block" object.
        got=$(sed -n '/"block": {/,/}/s/^ *"empty": \([0-9]*\),\{0,1\}$/\1/p' "$tmp/read.json")
        if [ "$got" != "$empty" ]; then
            echo "soak: cycle $i: wrote empty=$empty, block holds '${got}'" >&2
            cycle_fail=$((cycle_fail + 1))
        fi
    fi
    ms=$(($(now_ms) - t0))
    cycles_ms=$((cycles_ms + ms))
    [ "$ms" -gt "$cycle_max_ms" ] && cycle_max_ms=$ms
done
sim_rss_end=$(rss_kb "$sim_pid")

# --- Summary.
status=0
problem() { echo "FAIL: $*"; status=1; }
echo "Soak of $CLI against $SIM (model 21, 19200 baud, $device)"
echo "Measurements: $MEASUREMENTS requested in one process"
echo "  exit code        $measure_rc"
echo "  rows received    $rows"
echo "  failed rows      $failed_rows"
per_row=-
[ "$rows" -gt 0 ] && per_row=$((measure_ms / rows))
echo "  elapsed          $(seconds "$measure_ms") s, $per_row ms per measurement"
echo "  CLI RSS          ${cli_rss_mark:-?} kB at 10%, ${cli_rss_end:-?} kB at end, $cli_rss_max kB max"
echo "Write cycles: $CYCLES"
echo "  failed           $cycle_fail"
echo "  elapsed          $(seconds "$cycles_ms") s, $((cycles_ms / (CYCLES > 0 ? CYCLES : 1))) ms per cycle, $cycle_max_ms ms max"
echo "Simulator RSS      ${sim_rss_start:-?} kB at start, ${sim_rss_mid:-?} kB after measurements, ${sim_rss_end:-?} kB at end"

[ "$measure_rc" -eq 0 ] || problem "measure exited with $measure_rc: $(head -n 1 "$tmp/measure.err")"
[ "$rows" -eq "$MEASUREMENTS" ] || problem "$rows of $MEASUREMENTS measurement rows received"
[ "$failed_rows" -eq 0 ] || problem "$failed_rows measurement rows have an empty field"
[ "$cycle_fail" -eq 0 ] || problem "$cycle_fail of $CYCLES write cycles failed"
check_growth "CLI" "$cli_rss_mark" "$cli_rss_end"
check_growth "simulator" "$sim_rss_start" "$sim_rss_end"
[ "$status" -eq 0 ] && echo "PASS"
exit "$status"
