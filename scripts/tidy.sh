#!/usr/bin/env bash
# clang-tidy (the checks of .clang-tidy, warnings as errors) over the project's own sources: the core,
# GUI and CLI libraries and the two programs, using the compile commands of the given build folder.
#   scripts/tidy.sh [BUILD_DIR] [--changed BASE]   (default: build; --changed: only the files that
#                                                    differ from the git revision BASE)
set -euo pipefail
cd "$(dirname "$0")/.."
builddir=${1:-build}
base=""
[ "${2:-}" = "--changed" ] && base=${3:?--changed needs a git revision}
[ -f "$builddir/compile_commands.json" ] || { echo "tidy: configure $builddir first" >&2; exit 2; }

# The translation units of the libraries and programs; no tests, benchmarks, fuzz targets or
# generated files. With --changed, only those whose source or a header beside it changed.
mapfile -t files < <(python3 - "$builddir/compile_commands.json" "$base" <<'PY'
import json, os, subprocess, sys
root = os.getcwd()
targets = ("quillmark_core.dir", "quillmark_gui.dir", "quillmark_cli.dir", "quillmark.dir", "quillmark-cli.dir")
changed = None
if sys.argv[2]:
    out = subprocess.run(["git", "diff", "--name-only", sys.argv[2], "--"], capture_output=True, text=True, check=True)
    changed = {os.path.splitext(p)[0] for p in out.stdout.split()}
seen = set()
for entry in json.load(open(sys.argv[1])):
    path = os.path.relpath(entry["file"], root)
    command = entry.get("output", entry.get("command", ""))
    if not any("/" + t + "/" in command or command.startswith(t + "/") or "CMakeFiles/" + t in command for t in targets):
        continue
    if path.startswith(("tests/", "bench/", "fuzz/", "build")) or "_autogen" in path or path in seen:
        continue
    if changed is not None and os.path.splitext(path)[0] not in changed:
        continue
    seen.add(path)
    print(path)
PY
)
if [ ${#files[@]} -eq 0 ]; then
  [ -n "$base" ] && { echo "tidy: no changed sources"; exit 0; }
  echo "tidy: no sources found" >&2
  exit 1
fi
echo "tidy: ${#files[@]} files"
log=$builddir/tidy.log
if ! run-clang-tidy -quiet -p "$builddir" -j2 "${files[@]}" >"$log" 2>&1; then
  grep -E 'warning:|error:' "$log" | sort -u | head -50
  echo "tidy: warnings above (whole output in $log)" >&2
  exit 1
fi
echo "tidy: clean"
