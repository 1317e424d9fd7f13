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

# The product files only, the way they ship side by side.
run=build/run
mkdir -p "$run"
for f in KSAgent.exe TDX.dll KsConfig.exe Russian.lng localize_Ru.css; do
  cp "build/x64/bin/$f" "$run/"
done
echo "Kestrow (x64) is in $run; the x86 build is in build/x86/bin."

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
