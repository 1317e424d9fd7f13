#!/usr/bin/env bash
# Runs a Windows program under Wine with the project's test environment:
# a private prefix (KESTROW_WINEPREFIX, else build/wine beside this script's
# project), no debug output, and no Mono or Gecko installer prompts.
set -u
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
export WINEPREFIX=${KESTROW_WINEPREFIX:-$here/../build/wine}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export WINEARCH=win64
exec wine "$@"
