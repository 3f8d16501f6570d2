#!/usr/bin/env bash
# Builds the benchmark programs and measures, in one run, the figures of the performance table:
# the panel polling the simulator (CPU, peak memory), start to first painted window (offscreen and a real X
# server), the serial and end-to-end reply latency, and mbpoll doing the same poll as a reference; then the
# trend window and the recording, and the communication monitor.
#
# Usage: bench/run_all.sh [POLL_SECONDS]      (default 60; BUILD_DIR overrides build/)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
seconds=${1:-60}
paint_runs=${LQ_BENCH_PAINT_RUNS:-5}

cmake -S "$root" -B "$build" >/dev/null
cmake --build "$build" -j 2 --target pw5-sim panel_poll exchange_latency serial_latency >/dev/null
# The trend window and the CSV recording.
cmake --build "$build" -j 2 --target trend_record >/dev/null

work=$(mktemp -d)
sim_pid=
cleanup() {
    if [[ -n $sim_pid ]]; then kill "$sim_pid" 2>/dev/null || true; wait "$sim_pid" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT
export LQ_MODBUS_PORTS=$work/ports

start_sim() {
    "$build/pw5-sim" --seed 1 >"$work/sim.out" 2>"$work/sim.err" &
    sim_pid=$!
    for _ in $(seq 100); do
        [[ -s $work/sim.out ]] && return 0
        sleep 0.05
    done
    echo "pw5-sim did not start" >&2
    exit 1
}
stop_sim() {
    kill "$sim_pid"
    wait "$sim_pid" 2>/dev/null || true
    sim_pid=
}
# Runs a command and writes "user_s system_s" of it and its children to the file $1 (getrusage with
# microseconds; /usr/bin/time rounds to 10 ms, too coarse for an idle poller).
child_usage() {
    local out=$1
    shift
    python3 -c 'import os, shutil, sys
pid = os.posix_spawn(shutil.which(sys.argv[2]), sys.argv[2:], os.environ)
_, _, r = os.wait4(pid, 0)
open(sys.argv[1], "w").write("%.6f %.6f\n" % (r.ru_utime, r.ru_stime))' "$out" "$@"
}
value() { awk -v k="$1" '$1 == k { print $2 }' "$2"; }
median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

echo "machine: $(nproc) cores, $(uname -sr), $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')" >&2

# 1. The panel polling the simulator: the driver reports its own getrusage, its parent
# the whole process.
echo "panel: polling for $seconds s ..." >&2
start_sim
QT_QPA_PLATFORM=offscreen child_usage "$work/panel.time" \
    "$build/bench/panel_poll" COM4 "$seconds" >"$work/panel.txt"
stop_sim
panel_cpu=$(value cpu_polling_s "$work/panel.txt")
panel_total=$(value cpu_total_s "$work/panel.txt")
panel_rss=$(value max_rss_kib "$work/panel.txt")
panel_accepted=$(value accepted "$work/panel.txt")
panel_deliveries=$(value deliveries "$work/panel.txt")

# 2. Start to first paint, median of several starts, offscreen and under Xvfb.
paint() {
    for _ in $(seq "$paint_runs"); do
        "$@" sh -c 'LQ_BENCH_T0_NS=$(date +%s%N) exec "$0" COM4 0 --first-paint-only' \
            "$build/bench/panel_poll" | awk '$1 == "first_paint_s" { print $2 }'
    done | median
}
echo "first paint: $paint_runs starts each ..." >&2
paint_offscreen=$(paint env QT_QPA_PLATFORM=offscreen)
paint_xvfb=$(paint xvfb-run -a env QT_QPA_PLATFORM=xcb)

# 3. Reply latency beyond the 100 ms read interval time-out.
echo "latency ..." >&2
serial_line=$("$build/bench/serial_latency" 200 1 | head -1)
exchange_line=$("$build/bench/exchange_latency" 100)

# 4. mbpoll: ten registers every 500 ms for the same time, against the same simulator.
echo "mbpoll: polling for $seconds s ..." >&2
start_sim
# Its peak memory from /usr/bin/time: a child of Python would inherit Python's peak across the exec.
child_usage "$work/mbpoll.time" /usr/bin/time -f "%M" -o "$work/mbpoll.rss" timeout -s INT "$seconds" \
    mbpoll -m rtu -a 1 -b 19200 -P none -t 4 -r 1 -c 10 -l 500 "$LQ_MODBUS_PORTS/COM4" >"$work/mbpoll.txt" 2>&1 || true
stop_sim
read -r mb_user mb_sys <"$work/mbpoll.time"
mb_rss=$(tail -1 "$work/mbpoll.rss")
mb_polls=$(grep -c '^\[1\]:' "$work/mbpoll.txt" || true)
read -r pu ps <"$work/panel.time"

awk -v s="$seconds" -v pc="$panel_cpu" -v pt="$panel_total" -v pr="$panel_rss" -v pa="$panel_accepted" \
    -v pd="$panel_deliveries" -v pu="$pu" -v ps="$ps" -v n="$paint_runs" -v po="$paint_offscreen" -v px="$paint_xvfb" \
    -v mu="$mb_user" -v ms="$mb_sys" -v mr="$mb_rss" -v mp="$mb_polls" \
    -v serial="$serial_line" -v exch="$exchange_line" 'BEGIN {
    printf "| figure | measured | target |\n|---|---|---|\n"
    printf "| panel polling %d s: CPU while polling | %.3f s = %.2f %% of one core | < 1 %% |\n", s, pc, 100 * pc / s
    printf "| panel: CPU of the whole process (start-up included, seen by its parent) | %.3f s (user %.2f, sys %.2f) | |\n", pu + ps, pu, ps
    printf "| panel: peak resident memory | %.1f MB | < 80 MB |\n", pr / 1024
    printf "| panel: deliveries, accepted replies | %d, %d (%.2f per s; 1 tick per 500 ms = 2 per s) | |\n", pd, pa, pa / s
    printf "| panel: CPU per accepted exchange | %.2f ms | |\n", (pa > 0 ? 1000 * pc / pa : 0)
    printf "| start to first painted window, offscreen (median of %d starts) | %.0f ms | < 500 ms |\n", n, 1000 * po
    printf "| start to first painted window, Xvfb (median of %d starts) | %.0f ms | < 500 ms |\n", n, 1000 * px
    printf "| serial: %s | | |\n", serial
    printf "| end to end: %s | | |\n", exch
    printf "| mbpoll polling %d s: CPU | %.3f s = %.2f %% of one core | reference |\n", s, mu + ms, 100 * (mu + ms) / s
    printf "| mbpoll: peak resident memory | %.1f MB | reference |\n", mr / 1024
    printf "| mbpoll: polls, CPU per exchange | %d, %.2f ms | reference |\n", mp, (mp > 0 ? 1000 * (mu + ms) / mp : 0)
}'

# 5. The trend window and the CSV recording (no simulator: a feed at the panel's cadence), printed as rows
# of the same table.
# One live phase per span (seven) and one without the window: at most 30 s each keeps this to about 5 min.
trend_seconds=$((seconds < 30 ? seconds : 30))
echo "trend and recording: $trend_seconds s per live phase ..." >&2
QT_QPA_PLATFORM=offscreen "$build/bench/trend_record" "$trend_seconds" 2>/dev/null >"$work/trend.txt"
awk '{ v[$1] = $2 } END {
    printf "| recording: CPU per CSV row (%d rows) | %.1f us | |\n", v["record_rows"], v["record_cpu_per_row_us"]
    printf "| recording at 2 rows per s (one per poll tick) | %.4f %% of one core | < 0.05 %% |\n", v["record_share_pct"]
    printf "| trend: 2 h of all 8 quantities at 2 Hz (%d points): series | %.1f MB (resident: +%.1f MB) | < 20 MB |\n", v["trend_points"], v["trend_series_mb"], v["trend_series_rss_mb"]
    printf "| trend: the same with the window open on it | resident +%.1f MB | < 20 MB |\n", v["trend_with_window_rss_mb"]
    printf "| trend: the same after the window showed every span | resident +%.1f MB | |\n", v["trend_after_all_spans_rss_mb"]
    split("120 60 30 10 5 2 1", spans, " ")
    split("2 h,1 h,30 min,10 min,5 min,2 min,1 min", names, ",")
    for (i = 1; i <= 7; ++i) {
        m = spans[i]
        printf "| trend window open and following, %s span over 2 h of data | +%.2f %% of one core (between jumps %.2f %%, a jump %.1f ms every %g s) | < 0.5 %% |\n", names[i], v["trend_window_" m "min_pct"], v["trend_window_" m "min_between_pct"], v["trend_window_" m "min_page_ms"], m * 6
    }
}' "$work/trend.txt"

# 6. The communication monitor: the panel with "通讯监视" open and following beside the panel alone, at the
# same time against two simulators so that both see the same machine; the rows' memory and save time; the
# default controller search against a simulator that answers only at 9600 8E1 as slave 7.
cmake --build "$build" -j 2 --target monitor_poll traffic_rows search_time >/dev/null
echo "monitor: polling for $seconds s with and without the window ..." >&2
"$build/pw5-sim" --seed 1 --port COM5 >/dev/null 2>&1 &
alone_sim=$!
"$build/pw5-sim" --seed 1 --port COM6 >/dev/null 2>&1 &
monitor_sim=$!
sleep 1
QT_QPA_PLATFORM=offscreen "$build/bench/monitor_poll" COM5 "$seconds" >"$work/alone.txt" 2>/dev/null &
alone_pid=$!
QT_QPA_PLATFORM=offscreen "$build/bench/monitor_poll" COM6 "$seconds" --monitor >"$work/monitor.txt" 2>/dev/null
wait "$alone_pid"
kill "$alone_sim" "$monitor_sim"
wait "$alone_sim" "$monitor_sim" 2>/dev/null || true
QT_QPA_PLATFORM=offscreen "$build/bench/traffic_rows" "$work" >"$work/rows.txt" 2>/dev/null
echo "monitor: the default search ..." >&2
"$build/pw5-sim" --port COM7 --baud 9600 --framing 8E1 --slave 7 --line-check >/dev/null 2>&1 &
search_sim=$!
sleep 1
QT_QPA_PLATFORM=offscreen "$build/bench/search_time" COM7 >"$work/search.txt" 2>/dev/null
kill "$search_sim"
wait "$search_sim" 2>/dev/null || true
awk -v s="$seconds" -v a="$(value cpu_polling_s "$work/alone.txt")" -v m="$(value cpu_polling_s "$work/monitor.txt")" \
    -v rows="$(value rows "$work/rows.txt")" -v heap="$(value heap_bytes "$work/rows.txt")" \
    -v save="$(value save_ms_median "$work/rows.txt")" -v savemax="$(value save_ms_max "$work/rows.txt")" \
    -v search="$(value search_s "$work/search.txt")" -v found="$(value found "$work/search.txt")" \
    -v invalid="$(value invalid "$work/search.txt")" 'BEGIN {
    printf "| monitor: panel polling %d s alone, and with the window open and following | %.2f %%, %.2f %% of one core: +%.3f %% | < 0.1 %% |\n", s, 100 * a / s, 100 * m / s, 100 * (m - a) / s
    printf "| monitor: %d traffic rows held | %.1f MB | < 10 MB |\n", rows, heap / 1048576
    printf "| monitor: saving %d rows (median of 5, slowest) | %.1f ms, %.1f ms | < 200 ms |\n", rows, save, savemax
    printf "| monitor: default controller search, 120 tries | %.1f s (found %d, data but no valid reply %d) | < 30 s |\n", search, found, invalid
}'

echo "device server: reply latency and CPU, pseudo-terminal against loopback TCP ..." >&2
cmake --build "$build" -j 2 --target device_server_latency >/dev/null
"$build/bench/device_server_latency" 200 | sed 's/^/| device server: /; s/$/ |/'
