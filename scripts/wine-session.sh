# Sourced by the scripts that run Windows programs. It decides once per run
# how Windows programs are started on this machine (ks_wine_detect, ks_wine),
# and ks_session_start starts a virtual X server of its own, prepares the
# private Wine prefix inside the build tree, and stops both again when the
# calling script ends.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export KESTROW_WINEPREFIX=${KESTROW_WINEPREFIX:-$root/build/wine}
export WINEPREFIX=$KESTROW_WINEPREFIX WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
ks_xvfb_pid=""

# Some machines run 64-bit programs only: there the 32-bit Wine loader (which
# Debian's wine wrapper always prefers) fails with "Exec format error", so
# Windows programs are started through the 64-bit loader directly and x86
# Windows programs cannot run at all. Decided once; the answer is exported
# for every script and test started from here. KESTROW_WINE32=no set
# beforehand takes the 64-bit-only way on any machine.
ks_wine_detect() {
  [ -n "${KESTROW_WINE_LOADER:-}" ] && return 0
  local loader32=/usr/lib/wine/wine loader64=/usr/lib/wine/wine64 found
  found=$(dpkg -L wine64 2>/dev/null | grep -m1 '/wine64$' || true)
  [ -n "$found" ] && [ -x "$found" ] && loader64=$found
  if [ "${KESTROW_WINE32:-}" != no ] && [ -x "$loader32" ] && "$loader32" --version >/dev/null 2>&1; then
    export KESTROW_WINE32=yes KESTROW_WINE_LOADER=wine
  else
    export KESTROW_WINE32=no KESTROW_WINE_LOADER=$loader64 WINELOADER=$loader64
  fi
}

# The one way every script starts a Windows program.
ks_wine() {
  ks_wine_detect
  "$KESTROW_WINE_LOADER" "$@"
}

# One line saying what this machine can run, for the start and end of a run.
ks_wine_report() {
  ks_wine_detect
  if [ "$KESTROW_WINE32" = yes ]; then
    echo "== this machine runs 32-bit and 64-bit programs: x86 and x64 Windows programs run under Wine"
  else
    echo "== this machine runs 64-bit programs only: x86 Windows programs cannot run here, their tests are skipped; x64 ones run through $KESTROW_WINE_LOADER"
  fi
}

ks_session_stop() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "$ks_xvfb_pid" ]; then kill "$ks_xvfb_pid" 2>/dev/null || true; wait "$ks_xvfb_pid" 2>/dev/null || true; fi
}

ks_session_start() {
  local width=${1:-1280} height=${2:-1024} n
  ks_wine_detect
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
  # The prefix is made once and reused while it was made by this Wine, with
  # the same loader.
  local stamp="$WINEPREFIX/.kestrow-prefix" version
  ks_wine_detect
  version="$(ks_wine --version 2>/dev/null || echo unknown) wine32=$KESTROW_WINE32"
  if [ ! -f "$WINEPREFIX/system.reg" ] || [ "$(cat "$stamp" 2>/dev/null)" != "$version" ]; then
    echo "== preparing Wine prefix $WINEPREFIX"
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    ks_wine wineboot --init >/dev/null 2>&1 </dev/null || true
    wineserver -w
    [ -f "$WINEPREFIX/system.reg" ] || { echo "wine-session: prefix not created" >&2; return 1; }
    echo "$version" > "$stamp"
  fi
}
