#!/usr/bin/env bash
# The house layout (.clang-format) over the project's own C++ sources.
#   scripts/format.sh --check   fails, naming the files, when any file is laid out otherwise
#   scripts/format.sh --fix     rewrites the files in place
set -euo pipefail
cd "$(dirname "$0")/.."

mode="${1:---check}"
mapfile -t files < <(git ls-files '*.cpp' '*.h' '*.cpp.in')
case "$mode" in
  --check) clang-format --dry-run --Werror "${files[@]}" ;;
  --fix) clang-format -i "${files[@]}" ;;
  *) echo "usage: scripts/format.sh [--check|--fix]" >&2; exit 2 ;;
esac
