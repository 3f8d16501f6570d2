#!/usr/bin/env bash
# Configures and builds into build/ (or $BUILD_DIR), passing extra arguments to CMake.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build_dir" "$@" >/dev/null
cmake --build "$build_dir" -j "$(nproc)"
