#!/usr/bin/env bash
# Builds the project twice more and runs the tests there: the whole suite under AddressSanitizer with
# UndefinedBehaviorSanitizer (preset asan, build-asan/), then the plain C++ parts (master, serial, simulator) under
# ThreadSanitizer (preset tsan, build-tsan/). Any sanitizer report fails the run.
# LQ_SANITIZERS=asan or =tsan runs only one of the two.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
which=${LQ_SANITIZERS:-asan tsan}

# Reports must fail the test that triggered them, not scroll past; the suppressions cover only leaks
# inside the system's own libraries (fontconfig, Qt's platform plugins), never the project's code.
export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1:detect_stack_use_after_return=1
export LSAN_OPTIONS=suppressions=$root/scripts/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1
export QT_QPA_PLATFORM=offscreen

for run in $which; do
  case $run in
  asan | tsan) ;;
  *) echo "unknown sanitizer run: $run" >&2; exit 2 ;;
  esac
  start=$SECONDS
  echo "== sanitizers: building build-$run"
  LQ_PRESET=$run "$root/scripts/build.sh"
  echo "== sanitizers: built build-$run in $((SECONDS - start)) s; testing"
  start=$SECONDS
  (cd "$root/build-$run" && ctest --output-on-failure -j "$jobs" ${LQ_CTEST_ARGS:-})
  echo "== sanitizers: tested build-$run in $((SECONDS - start)) s"
done
echo "== sanitizers: clean"
