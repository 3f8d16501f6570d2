#!/usr/bin/env bash
# Installs the Debian packages the project needs, only those missing: with --run (the default) what building and
# running the panel and the simulator take, with --all also the test, sanitizer, packaging and style tools.
# Given package names, installs those instead (for scripts with needs of their own, such as the screenshot).
set -euo pipefail

run_packages=(
  cmake g++ make pkg-config ccache
  qt6-base-dev qt6-qpa-plugins libgl-dev
  qt6-charts-dev libqt6opengl6-dev
  qt6-tools-dev qt6-l10n-tools
  fonts-wqy-zenhei tzdata
)
test_packages=(
  libgtest-dev googletest
  xvfb xauth imagemagick
  libmodbus-dev mbpoll
  clang libclang-rt-14-dev clang-format clang-tidy
  scdoc librsvg2-bin
  dpkg-dev lintian desktop-file-utils appstream
)

case ${1:-} in
"" | --run) packages=("${run_packages[@]}") ;;
--all) packages=("${run_packages[@]}" "${test_packages[@]}") ;;
*) packages=("$@") ;;
esac

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  if [[ $(id -u) -ne 0 ]]; then sudo_cmd=(sudo); fi
  "${sudo_cmd[@]}" apt-get update -q
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
