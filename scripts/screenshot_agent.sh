#!/usr/bin/env bash
# Starts the agent inside a Wine virtual desktop and saves two pictures into
# docs/: the tray icon with its start balloon, and the open tray menu.
# Usage: scripts/screenshot_agent.sh [build-dir]   (default build/x64)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
build=${1:-build/x64}
for f in KSAgent.exe TDX.dll tray_poke.exe; do
  [ -f "$build/bin/$f" ] || { echo "screenshot_agent: $build/bin/$f is missing; build first" >&2; exit 1; }
done
. scripts/wine-session.sh
ks_session_start 1024 768

# A copy of its own, with the first run done, so no settings window opens.
dir=$(mktemp -d)
trap 'ks_session_stop; rm -rf "$dir"' EXIT
cp "$build/bin/KSAgent.exe" "$build/bin/TDX.dll" "$dir"
printf '[Misc]\r\nInstalledVersion_168=1\r\nShowBalloonOnStart=1\r\nHScrollOnShift=1\r\n' > "$dir/settings.ini"

wine explorer /desktop=Kestrow,1024x768 "$dir/KSAgent.exe" &
sleep 8
mkdir -p docs
import -window root -crop 424x120+600+648 +repage docs/agent-balloon.png

# The icon sits at the right end of the virtual desktop's taskbar.
wine explorer /desktop=Kestrow,1024x768 "$build/bin/tray_poke.exe" 1013 757
sleep 3
import -window root -crop 424x368+600+400 +repage docs/agent-menu.png
wine explorer /desktop=Kestrow,1024x768 "$dir/KSAgent.exe" /exit || true
sleep 2
echo "saved docs/agent-balloon.png and docs/agent-menu.png"
