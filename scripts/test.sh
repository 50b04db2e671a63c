#!/usr/bin/env bash
# Sets up the machine, builds Quillmark and runs the whole test suite. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/setup.sh
jobs=$(nproc 2>/dev/null || echo 2)

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLMARK_WARNINGS_AS_ERRORS=ON >/dev/null
cmake --build build -j"$jobs"
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j"$jobs"
