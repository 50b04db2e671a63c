#!/usr/bin/env bash
# Builds the release configuration and runs every benchmark (the Google Benchmark binaries and the
# comparison scripts), then prints one table: each figure, the peer measured in the same run, their
# ratio and the goal. The benchmarks' own detailed output goes to standard error.
#   scripts/bench.sh [BUILD_DIR]   (default: build, the release build of scripts/test.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
builddir=${1:-build}

./scripts/setup.sh
cmake -S . -B "$builddir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLMARK_BUILD_BENCH=ON >/dev/null
# At most two jobs: the machine's two cores are shared.
cmake --build "$builddir" -j2 --target benchmarks quillmark-cli >&2
python3 bench/figures.py "$builddir"
