#!/usr/bin/env bash
# Configures and builds every tree: Windows x86 and x64 with MinGW-w64, and the
# native tree of portable code (with clang, for the fuzzers).
# Usage: scripts/build.sh [x86] [x64] [native]   (default: all three)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
trees=("$@")
[ ${#trees[@]} -gt 0 ] || trees=(x86 x64 native)
jobs=$(nproc 2>/dev/null || echo 2)

for tree in "${trees[@]}"; do
  args=(-S . -B "build/$tree" -G Ninja)
  case "$tree" in
    x86) args+=(-DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-i686.cmake) ;;
    x64) args+=(-DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-x86_64.cmake) ;;
    native) args+=(-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DKESTROW_FUZZ=ON) ;;
    *) echo "build: unknown tree $tree" >&2; exit 2 ;;
  esac
  echo "== build $tree"
  cmake "${args[@]}" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "build/$tree" -j "$jobs"
done

# One ctest run over every tree that has been built.
{
  echo "# Runs the tests of every build tree in one ctest run."
  for tree in native x86 x64; do
    [ -f "build/$tree/CTestTestfile.cmake" ] && echo "subdirs(\"$tree\")"
  done
} > build/CTestTestfile.cmake
