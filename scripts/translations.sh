#!/usr/bin/env bash
# Collects the texts of every room into the English translation file, or with --check fails when a text has
# no finished translation or the file keeps one for a text that is gone. Edit the file with Qt Linguist
# (linguist i18n/lq-modbus-rtu_en.ts) after an update.
set -euo pipefail
cd "$(dirname "$0")/.."
lupdate=${LUPDATE:-/usr/lib/qt6/bin/lupdate}
ts=i18n/lq-modbus-rtu_en.ts
rooms=(app panel widgets modbus serial monitor trend journal parameters recording)

collect() {
  "$lupdate" -silent -locations none -no-ui-lines -source-language zh_CN -target-language en \
    -tr-function-alias QT_TRANSLATE_NOOP+=LQ_TR,QT_TRANSLATE_NOOP+=LQ_TR_NOOP \
    -I . -extensions cpp,h "${rooms[@]}" -ts "$1"
}

if [[ ${1:-} != --check ]]; then
  collect "$ts"
  exit 0
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$ts" "$work/check_en.ts"
collect "$work/check_en.ts"
unfinished=$(grep -c 'type="unfinished"' "$work/check_en.ts" || true)
gone=$(grep -c -E 'type="(vanished|obsolete)"' "$work/check_en.ts" || true)
if ((unfinished + gone)); then
  echo "$ts: $unfinished text(s) without a finished English translation, $gone translation(s) of texts no longer in the sources."
  echo "Run scripts/translations.sh, then translate in Qt Linguist:"
  grep -B2 -E 'type="(unfinished|vanished|obsolete)"' "$work/check_en.ts" | grep '<source>' | head -20
  exit 1
fi
echo "$ts: every text has its English translation."
