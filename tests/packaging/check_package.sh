#!/usr/bin/env bash
# Usage: check_package.sh BUILD_DIR APP_ID
# Builds the package with scripts/package.sh and checks what it holds, that the desktop entry and the
# metadata validate, that lintian finds no error (its warnings are printed), and that the programs
# unpacked into a scratch root run. Then installs the build under a scratch prefix as
# "cmake --install build --prefix ~/.local" would and checks that the menu entry starts the program.
set -euo pipefail
build_dir=$1
app_id=$2
root=$(cd "$(dirname "$0")/../.." && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

deb=$(BUILD_DIR=$build_dir "$root/scripts/package.sh" | tail -n 1)
version=$(dpkg-deb -f "$deb" Version)
[[ $(basename "$deb") == "lq-modbus-rtu_${version}_$(dpkg --print-architecture).deb" ]] || fail "package name $deb"
[[ $(dpkg-deb -f "$deb" Section) == electronics ]] || fail "section $(dpkg-deb -f "$deb" Section)"
depends=$(dpkg-deb -f "$deb" Depends)
for package in fonts-wqy-zenhei qt6-qpa-plugins libqt6widgets6 libc6; do
  grep -Eq "(^|, )$package( |,|$)" <<<"$depends" || fail "Depends lacks $package: $depends"
done

listing=$(dpkg-deb -c "$deb" | awk '{print $6}')
icons=usr/share/icons/hicolor
for path in usr/bin/lq-modbus-rtu usr/bin/pw5-sim "usr/share/applications/$app_id.desktop" \
  "$icons/scalable/apps/$app_id.svg" "$icons/16x16/apps/$app_id.png" "$icons/48x48/apps/$app_id.png" \
  "$icons/256x256/apps/$app_id.png" "usr/share/metainfo/$app_id.metainfo.xml" \
  usr/share/man/man1/lq-modbus-rtu.1.gz usr/share/man/man1/pw5-sim.1.gz usr/share/man/zh_CN/man1/lq-modbus-rtu.1.gz \
  usr/share/doc/lq-modbus-rtu/copyright usr/share/doc/lq-modbus-rtu/examples/60-lq-modbus-rtu.rules; do
  grep -qx "./$path" <<<"$listing" || fail "the package lacks /$path"
done

dpkg -x "$deb" "$scratch/root"
# Hints too: one without a main category hides the entry in a catch-all corner of the menu.
validation=$(desktop-file-validate "$scratch/root/usr/share/applications/$app_id.desktop" 2>&1) || true
[[ -z $validation ]] || fail "desktop entry: $validation"
appstreamcli validate --no-net "$scratch/root/usr/share/metainfo/$app_id.metainfo.xml"
# The menu and the software centre in Chinese too.
entry_file=$scratch/root/usr/share/applications/$app_id.desktop
for key in Name Comment; do
  grep -q "^$key=." "$entry_file" && grep -q "^$key\[zh_CN\]=." "$entry_file" || fail "desktop entry lacks $key or $key[zh_CN]"
done
for tag in name summary p; do
  grep -q "<$tag xml:lang=\"zh-CN\">" "$scratch/root/usr/share/metainfo/$app_id.metainfo.xml" || fail "metadata has no Chinese <$tag>"
done
for png in "$scratch/root/$icons"/*/apps/*.png; do
  size=$(basename "$(dirname "$(dirname "$png")")")
  read -r w0 w1 w2 w3 h0 h1 h2 h3 < <(od -An -tu1 -j16 -N8 "$png")
  [[ "$(((w0 << 24) + (w1 << 16) + (w2 << 8) + w3))x$(((h0 << 24) + (h1 << 16) + (h2 << 8) + h3))" == "$size" ]] ||
    fail "$png is not $size"
done
man_pages=(man1/lq-modbus-rtu man1/pw5-sim zh_CN/man1/lq-modbus-rtu)
for page in "${man_pages[@]}"; do
  zcat "$scratch/root/usr/share/man/$page.1.gz" | grep -q "lq-modbus-rtu $version" || fail "man page $page lacks $version"
done
# Both pages of the panel say how its language is chosen; man renders the Chinese one, where it is
# installed, without a complaint from groff (a line it cannot break, say).
# Read whole, as grep -q leaves a pipe early.
en_text=$(zcat "$scratch/root/usr/share/man/man1/lq-modbus-rtu.1.gz")
zh_page=$scratch/root/usr/share/man/zh_CN/man1/lq-modbus-rtu.1.gz
zh_text=$(zcat "$zh_page")
grep -q '^\\fB--lang\\fR' <<<"$en_text" || fail "the man page lacks --lang"
grep -q '^\\fB--lang\\fR' <<<"$zh_text" || fail "the Chinese man page lacks --lang"
grep -q '^\.SH 界面语言' <<<"$zh_text" || fail "the Chinese man page lacks its language section"
groff_said=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$zh_page" 2>&1 >/dev/null) || true
[[ -z $groff_said ]] || fail "the Chinese man page: $groff_said"

lintian_log=$scratch/lintian.log
lintian --fail-on error --display-level '>=warning' "$deb" >"$lintian_log" 2>&1 || {
  cat "$lintian_log" >&2
  fail "lintian reports an error"
}
echo "lintian warnings:"
grep -v -e '^N: ' -e 'running with root privileges' "$lintian_log" || echo "(none)"

# The unpacked programs run on their own, with nothing pointing into the build.
for program in lq-modbus-rtu pw5-sim; do
  got=$(env -i PATH=/usr/bin:/bin "$scratch/root/usr/bin/$program" --version)
  [[ $got == "$program $version" ]] || fail "$program --version said: $got"
done

cmake --install "$build_dir" --prefix "$scratch/local" >/dev/null
exec_line=$(grep '^Exec=' "$scratch/local/share/applications/$app_id.desktop")
[[ $exec_line == "Exec=$scratch/local/bin/lq-modbus-rtu" ]] || fail "installed menu entry runs ${exec_line#Exec=}"
[[ -f "$scratch/local/share/icons/hicolor/48x48/apps/$app_id.png" ]] || fail "no installed icon"
"${exec_line#Exec=}" --version >/dev/null
echo "package check passed: $deb"
