#!/usr/bin/env bash
# Installs what is missing, builds, and starts the panel with a simulated controller on COM4.
# Arguments go to the simulator (build/pw5-sim --help lists them), e.g. ./run.sh --fault phase-loss;
# those after "--" go to the panel, e.g. ./run.sh --fault phase-loss -- --open --poll
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)

# Before installing and building, which take minutes for a window that could not be shown.
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  cat >&2 <<'MSG'
No display: neither DISPLAY nor WAYLAND_DISPLAY is set, so the panel's window has nowhere to appear.
Run it on a virtual X server instead:
  xvfb-run -a -s "-screen 0 1024x768x24" ./run.sh
(scripts/screenshot.sh does that and saves a picture of the running panel.)
MSG
  exit 2
fi

"$root/scripts/install-deps.sh" --run
# Only the two programs: the tests, benchmarks and packaging are ./test.sh's.
LQ_TARGETS="lq-modbus-rtu pw5-sim" "$root/scripts/build.sh" -DLQ_BUILD_TESTS=OFF -DLQ_BUILD_PACKAGING=OFF

sim_args=()
panel_args=()
while (($#)); do
  if [[ $1 == -- ]]; then
    shift
    panel_args=("$@")
    break
  fi
  sim_args+=("$1")
  shift
done

# A private alias folder: the simulator's COM4 neither replaces nor is shadowed by an alias of the user's.
work=$(mktemp -d "${TMPDIR:-/tmp}/lq-run.XXXXXX")
sim_pid=
panel_pid=
stop() {
  if [[ -n $1 ]] && kill -0 "$1" 2>/dev/null; then
    kill -TERM "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
  fi
}
cleanup() {
  stop "$panel_pid"
  stop "$sim_pid"
  exec 3<&- 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

export LQ_MODBUS_PORTS=$work/ports
mkfifo "$work/sim-out"
"$root/build/pw5-sim" --port COM4 "${sim_args[@]}" >"$work/sim-out" &
sim_pid=$!
# Kept open for the simulator's whole life, so it never writes into a pipe without a reader.
exec 3<"$work/sim-out"
if ! read -r -t 10 -u 3 device; then
  echo "The simulator did not start (no device path within 10 s)." >&2
  exit 1
fi
echo "Simulated controller on $device as COM4 (slave 1, 19200 8N2). Click \"打开串口\", tick \"通讯\"."

# In the background, so that a signal to this script is handled at once rather than after the panel ends.
"$root/build/lq-modbus-rtu" "${panel_args[@]}" &
panel_pid=$!
status=0
wait "$panel_pid" || status=$?
panel_pid=
exit "$status"
