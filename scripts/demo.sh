#!/usr/bin/env bash
# Sets up the machine, builds Quillmark pointed at a local copy of the source page, serves site/ on
# 127.0.0.1:8765 for as long as the program runs, and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."

readonly port=8765
./scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DQUILLMARK_SOURCE_URL="http://127.0.0.1:${port}/headlines.html" >/dev/null
cmake --build build -j"$(nproc 2>/dev/null || echo 2)" --target quillmark

python3 -m http.server "$port" --bind 127.0.0.1 --directory site >/dev/null 2>&1 &
server=$!
trap 'kill "$server" 2>/dev/null || true' EXIT
./build/quillmark
