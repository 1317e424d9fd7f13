#!/usr/bin/env bash
# Starts the agent inside a Wine virtual desktop and saves pictures into
# docs/: the tray icon with its start balloon and the open tray menu with an
# item tooltip, once in English and once with Russian.lng.
# Usage: scripts/screenshot_agent.sh [build-dir]   (default build/x64)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
build=${1:-build/x64}
for f in KSAgent.exe TDX.dll tray_poke.exe; do
  [ -f "$build/bin/$f" ] || { echo "screenshot_agent: $build/bin/$f is missing; build first" >&2; exit 1; }
done
[ -f config/lang/Russian.lng ] || { echo "screenshot_agent: config/lang/Russian.lng is missing" >&2; exit 1; }
. scripts/wine-session.sh
ks_session_start 1024 768
work=$(mktemp -d)
trap 'ks_session_stop; rm -rf "$work"' EXIT
mkdir -p docs

# One language: a copy of the agent of its own with the first run done (so no
# settings window opens), its balloon, then its menu resting on "Enable".
shoot() {
  local name=$1 langfile=$2 dir="$work/$1"
  mkdir -p "$dir"
  cp "$build/bin/KSAgent.exe" "$build/bin/TDX.dll" "$dir"
  cp config/lang/Russian.lng "$dir"
  printf '[Misc]\r\nInstalledVersion_168=1\r\nShowBalloonOnStart=1\r\nHScrollOnShift=1\r\nLangFile=%s\r\n' \
    "$langfile" > "$dir/settings.ini"
  ks_wine explorer /desktop=Kestrow,1024x768 "$dir/KSAgent.exe" &
  sleep 8
  import -window root -crop 524x120+500+648 +repage "docs/agent-balloon-$name.png"
  # The icon sits at the right end of the virtual desktop's taskbar; two
  # steps up from the bottom of the menu is "Enable".
  ks_wine explorer /desktop=Kestrow,1024x768 "$build/bin/tray_poke.exe" 1013 757 2
  sleep 3
  import -window root -crop 624x368+400+400 +repage "docs/agent-menu-$name.png"
  ks_wine explorer /desktop=Kestrow,1024x768 "$dir/KSAgent.exe" /exit || true
  sleep 3
}

shoot en ""
shoot ru "$(ks_wine winepath -w "$work/ru/Russian.lng")"
echo "saved docs/agent-balloon-{en,ru}.png and docs/agent-menu-{en,ru}.png"
