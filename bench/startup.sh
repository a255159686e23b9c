#!/usr/bin/env bash
# Start-up of veltra-sensor against a bare Qt Widgets window (and the same
# window with one line of text), under Xvfb:
# time until the first window is mapped, resident memory once it is up, and
# how often the idle program wakes up while its first window is shown.
#
#   bench/startup.sh [BUILD]      (default build)
#   STARTUP_RUNS=5                runs of each program
#   STARTUP_IDLE_SECONDS=5        length of the idle watch
#   STARTUP_SETTLE_SECONDS=1      wait before the idle watch (12: past the caret's rest)
#   VELTRA_SENSOR, VELTRA_BARE    other binaries than BUILD's
#
# Prints each run and the medians, and the sensor program's figures as a
# multiple of the bare window's. Timings are printed, never judged.
set -u

BUILD=${1:-build}
SENSOR=${VELTRA_SENSOR:-$BUILD/app/veltra-sensor}
BARE=${VELTRA_BARE:-$BUILD/bench/veltra-bench-bare-window}
RUNS=${STARTUP_RUNS:-5}
IDLE=${STARTUP_IDLE_SECONDS:-5}
# The idle watch starts this long after the window is up: the caret stops
# blinking after 10 s without input, so 12 watches the program left alone.
SETTLE=${STARTUP_SETTLE_SECONDS:-1}
SENSOR_TITLE='Ultrasonic Sensor Program V7'
BARE_TITLE='veltra-bench-bare-window'

for bin in "$SENSOR" "$BARE"; do
    [ -x "$bin" ] || { echo "startup: $bin is not an executable" >&2; exit 2; }
done
for tool in Xvfb xdotool; do
    command -v "$tool" >/dev/null || { echo "startup: $tool is needed" >&2; exit 2; }
done

tmp=$(mktemp -d) || exit 2
xvfb_pid=
app_pid=
# shellcheck disable=SC2317  # called from the trap
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null && wait "$app_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$tmp"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# A display of our own; the program's settings and ports folder too, so the
# user's are neither read nor changed.
display=
for n in $(seq 91 120); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -noreset >"$tmp/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.05; done
    if [ -e "/tmp/.X11-unix/X$n" ]; then display=":$n"; break; fi
    kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; xvfb_pid=
done
[ -n "$display" ] || { echo "startup: no Xvfb display could be started" >&2; exit 2; }
export DISPLAY=$display QT_QPA_PLATFORM=xcb
export XDG_CONFIG_HOME=$tmp/config VELTRA_PORTS_DIR=$tmp/ports XDG_RUNTIME_DIR=$tmp/runtime
mkdir -p "$XDG_CONFIG_HOME" "$VELTRA_PORTS_DIR" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

now_us() { echo $(($(date +%s%N) / 1000)); }
rss_kb() { sed -n 's/^VmRSS:[[:space:]]*\([0-9]*\) kB/\1/p' "/proc/$1/status"; }
# Voluntary context switches of every thread of a process: a thread that
# wakes up and has nothing more to do sleeps again, one switch per wake-up.
# (Involuntary ones count the machine's other load, not the program.)
wakeups() {
    cat /proc/"$1"/task/*/status 2>/dev/null | awk '/^voluntary_ctxt_switches:/ { s += $2 } END { print s + 0 }'
}
# User and system CPU time of the process, in clock ticks.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
median() { sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# run NAME BINARY TITLE N [ARGUMENTS]: start N, its figures appended to $tmp/NAME.
run() {
    local name=$1 bin=$2 title=$3 n=$4 start mapped ms rss s0 s1 c0 c1 window
    shift 4
    start=$(now_us)
    "$bin" "$@" >"$tmp/$name.out" 2>&1 &
    app_pid=$!
    mapped=
    for _ in $(seq 4000); do
        if window=$(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null); then
            mapped=$(now_us)
            break
        fi
        kill -0 "$app_pid" 2>/dev/null || break
        sleep 0.002
    done
    if [ -z "$mapped" ]; then
        echo "startup: $name showed no window (log: $(head -c 300 "$tmp/$name.out"))" >&2
        exit 1
    fi
    ms=$(((mapped - start) / 1000))
    # There is no window manager: give the window the keyboard focus, as a
    # desktop would (the start window's port box then shows its caret).
    xdotool windowfocus --sync "${window%%$'\n'*}" 2>/dev/null
    sleep "$SETTLE" # let start-up work that follows the first paint finish
    rss=$(rss_kb "$app_pid")
    s0=$(wakeups "$app_pid")
    c0=$(cpu_ticks "$app_pid")
    sleep "$IDLE"
    s1=$(wakeups "$app_pid")
    c1=$(cpu_ticks "$app_pid")
    kill "$app_pid" 2>/dev/null
    wait "$app_pid" 2>/dev/null
    app_pid=
    local per_s
    per_s=$(awk -v d=$((s1 - s0)) -v t="$IDLE" 'BEGIN { printf "%.1f", d / t }')
    echo "$ms $rss $per_s $((c1 - c0))" >>"$tmp/$name"
    printf '  %-14s run %d: mapped after %5d ms, RSS %6d kB, %6s wake-ups/s idle, %d CPU ticks idle\n' \
        "$name" "$n" "$ms" "$rss" "$per_s" "$((c1 - c0))"
}

echo "Xvfb $display, $RUNS runs each, ${IDLE} s idle watch"
for i in $(seq "$RUNS"); do
    # In turns, so a disturbance of the machine falls on both.
    run bare "$BARE" "$BARE_TITLE" "$i"
    run bare+text "$BARE" "$BARE_TITLE" "$i" --text
    run veltra-sensor "$SENSOR" "$SENSOR_TITLE" "$i"
done

column() { awk -v c="$2" '{ print $c }' "$tmp/$1" | median; }
echo
printf '%-16s %12s %12s %14s %16s\n' "median" "mapped (ms)" "RSS (kB)" "wake-ups/s" "idle CPU ticks"
for name in bare bare+text veltra-sensor; do
    printf '%-16s %12s %12s %14s %16s\n' "$name" "$(column "$name" 1)" "$(column "$name" 2)" \
        "$(column "$name" 3)" "$(column "$name" 4)"
done
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }'; }
for base in bare bare+text; do
    printf '%-16s %12s %12s %14s\n' "sensor / $base" \
        "$(ratio "$(column veltra-sensor 1)" "$(column "$base" 1)")" \
        "$(ratio "$(column veltra-sensor 2)" "$(column "$base" 2)")" \
        "$(ratio "$(column veltra-sensor 3)" "$(column "$base" 3)")"
done
