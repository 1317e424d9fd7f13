#!/usr/bin/env bash
# Formats every C++ file of the tree with .clang-format (Debian's clang-format).
# With --check, changes nothing: lists the files that are not formatted and
# fails when there is one.
# Usage: scripts/format.sh [--check]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
check=0
case "${1:-}" in
  "") ;;
  --check) check=1 ;;
  *) echo "format: unknown argument $1 (usage: scripts/format.sh [--check])" >&2; exit 2 ;;
esac
command -v clang-format >/dev/null || { echo "format: clang-format is not installed (bash scripts/setup.sh)" >&2; exit 2; }

mapfile -t files < <(git ls-files -- '*.cpp' '*.h')
if [ "$check" -eq 0 ]; then
  clang-format -i --style=file "${files[@]}"
  exit 0
fi
unformatted=0
for f in "${files[@]}"; do
  if ! clang-format --style=file --dry-run --Werror "$f" >/dev/null 2>&1; then
    echo "format: $f is not formatted (run bash scripts/format.sh)"
    unformatted=1
  fi
done
exit $unformatted
