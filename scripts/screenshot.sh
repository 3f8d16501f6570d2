#!/usr/bin/env bash
# Makes docs/panel-running.png (or the path given): ./run.sh on a virtual X server, "打开串口" clicked and
# "通讯" ticked as an operator would, then a picture of the window once a few poll rounds have shown values.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

if [[ "${1:-}" != --inside ]]; then
  out=$(realpath -m "${1:-$root/docs/panel-running.png}")
  # Only this script needs them, so they are not in the main install list.
  "$root/scripts/install-deps.sh" xdotool imagemagick xvfb xauth
  # Built here, so that the window appears at once under the virtual display.
  "$root/scripts/install-deps.sh"
  "$root/scripts/build.sh"
  mkdir -p "$(dirname "$out")"
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" --inside "$out"
fi

out=$2
log=$(mktemp)
"$root/run.sh" >"$log" 2>&1 &
run_pid=$!
finish() {
  # Closing the panel makes run.sh stop the simulator and exit.
  if [[ -n ${panel_pid:-} ]]; then kill -TERM "$panel_pid" 2>/dev/null || true; fi
  wait "$run_pid" 2>/dev/null || true
  rm -f "$log"
}
trap finish EXIT

if ! wid=$(timeout 120 xdotool search --sync --name '^LQ_Modbus RTU$' | head -n 1) || [[ -z $wid ]]; then
  echo "The panel's window did not appear; run.sh said:" >&2
  cat "$log" >&2
  exit 1
fi
panel_pid=$(xdotool getwindowpid "$wid")
# Without a window manager the window may hang over the screen's edge, and the picture would be cut.
xdotool windowmove "$wid" 0 0
sleep 1
# Places in the window's own coordinates: the open/close button, then the "通讯" box.
xdotool mousemove --window "$wid" 602 134 click 1
sleep 0.5
xdotool mousemove --window "$wid" 40 43 click 1
# Two full poll rounds, and the mouse out of the way.
sleep 5
xdotool mousemove 1000 750
import -window "$wid" "$out"
echo "Saved $out"
