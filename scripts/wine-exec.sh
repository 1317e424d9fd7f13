#!/usr/bin/env bash
# Runs a Windows program under Wine with the project's test environment:
# a private prefix (KESTROW_WINEPREFIX, else build/wine beside this script's
# project), no debug output, no Mono or Gecko installer prompts, and the Wine
# loader this machine can run.
#   wine-exec.sh [--arch=x86|x64|x64+x86] [--alone] program [arguments]
# --alone: the program is one of a series of tests and must not start while
# the prefix's server is still ending the one before.
# With --arch=x86 on a machine that runs 64-bit programs only, the program is
# not started: the run ends with code 77, which the tests count as skipped.
# x64+x86 is an x64 program that starts x86 programs too: skipped alike.
set -u
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/wine-session.sh"
arch="" alone=no
while :; do
  case "${1:-}" in
    --arch=*) arch=${1#--arch=}; shift ;;
    --alone) alone=yes; shift ;;
    *) break ;;
  esac
done
ks_wine_detect
case "$arch" in
  x86 | *+x86)
    if [ "$KESTROW_WINE32" != yes ]; then
      echo "kestrow-skip: x86 Windows programs cannot run on this machine (64-bit programs only)"
      exit 77
    fi ;;
esac
# Debian's wineserver ends with the last program of its prefix, shutting its
# desktop and services down; a program started meanwhile joins that shutdown
# (once a test failed to start so: "ShellExecuteEx failed: Internal error").
# A test therefore waits until the server of the test before it has gone.
[ "$alone" = yes ] && wineserver -w
exec "$KESTROW_WINE_LOADER" "$@"
