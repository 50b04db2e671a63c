#!/usr/bin/env bash
# Builds the release configuration and runs every benchmark (the Google Benchmark binaries and the
# comparison scripts), then prints one table: each figure, the peer measured in the same run, their
# ratio and the goal. The benchmarks' own detailed output goes to standard error.
#   scripts/bench.sh [BUILD_DIR]   (default: build, the release build of scripts/test.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
builddir=${1:-build}

./scripts/setup.sh
# The peers of the feed figures: libxml2's own streaming pass and Python's feed parser.
for p in libxml2-utils python3-feedparser; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" && continue
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get install -y -qq --no-install-recommends "$p" >/dev/null
done
cmake -S . -B "$builddir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLMARK_BUILD_BENCH=ON >/dev/null
# At most two jobs: the machine's two cores are shared.
cmake --build "$builddir" -j2 --target benchmarks quillmark-cli >&2
python3 bench/figures.py "$builddir"
