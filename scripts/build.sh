#!/usr/bin/env bash
# Configures and builds one of the CMake presets (CMakePresets.json: default, asan, tsan, fuzz; LQ_PRESET, default
# "default") into its folder, or into $BUILD_DIR, passing extra arguments to CMake. LQ_TARGETS limits the build to
# those targets. ccache is used where it is installed, with paths taken relative to the checkout, so that a fresh
# clone in another folder reuses what an earlier build compiled.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
preset=${LQ_PRESET:-default}
args=(--preset "$preset")
if [[ -n ${BUILD_DIR:-} ]]; then args+=(-B "$BUILD_DIR"); fi
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR=$root CCACHE_NOHASHDIR=1
  args+=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cd "$root"
cmake "${args[@]}" "$@" >/dev/null
# The folders CMakePresets.json gives each preset.
case $preset in
default) preset_dir=$root/build ;;
*) preset_dir=$root/build-$preset ;;
esac
build_dir=${BUILD_DIR:-$preset_dir}
targets=()
for t in ${LQ_TARGETS:-}; do targets+=(--target "$t"); done
cmake --build "$build_dir" -j "$(nproc)" "${targets[@]}"
