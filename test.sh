#!/usr/bin/env bash
# Installs what is missing, builds (warnings are errors), checks the house rules, and runs every test, then the
# sanitizer builds (skip those with LQ_SKIP_SANITIZERS=1). Prints the time of each stage. Exits non-zero on any
# failure.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
total=$SECONDS
stage() {
  local name=$1
  shift
  local start=$SECONDS
  echo "== $name"
  "$@"
  echo "== $name: $((SECONDS - start)) s"
}
run_tests() {
  (cd "$root/build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)" ${LQ_CTEST_ARGS:-})
}
stage "install" "$root/scripts/install-deps.sh" --all
LQ_STYLE=format stage "format" "$root/scripts/check-style.sh"
stage "build" "$root/scripts/build.sh"
stage "tests" run_tests
if [[ ${LQ_SKIP_SANITIZERS:-0} != 1 ]]; then
  stage "sanitizers" "$root/scripts/sanitizers.sh"
fi
echo "== all stages: $((SECONDS - total)) s"
