#!/usr/bin/env bash
# Runs every test binary of the core (those that load no Qt) under valgrind's memcheck, from the
# release build: any invalid access, use of an uninitialised value or definite leak fails the run.
#   scripts/memcheck.sh [BUILD_DIR] [GTEST_FILTER]   (default: build, every test)
# Not part of scripts/test.sh: it takes long, and the sanitizer stage covers the same ground on
# every run. The tests' time limits are settings sized for a normal run; under valgrind everything is
# some 30 times slower, so a test that measures a limit may be filtered out here.
set -euo pipefail
cd "$(dirname "$0")/.."
builddir=${1:-build}
filter=${2:-*}
[ -d "$builddir/tests" ] || { echo "memcheck: build $builddir first" >&2; exit 2; }

mkdir -p "$builddir/memcheck"
failed=0
while IFS= read -r binary; do
  if ldd "$binary" | grep -q libQt6; then
    continue
  fi
  name=${binary##*/}
  log=$builddir/memcheck/$name.log
  if valgrind --tool=memcheck --error-exitcode=99 --leak-check=full --errors-for-leak-kinds=definite \
       --suppressions=tests/valgrind.supp \
       --track-origins=yes --log-file="$log" "$binary" --gtest_filter="$filter" >"$log.out" 2>&1; then
    echo "memcheck: $name clean ($(grep -oE '[0-9]+ tests? from [0-9]+ test suites? ran' "$log.out"))"
  else
    echo "memcheck: $name FAILED (see $log)"
    failed=1
  fi
done < <(find "$builddir/tests" -type f -name 'test_*' -perm -u+x | sort)
exit "$failed"
