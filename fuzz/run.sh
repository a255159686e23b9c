#!/bin/sh
# Runs the fuzz targets built in BUILD (make fuzz does the building):
#
#   fuzz/run.sh BUILD SECONDS [TARGET...]
#
# For each target (all fuzz/fuzz_*.cpp when none is named): every saved
# input under fuzz/regressions/TARGET/ once, then SECONDS of fuzzing that
# starts from fuzz/corpus/TARGET. New inputs go to BUILD/fuzz-corpus/TARGET
# (the repository's corpus is only read); failing inputs to
# BUILD/fuzz-artifacts/TARGET/, logs to BUILD/fuzz-logs/ (TARGET.log for the
# fuzzing, TARGET-regressions.log for the saved inputs). Prints each
# target's executions and the total; exits 1 when any target failed.
#
# FUZZ_KEEP_GOING=1 fuzzes on past failures (libFuzzer's fork mode), so one
# run collects every failing input it meets; the run still fails at the end.
set -u

here=$(cd "$(dirname "$0")" && pwd)
build=${1:?usage: fuzz/run.sh BUILD SECONDS [TARGET...]}
seconds=${2:?usage: fuzz/run.sh BUILD SECONDS [TARGET...]}
shift 2

if [ $# -eq 0 ]; then
    for source in "$here"/fuzz_*.cpp; do
        set -- "$@" "$(basename "$source" .cpp)"
    done
fi

# Longest input worth trying, per target: a few fields more than the
# longest real input (a backup file is about 500 bytes).
max_len() {
    case $1 in
        fuzz_backup_file) echo 2048 ;;
        fuzz_cli_write | fuzz_trend_data) echo 1024 ;;
        fuzz_numbers | fuzz_write_plan) echo 512 ;;
        *) echo 160 ;;
    esac
}

export UBSAN_OPTIONS="${UBSAN_OPTIONS:-}${UBSAN_OPTIONS:+:}print_stacktrace=1:halt_on_error=1"

mkdir -p "$build/fuzz-logs"
summary="$build/fuzz-logs/summary.txt"
: > "$summary"
failed=""
total=0

for target in "$@"; do
    binary="$build/fuzz/$target"
    log="$build/fuzz-logs/$target.log"
    regression_log="$build/fuzz-logs/$target-regressions.log"
    corpus="$build/fuzz-corpus/$target"
    artifacts="$build/fuzz-artifacts/$target"
    mkdir -p "$corpus" "$artifacts"
    : > "$log"
    : > "$regression_log"
    if [ ! -x "$binary" ]; then
        echo "$target: $binary is missing; build the veltra_fuzzers target first" >&2
        failed="$failed $target"
        continue
    fi

    # Saved inputs that once failed must pass before anything else.
    regressions_failed=0
    if [ -d "$here/regressions/$target" ]; then
        for input in "$here/regressions/$target"/*; do
            [ -f "$input" ] || continue
            if ! "$binary" "$input" > "$regression_log.one" 2>&1; then
                echo "$target: regression $(basename "$input") fails:" >&2
                grep -E -A 1 "FUZZ_CHECK|runtime error|ERROR: AddressSanitizer" "$regression_log.one" | head -n 2 >&2
                regressions_failed=1
            fi
            cat "$regression_log.one" >> "$regression_log"
        done
        rm -f "$regression_log.one"
    fi

    echo "$target: fuzzing for $seconds s" >&2
    # The target list was expanded when the loop began: "$@" is free here.
    set -- -max_total_time="$seconds" -max_len="$(max_len "$target")" -timeout=30 -print_final_stats=1 \
        -artifact_prefix="$artifacts/"
    if [ "${FUZZ_KEEP_GOING:-0}" = 1 ]; then
        set -- "$@" -fork=1 -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1
    fi
    started=$(date +%s)
    "$binary" "$@" "$corpus" "$here/corpus/$target" >> "$log" 2>&1
    status=$?
    elapsed=$(( $(date +%s) - started ))

    if [ "${FUZZ_KEEP_GOING:-0}" = 1 ]; then
        # Fork mode reports "#RUNS: cov: ... oom/timeout/crash: A/B/C ..." lines.
        runs=$(awk '/^#[0-9]+: cov:/ { n = substr($1, 2) + 0 } END { print n + 0 }' "$log")
        crashes=$(awk '/^#[0-9]+: cov:/ { for (i = 1; i <= NF; i++) if ($i == "oom/timeout/crash:") c = $(i + 1) }
                       END { split(c, p, "/"); print p[1] + p[2] + p[3] }' "$log")
        rate=$(( runs / (elapsed > 0 ? elapsed : 1) ))
        [ "$crashes" -gt 0 ] && status=1
    else
        runs=$(awk '/^stat::number_of_executed_units:/ { n = $2 } END { print n + 0 }' "$log")
        rate=$(awk '/^stat::average_exec_per_sec:/ { n = $2 } END { print n + 0 }' "$log")
    fi
    total=$((total + runs))

    result=passed
    if [ "$status" -ne 0 ] || [ "$regressions_failed" -ne 0 ]; then
        result=FAILED
        failed="$failed $target"
        if [ "$status" -ne 0 ]; then
            echo "$target: fuzzing failed (log: $log, inputs: $artifacts):" >&2
            grep -E "FUZZ_CHECK|^  input:|runtime error|ERROR: AddressSanitizer|ERROR: libFuzzer" "$log" | head -n 6 >&2
        fi
    fi
    printf '%-22s %12s executions %8s exec/s  %s\n' "$target" "$runs" "$rate" "$result" >> "$summary"
done

echo
cat "$summary"
printf '%-22s %12s executions\n' "total" "$total"
if [ -n "$failed" ]; then
    echo "Failed:$failed" >&2
    exit 1
fi
