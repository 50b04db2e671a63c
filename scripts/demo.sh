#!/usr/bin/env bash
# The README's run command. Sets up the machine, builds Quillmark with its source page address
# pointed at a local copy of site/, serves that copy on 127.0.0.1:8765 for as long as the program
# runs, and starts the program. The server stops when the program ends.
set -euo pipefail
cd "$(dirname "$0")/.."

readonly port=8765
readonly url="http://127.0.0.1:${port}/headlines.html"

# A port that something else listens on would serve the program a stranger's page: fail at once,
# before minutes of building.
port_free() {
  python3 -c 'import socket, sys
s = socket.socket()
s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
s.bind(("127.0.0.1", int(sys.argv[1])))' "$port" 2>/dev/null
}
if ! port_free; then
  echo "demo: 127.0.0.1:${port} is in use; stop what listens there and try again" >&2
  exit 1
fi

./scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLMARK_SOURCE_URL="$url" >/dev/null
cmake --build build -j"$(nproc 2>/dev/null || echo 2)" --target quillmark

# The copy holds a token of this run, so the server that answers is known to be ours.
served=$(mktemp -d)
server=""
trap 'if [[ -n "$server" ]]; then kill "$server" 2>/dev/null || true; fi; rm -rf "$served"' EXIT
cp -R site/. "$served"
readonly token="quillmark-demo-$$-${RANDOM}${RANDOM}"
printf '%s\n' "$token" >"$served/.demo-ready"

python3 -m http.server "$port" --bind 127.0.0.1 --directory "$served" >/dev/null 2>&1 &
server=$!

# Start the program only once our server answers. A server that could not listen (the port was
# taken during the build) has ended by then.
ready=""
for _ in $(seq 100); do
  if ! kill -0 "$server" 2>/dev/null; then
    echo "demo: cannot serve site/ on 127.0.0.1:${port}; is the port in use?" >&2
    exit 1
  fi
  if answer=$(curl -sf --noproxy '*' --max-time 1 "http://127.0.0.1:${port}/.demo-ready"); then
    if [[ "$answer" != "$token" ]]; then
      echo "demo: another server answers on 127.0.0.1:${port}; stop it and try again" >&2
      exit 1
    fi
    ready=1
    break
  fi
  sleep 0.1
done
if [[ -z "$ready" ]]; then
  echo "demo: the server on 127.0.0.1:${port} did not start" >&2
  exit 1
fi

./build/quillmark
