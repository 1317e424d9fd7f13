#!/usr/bin/env bash
# Sets up the machine, builds Kestrow and runs it under Wine: the tray agent
# in a Wine virtual desktop, from build/run/, where it keeps its settings and
# log. With a display the desktop opens on it and Kestrow runs until you
# choose Exit in its tray menu; without one it runs on a virtual screen for a
# short while, saves a screenshot and ends.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
bash scripts/setup.sh
bash scripts/build.sh x86 x64

# The product files only, the way they ship side by side: an x64 installation
# in build/run (the 64-bit set and, from the x86 tree, the 32-bit companion
# with its library), an x86 one in build/run-x86.
run=build/run
mkdir -p "$run" build/run-x86
for f in KSAgent.exe TDX.dll KsConfig.exe Russian.lng localize_Ru.css; do
  cp "build/x64/bin/$f" "$run/"
  cp "build/x86/bin/$f" build/run-x86/
done
for f in KSHook32.exe TDX32.dll; do
  cp "build/x86/bin/$f" "$run/"
done
echo "Kestrow (x64) is in $run; the x86 installation is in build/run-x86."

. scripts/wine-session.sh
if [ -n "${DISPLAY:-}" ]; then
  trap ks_session_stop EXIT
  ks_prefix_prepare
  ks_wine explorer /desktop=Kestrow,1280x800 "$run/KSAgent.exe"
else
  echo "No display: running on a virtual screen for 20 seconds."
  ks_session_start 1280 800
  ks_wine explorer /desktop=Kestrow,1280x800 "$run/KSAgent.exe" &
  sleep 20
  import -window root "$run/screenshot.png" && echo "Screenshot: $run/screenshot.png"
  ks_wine explorer /desktop=Kestrow,1280x800 "$run/KSAgent.exe" /exit || true
  sleep 2
fi
