#!/usr/bin/env bash
# Makes again every docs/ picture whose making does not depend on the simulator's timing, and compares each
# with the committed one pixel for pixel: the offscreen and Xvfb renderings are deterministic on one machine,
# so any differing pixel means the picture is out of date (make it again: docs/developing.md, Screenshots).
# Usage: check_screens.sh BUILD_DIR DOCS_DIR
set -euo pipefail
build=$1
docs=$2
out=$(mktemp -d "${TMPDIR:-/tmp}/lq-screens.XXXXXX")
trap 'rm -rf "$out"' EXIT
export QT_QPA_PLATFORM=offscreen

snapshot=$build/tests/panel/panel_snapshot
"$snapshot" "$out/panel-start.png"
"$snapshot" "$out/panel-register-image.png" live
"$snapshot" "$out/panel-entries.png" entries
"$snapshot" "$out/panel-wide.png" wide
"$snapshot" "$out/en-panel.png" live en
"$build/tests/panel/panel_command_screens" "$out" >/dev/null
# The port list is a popup, which the offscreen platform does not show.
xvfb-run -a -s "-screen 0 1600x900x24" env QT_QPA_PLATFORM=xcb "$build/tests/panel/panel_port_screens" "$out" >/dev/null
"$build/widgets/lq_widgets_gallery" "$out/widgets-gallery.png"
"$build/tests/panel/monitor/panel_monitor_english_screens" "$out" 2>/dev/null
"$build/tests/panel/panel_english_tool_screens" "$out"
# Of the laptop screens' pictures, docs/ holds two.
"$build/tests/panel/panel_screen_fit_screens" "$out/laptop" >/dev/null 2>&1
cp "$out/laptop/screen-1024x768-150-main.png" "$out/laptop/screen-1024x768-monitor.png" "$out"

failed=0
for made in "$out"/*.png; do
  name=$(basename "$made")
  # `compare` prints the number of differing pixels on standard error; it exits 2 when it cannot compare.
  differing=$(compare -metric AE "$docs/$name" "$made" null: 2>&1) || true
  if [[ $differing != 0 ]]; then
    echo "docs/$name: $differing pixels differ from what is made now" >&2
    failed=1
  fi
done
exit "$failed"
