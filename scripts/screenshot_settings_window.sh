#!/usr/bin/env bash
# Shows the real settings window, title bar included, inside a Wine virtual
# desktop on a virtual X screen and saves screenshots into docs/:
# settings-window-en.png as built in, settings-window-ru.png with the shipped
# Russian language file and sheet. One box is switched on in each, so the
# changed marker shows in the title and the heading. Given a screen size,
# it shows the English window on a screen of that size instead (as
# settings-window-en-SIZE.png): fitted to the screen, reflowed, scrolling.
#   scripts/screenshot_settings_window.sh [build directory [WIDTHxHEIGHT]]
# The build directory must hold bin/KsConfig.exe, bin/Russian.lng,
# bin/localize_Ru.css and bin/settings_window_click.exe (a Windows build); by
# default build/x64. Needs xvfb-run, Wine and ImageMagick's import.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/.." && pwd)
build=${1:-$root/build/x64}
bin=$build/bin
for file in KsConfig.exe Russian.lng localize_Ru.css settings_window_click.exe; do
  [ -f "$bin/$file" ] || { echo "no $bin/$file: build KsConfig and settings_window_click first" >&2; exit 1; }
done
mkdir -p "$root/docs"
size=${2:-}
desktop=Kestrow,${size:-1280x800}

# One picture: a scratch copy of the program (its settings file lies beside
# it) started in the virtual desktop; a box is clicked, the screen grabbed,
# and the page closed with Cancel.
shoot() {
  local out=$1 language=$2
  local dir
  dir=$(mktemp -d)
  cp "$bin/KsConfig.exe" "$dir/"
  if [ "$language" = ru ]; then
    cp "$bin/Russian.lng" "$bin/localize_Ru.css" "$dir/"
    printf '[Misc]\r\nLangFile=Russian.lng\r\n' >"$dir/settings.ini"
  fi
  xvfb-run -a -s "-screen 0 ${size:-1280x800}x24" bash -c '
    set -euo pipefail
    wine_exec=$1 dir=$2 click=$3 out=$4 desktop=$5
    # The clicker starts the program inside the desktop, switches one box on
    # and says when it is ready; it closes the page once told to.
    "$wine_exec" explorer /desktop="$desktop" "Z:$click" "Z:$dir/KsConfig.exe" "Z:$dir/ready" "Z:$dir/done" \
      CHECKBOX_HS_CTRL >/dev/null 2>&1 &
    pid=$!
    for _ in $(seq 1 900); do [ -f "$dir/ready" ] && break; sleep 0.1; done
    [ -f "$dir/ready" ] || { kill "$pid" 2>/dev/null || true; echo "the settings window did not show" >&2; exit 1; }
    sleep 2  # let the window paint
    import -window root "$out"
    touch "$dir/done"
    for _ in $(seq 1 200); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  ' _ "$here/wine-exec.sh" "$dir" "$bin/settings_window_click.exe" "$out" "$desktop"
  rm -rf "$dir"
}

if [ -n "$size" ]; then
  shoot "$root/docs/settings-window-en-$size.png" en
  echo "saved docs/settings-window-en-$size.png"
  exit 0
fi
shoot "$root/docs/settings-window-en.png" en
shoot "$root/docs/settings-window-ru.png" ru
echo "saved docs/settings-window-en.png and docs/settings-window-ru.png"
