#!/usr/bin/env bash
# Renders the settings page in a Wine window on a virtual X screen and saves
# screenshots into docs/: settings-en.png as built in, settings-ru.png with
# the Russian localisation sheet.
#   scripts/screenshot_settings_page.sh [build directory]
# The build directory must hold bin/page_viewer.exe (a Windows build); by
# default build/x64. Needs xvfb-run, Wine and ImageMagick's import.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/.." && pwd)
build=${1:-$root/build/x64}
viewer=$build/bin/page_viewer.exe
page=$root/config/page/settings.html
[ -f "$viewer" ] || { echo "no $viewer: build the page_viewer target first" >&2; exit 1; }
mkdir -p "$root/docs"

# One picture: start the viewer, wait for its line with the client area's
# size and place, grab that part of the screen, stop the viewer.
shoot() {
  local out=$1; shift
  xvfb-run -a -s "-screen 0 1600x1200x24" bash -c '
    set -euo pipefail
    log=$(mktemp)
    "$0" "$1" "${@:3}" >"$log" 2>&1 &
    pid=$!
    for _ in $(seq 1 300); do
      grep -q "^client" "$log" && break
      sleep 0.1
    done
    sleep 2  # let the window paint
    area=$(sed -n "s/^client \([0-9]*\) x \([0-9]*\) at \(-*[0-9]*\),\(-*[0-9]*\).*/\1x\2+\3+\4/p" "$log")
    cat "$log" >&2
    [ -n "$area" ] || { kill "$pid"; echo "the viewer did not show the page" >&2; exit 1; }
    import -window root -crop "$area" +repage "$2"
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    rm -f "$log"
  ' "$here/wine-exec.sh" "$viewer" "$out" "$@"
}

shoot "$root/docs/settings-en.png" "Z:$page"
shoot "$root/docs/settings-ru.png" "Z:$page" "Z:$root/config/page/localize_Ru.css"
echo "saved docs/settings-en.png and docs/settings-ru.png"
