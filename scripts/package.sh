#!/usr/bin/env bash
# Builds the Debian package lq-modbus-rtu_<version>_<arch>.deb from the normal build in build/ (or
# $BUILD_DIR) and prints its path as the last line. The binaries in it are stripped; its run-time
# dependencies come from dpkg-shlibdeps.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${BUILD_DIR:-$root/build}
BUILD_DIR=$build_dir "$root/scripts/build.sh" >&2
log=$(cd "$build_dir" && cpack -G DEB --config CPackConfig.cmake 2>&1) || {
  echo "$log" >&2
  exit 1
}
echo "$log" >&2
deb=$(sed -n 's/^CPack: - package: \(.*\) generated\.$/\1/p' <<<"$log")
[[ -f $deb ]] || { echo "cpack made no package" >&2; exit 1; }
echo "$deb"
