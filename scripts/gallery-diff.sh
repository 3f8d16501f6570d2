#!/usr/bin/env bash
# Compares the widget gallery of a base commit with the one of the work tree, pixel for pixel.
# Usage: scripts/gallery-diff.sh [BASE] [OUT]
#   BASE  commit whose widgets give the reference picture (default HEAD)
#   OUT   folder for base.png, new.png and diff.png (default: a new temporary folder)
# Builds the base's gallery in OUT from `git archive`, so neither the work tree nor build/ is touched by
# it, and the work tree's gallery in build/. Prints the number of differing pixels; exits 0 when there
# are none, 1 when some differ (diff.png marks them in red), 2 on any other failure.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
base=${1:-HEAD}
out=$(realpath -m "${2:-$(mktemp -d "${TMPDIR:-/tmp}/lq-gallery-diff.XXXXXX")}")
trap 'echo "gallery-diff: failed" >&2; exit 2' ERR

"$root/scripts/install-deps.sh" imagemagick >&2
"$root/scripts/install-deps.sh" >&2
mkdir -p "$out/base-src"
git -C "$root" archive "$(git -C "$root" rev-parse --verify "$base^{commit}")" | tar -x -C "$out/base-src"
cmake -S "$out/base-src" -B "$out/base-build" >/dev/null
cmake --build "$out/base-build" -j 2 --target lq_widgets_gallery >/dev/null
"$root/scripts/build.sh" >/dev/null

export QT_QPA_PLATFORM=offscreen
"$out/base-build/widgets/lq_widgets_gallery" "$out/base.png" 2>/dev/null
"$root/build/widgets/lq_widgets_gallery" "$out/new.png" 2>/dev/null

# `compare` prints the count of differing pixels (AE) on standard error and exits 1 when there are any.
result=0
differing=$(compare -metric AE "$out/base.png" "$out/new.png" "$out/diff.png" 2>&1) || result=$?
if ((result > 1)); then
  echo "$differing" >&2
  exit 2
fi
echo "$differing pixels differ from $base (pictures in $out)"
exit "$result"
