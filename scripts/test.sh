#!/usr/bin/env bash
# Sets up the machine, builds every tree and runs every test: the portable
# code natively (with its fuzzers), and the Windows programs of both
# architectures under Wine on a virtual X server.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
bash scripts/setup.sh
bash scripts/build.sh x86 x64 native
. scripts/wine-session.sh
ks_session_start
echo "== tests"
ctest --test-dir build --output-on-failure --timeout 1200
