#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (ASan + UBSan) and runs them from their committed corpora.
#   scripts/fuzz.sh smoke          every target for a short time (CI: about 5 minutes in all)
#   scripts/fuzz.sh long [SECONDS] every target for SECONDS each (default 600), new inputs kept in
#                                  build-fuzz/corpus/<name>/ (copy the interesting ones to fuzz/corpus/)
# A crash stops the run with a non-zero status; libFuzzer leaves the input as crash-* in build-fuzz/.
set -euo pipefail
cd "$(dirname "$0")/.."

mode=${1:-smoke}
case "$mode" in
  smoke) seconds=50 ;;
  long) seconds=${2:-600} ;;
  *) echo "usage: scripts/fuzz.sh smoke|long [SECONDS]" >&2; exit 2 ;;
esac

./scripts/setup.sh
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLMARK_BUILD_FUZZ=ON \
  -DQUILLMARK_BUILD_GUI=OFF -DQUILLMARK_BUILD_TESTS=OFF -DQUILLMARK_BUILD_BENCH=OFF \
  -DQUILLMARK_SANITIZE=address,undefined >/dev/null
cmake --build build-fuzz -j"$(nproc 2>/dev/null || echo 2)"

shopt -s nullglob
targets=(build-fuzz/fuzz/fuzz_*)
[ ${#targets[@]} -gt 0 ] || { echo "fuzz: no targets built" >&2; exit 1; }
for target in "${targets[@]}"; do
  name=${target##*/fuzz_}
  seeds=fuzz/corpus/$name
  work=build-fuzz/corpus/$name
  mkdir -p "$work"
  echo "fuzz: $name for ${seconds}s"
  # -rss_limit_mb and -malloc_limit_mb catch unbounded growth; -timeout catches hangs.
  (cd build-fuzz && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    "./fuzz/fuzz_$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -malloc_limit_mb=512 \
    -print_final_stats=1 "corpus/$name" "../$seeds" 2>&1 | grep -E 'stat::number_of_executed_units|ERROR|SUMMARY|crash-' || true
    test "${PIPESTATUS[0]}" -eq 0)
done
