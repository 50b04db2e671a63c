#!/usr/bin/env bash
# Sets up the machine, builds Quillmark and passes the whole test suite:
#   0. the layout check (scripts/format.sh --check), first, since it takes seconds
#   1. release build, warnings as errors, every test; then the core, quillmark-cli and their tests
#      alone, in a build that may not even look for Qt
#   2. AddressSanitizer + UndefinedBehaviorSanitizer build, every test again (leak checking on)
#   3. the fuzz runner's self-test, then each fuzz target for 50 s from its committed corpus
#   4. clang-tidy over the project's own sources
# Any failure, sanitizer report, misformatted file or new clang-tidy warning fails the run. Builds
# and tests go through the presets of CMakePresets.json (release in build/, core in build-core/, asan in
# build-asan/).
# --quick runs stage 1 only, without the packaging tests (for the edit-build-test loop; CI always
# runs everything).
set -euo pipefail
cd "$(dirname "$0")/.."

quick=0
[ "${1:-}" = "--quick" ] && quick=1

./scripts/setup.sh
jobs=$(nproc 2>/dev/null || echo 2)
export QT_QPA_PLATFORM=offscreen
started=$SECONDS
stage() { printf '\n== %s (%dm%02ds in) ==\n' "$1" $(((SECONDS - started) / 60)) $(((SECONDS - started) % 60)); }

if [ "$quick" -eq 0 ]; then
  stage "layout"
  ./scripts/format.sh --check
fi

stage "release build and tests"
cmake --preset release >/dev/null
cmake --build --preset release -j"$jobs"
if [ "$quick" -eq 1 ]; then
  ctest --preset release -j"$jobs" -LE packaging
else
  ctest --preset release -j"$jobs"
fi
# The promise that the core needs no display: configuring fails if anything asks for Qt.
cmake --preset core >/dev/null
cmake --build --preset core -j"$jobs"
ctest --preset core -j"$jobs"

if [ "$quick" -eq 0 ]; then
  stage "sanitizer build and tests (ASan + UBSan)"
  cmake --preset asan >/dev/null
  cmake --build --preset asan -j"$jobs"
  ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1" \
  LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0" \
  UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1" \
    ctest --preset asan -j"$jobs" -LE desktop # desktop: release stage only

  stage "fuzz runner self-test and smoke runs"
  ./scripts/fuzz.sh selftest
  ./scripts/fuzz.sh smoke

  stage "clang-tidy"
  ./scripts/tidy.sh build
fi

stage "all passed"
