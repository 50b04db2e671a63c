#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (ASan + UBSan) and runs them from their committed corpora.
#   scripts/fuzz.sh smoke          every target for 50 s (CI: about 5 minutes in all)
#   scripts/fuzz.sh long [SECONDS] every target for SECONDS each (default 600), new inputs kept in
#                                  build-fuzz/corpus/<name>/ (copy the interesting ones to fuzz/corpus/)
#   scripts/fuzz.sh selftest       proves that a run fails on a crash, a leak, memory without bound
#                                  and a hang, with targets that have each fault
# A run fails (non-zero status) on any finding: a sanitizer report, a crash, a leak, an input that
# takes more than 10 s, or more memory than the limits. libFuzzer leaves the input that found it as
# build-fuzz/<crash|leak|oom|timeout>-*; feed it to the target to see it again, and make it a
# regression test in tests/.
set -euo pipefail
cd "$(dirname "$0")/.."

mode=${1:-smoke}
case "$mode" in
  smoke) seconds=50 ;;
  long) seconds=${2:-600} ;;
  selftest) seconds=20 ;;
  *) echo "usage: scripts/fuzz.sh smoke|long [SECONDS]|selftest" >&2; exit 2 ;;
esac

./scripts/setup.sh
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLMARK_BUILD_FUZZ=ON \
  -DQUILLMARK_BUILD_GUI=OFF -DQUILLMARK_BUILD_TESTS=OFF -DQUILLMARK_BUILD_BENCH=OFF \
  -DQUILLMARK_SANITIZE=address,undefined >/dev/null

# run_target NAME BINARY CORPUS...: one fuzz run; fails on any finding. Its whole output is kept in
# build-fuzz/<NAME>.log; the lines that matter are shown.
run_target() {
  local name=$1 binary=$2
  shift 2
  local log=build-fuzz/$name.log status=0
  # -rss_limit_mb and -malloc_limit_mb catch unbounded growth; -timeout catches hangs; leak checking
  # is on (-detect_leaks, with LeakSanitizer); UBSan stops at its first report.
  (cd build-fuzz && ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=0 \
    UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    "$binary" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -malloc_limit_mb=512 \
    -detect_leaks=1 -print_final_stats=1 "$@") >"$log" 2>&1 || status=$?
  if [ "$status" -ne 0 ] || grep -qE 'ERROR: |^SUMMARY: |runtime error:' "$log"; then
    echo "fuzz: $name FAILED (status $status)"
    grep -E 'ERROR|SUMMARY|runtime error:|Test unit written|^artifact' "$log" | head -20
    return 1
  fi
  echo "fuzz: $name passed, $(grep -oE 'stat::number_of_executed_units: [0-9]+' "$log" | grep -oE '[0-9]+$') runs in ${seconds}s"
}

if [ "$mode" = selftest ]; then
  mkdir -p build-fuzz/selftest
  failures=0
  for fault in 1:crash 2:leak 3:oom 4:hang; do
    binary=$PWD/build-fuzz/selftest/fault_${fault#*:}
    clang++ -std=c++20 -g -O1 -DFAULT="${fault%%:*}" -fsanitize=fuzzer,address,undefined \
      fuzz/selftest/faults.cpp -o "$binary"
    mkdir -p build-fuzz/selftest/corpus
    if run_target "selftest_${fault#*:}" "$binary" selftest/corpus >/dev/null; then
      echo "fuzz selftest: the run of a target with a ${fault#*:} passed" >&2
      failures=$((failures + 1))
    else
      echo "fuzz selftest: the run of a target with a ${fault#*:} fails, as it must"
    fi
  done
  rm -f build-fuzz/crash-* build-fuzz/leak-* build-fuzz/oom-* build-fuzz/timeout-*
  exit "$failures"
fi

cmake --build build-fuzz -j2
shopt -s nullglob
targets=(build-fuzz/fuzz/fuzz_*)
[ ${#targets[@]} -gt 0 ] || { echo "fuzz: no targets built" >&2; exit 1; }
failed=0
for target in "${targets[@]}"; do
  name=${target##*/fuzz_}
  [ -d "fuzz/corpus/$name" ] || { echo "fuzz: $name has no seed corpus in fuzz/corpus/$name" >&2; failed=1; continue; }
  mkdir -p "build-fuzz/corpus/$name"
  run_target "$name" "./fuzz/fuzz_$name" "corpus/$name" "../fuzz/corpus/$name" || failed=1
done
exit "$failed"
