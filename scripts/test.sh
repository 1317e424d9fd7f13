#!/usr/bin/env bash
# Sets up the machine, builds every tree and runs every test: the portable
# code natively (with its fuzzers), and the Windows programs of both
# architectures under Wine on a virtual X server. On a machine that runs
# 64-bit programs only, the x86 Windows tests are reported as skipped.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
bash scripts/setup.sh
. scripts/wine-session.sh
ks_wine_report
bash scripts/build.sh x86 x64 native
ks_session_start
echo "== tests"
status=0
ctest --test-dir build --output-on-failure --timeout 1200 || status=$?
ks_wine_report
exit $status
