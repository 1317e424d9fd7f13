#!/usr/bin/env bash
# Installs every Debian package that building and testing Kestrow needs.
# Idempotent and non-interactive: packages already present are left alone.
set -euo pipefail

packages=(
  cmake ninja-build make python3 python3-yaml
  clang libclang-rt-14-dev clang-format
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
  binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  googletest
  wine wine64 wine32:i386
  xvfb xauth x11-utils imagemagick
  fonts-liberation fonts-dejavu-core
  nsis
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: all packages present"
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
echo "setup: installing ${missing[*]}"
# A mirror caught mid-sync fails an index or two; apt then keeps the ones it
# had, and the install below says whether they were enough.
$SUDO apt-get update -qq || echo "setup: some package indexes could not be refreshed; going on with the rest"
install_missing() { $SUDO apt-get install -y -qq --no-install-recommends "$@" "${missing[@]}" </dev/null; }
if ! install_missing; then
  # Without one architecture's security index the two architectures' shared
  # libraries cannot agree on a version; the release's own versions can.
  codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
  [ -n "$codename" ] || exit 1
  echo "setup: retrying with the versions of $codename itself"
  install_missing -t "$codename"
fi
