#!/usr/bin/env bash
# The README's run command. Sets up the machine, builds Quillmark with its source page address
# pointed at a local copy of site/, serves site/ on 127.0.0.1:8765 for as long as the program runs,
# and starts the program. The server stops when the program ends.
set -euo pipefail
cd "$(dirname "$0")/.."

readonly port=8765
readonly url="http://127.0.0.1:${port}/headlines.html"

./scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLMARK_SOURCE_URL="$url" >/dev/null
cmake --build build -j"$(nproc 2>/dev/null || echo 2)" --target quillmark

python3 -m http.server "$port" --bind 127.0.0.1 --directory site >/dev/null 2>&1 &
server=$!
trap 'kill "$server" 2>/dev/null || true' EXIT

# Start the program only once the page is served. A server that could not listen (the port is
# taken) has ended by then.
for _ in $(seq 100); do
  if ! kill -0 "$server" 2>/dev/null; then
    echo "demo: cannot serve site/ on 127.0.0.1:${port}; is the port in use?" >&2
    exit 1
  fi
  curl -sf --noproxy '*' --max-time 1 -o /dev/null "$url" && break
  sleep 0.1
done

./build/quillmark
