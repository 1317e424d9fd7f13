#!/usr/bin/env bash
# Sets up the machine, builds Kestrow and runs it under Wine.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
bash scripts/setup.sh
bash scripts/build.sh x86 x64
for arch in x86 x64; do
  echo "built build/$arch/bin:"; ls build/$arch/bin | grep -E '\.(exe|dll)$' | grep -v -E '_tests?|_child|_target|bench' | sed 's/^/  /'
done
if [ ! -f build/x64/bin/KSAgent.exe ]; then
  echo "The hook library TDX.dll is built; the tray agent KSAgent.exe arrives with the next steps."
  exit 0
fi
. scripts/wine-session.sh
# Uses the desktop's display when there is one, else a virtual X server.
if [ -n "${DISPLAY:-}" ]; then
  trap ks_session_stop EXIT
  ks_prefix_prepare
else
  ks_session_start 1024 768
fi
wine explorer /desktop=Kestrow,1024x768 build/x64/bin/KSAgent.exe
