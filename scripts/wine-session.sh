# Sourced by the scripts that run Windows programs: starts a virtual X server
# of its own, prepares the private Wine prefix inside the build tree, and
# stops both again when the calling script ends.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export KESTROW_WINEPREFIX=${KESTROW_WINEPREFIX:-$root/build/wine}
export WINEPREFIX=$KESTROW_WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
ks_xvfb_pid=""

ks_session_stop() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "$ks_xvfb_pid" ]; then kill "$ks_xvfb_pid" 2>/dev/null || true; wait "$ks_xvfb_pid" 2>/dev/null || true; fi
}

ks_session_start() {
  local width=${1:-1280} height=${2:-1024} n
  for n in $(seq 90 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 "${width}x${height}x24" -nolisten tcp >/dev/null 2>&1 &
    ks_xvfb_pid=$!
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    if [ -e "/tmp/.X11-unix/X$n" ] && kill -0 "$ks_xvfb_pid" 2>/dev/null; then
      export DISPLAY=":$n"
      break
    fi
    ks_xvfb_pid=""
  done
  [ -n "$ks_xvfb_pid" ] || { echo "wine-session: could not start Xvfb" >&2; return 1; }
  trap ks_session_stop EXIT
  ks_prefix_prepare
}

ks_prefix_prepare() {
  # The prefix is made once and reused while it was made by this Wine.
  local stamp="$WINEPREFIX/.kestrow-prefix" version
  version=$(wine --version 2>/dev/null || echo unknown)
  if [ ! -f "$WINEPREFIX/system.reg" ] || [ "$(cat "$stamp" 2>/dev/null)" != "$version" ]; then
    echo "== preparing Wine prefix $WINEPREFIX"
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    wine wineboot --init >/dev/null 2>&1 </dev/null || true
    wineserver -w
    [ -f "$WINEPREFIX/system.reg" ] || { echo "wine-session: prefix not created" >&2; return 1; }
    echo "$version" > "$stamp"
  fi
}
