#!/usr/bin/env bash
# Builds and runs the benchmarks: natively for the portable code, and under
# Wine for both architectures. They print figures; nothing here passes or fails.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
bash scripts/setup.sh
bash scripts/build.sh x86 x64 native
for b in build/native/bench/*/*_bench build/native/bench/*_bench; do
  [ -x "$b" ] && { echo "== native $(basename "$b")"; "$b"; }
done
. scripts/wine-session.sh
ks_session_start
ks_wine_report
for arch in x86 x64; do
  if [ "$arch" = x86 ] && [ "$KESTROW_WINE32" != yes ]; then
    echo "== x86 benchmarks skipped: this machine runs 64-bit programs only"
    continue
  fi
  for b in build/$arch/bin/*_bench.exe; do
    [ -f "$b" ] || continue
    echo "== $arch $(basename "$b")"
    ks_wine "$b"
  done
done
