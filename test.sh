#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test, then the sanitizer builds (skip those with
# LQ_SKIP_SANITIZERS=1). Exits non-zero on any failure.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
export QT_QPA_PLATFORM=offscreen
(cd "$root/build" && ctest --output-on-failure -j "$(nproc)")
if [[ ${LQ_SKIP_SANITIZERS:-0} != 1 ]]; then
  "$root/scripts/sanitizers.sh"
fi
