#!/usr/bin/env bash
# The house rules a build does not check: every C++ file formatted as .clang-format says, and clang-tidy's checks
# of .clang-tidy clean on every source the default build compiles (needs build/compile_commands.json, so run it
# after scripts/build.sh). LQ_STYLE=format or =tidy runs only one of the two.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
which=${LQ_STYLE:-format tidy}
mapfile -t sources < <(git ls-files '*.cpp' '*.h')
for check in $which; do
  start=$SECONDS
  case $check in
  format)
    clang-format --dry-run -Werror "${sources[@]}"
    ;;
  tidy)
    # Every source of the project's own in the compilation database; not the files CMake generates.
    run-clang-tidy -p build -quiet -j "$(nproc)" "^$root/[a-z]+/(?!.*_autogen/).*\.cpp$" >build/clang-tidy.log 2>&1 || {
      grep -E 'error:|warning:' build/clang-tidy.log | sed 's/\x1b\[[0-9;]*m//g' | sort -u >&2
      echo "clang-tidy: findings above (whole log in build/clang-tidy.log)" >&2
      exit 1
    }
    ;;
  *) echo "unknown check: $check" >&2; exit 2 ;;
  esac
  echo "== style: $check clean in $((SECONDS - start)) s"
done
