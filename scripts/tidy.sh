#!/usr/bin/env bash
# clang-tidy (the checks of .clang-tidy, warnings as errors) over the project's own core sources,
# using the compile commands of the given build folder (default: build).
set -euo pipefail
cd "$(dirname "$0")/.."
builddir=${1:-build}
[ -f "$builddir/compile_commands.json" ] || { echo "tidy: configure $builddir first" >&2; exit 2; }

# The core library's own translation units (no tests, no generated files).
mapfile -t files < <(python3 - "$builddir/compile_commands.json" <<'PY'
import json, os, sys
root = os.getcwd()
seen = set()
for entry in json.load(open(sys.argv[1])):
    path = os.path.relpath(entry["file"], root)
    if "quillmark_core" not in entry.get("output", entry.get("command", "")):
        continue
    if path.startswith(("tests/", "bench/", "fuzz/", "build")) or path in seen:
        continue
    seen.add(path)
    print(path)
PY
)
[ ${#files[@]} -gt 0 ] || { echo "tidy: no core sources found" >&2; exit 1; }
echo "tidy: ${#files[@]} files"
run-clang-tidy -quiet -p "$builddir" -j"$(nproc 2>/dev/null || echo 2)" "${files[@]}" >/tmp/quillmark-tidy.log 2>&1 \
  || { grep -E 'warning:|error:' /tmp/quillmark-tidy.log | sort -u | head -50; exit 1; }
echo "tidy: clean"
