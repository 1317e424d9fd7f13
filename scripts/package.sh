#!/usr/bin/env bash
# Builds both architectures and writes the release into dist/ (or
# KESTROW_DIST): the installer
# Kestrow-<version>-setup.exe, the portable zips Kestrow-<version>-x64.zip and
# -x86.zip, SHA256SUMS for the three, and from those sums the winget manifests
# (winget/manifests/...) and the Scoop manifest (scoop/kestrow.json), which
# name each package at $KESTROW_RELEASE_URL/<version>/<file> (by default
# https://www.orlinworks.example/releases). The version is the agent's file
# version. Every date in the packages is the commit's time (or
# SOURCE_DATE_EPOCH when set), so two runs from one commit give the same zips.
#   scripts/package.sh [--no-build]   (--no-build: package the trees as built)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
build=yes
case "${1:-}" in
  --no-build) build=no ;;
  "") ;;
  *) echo "package: unknown argument $1" >&2; exit 2 ;;
esac

command -v makensis >/dev/null || { echo "package: makensis is missing (bash scripts/setup.sh installs nsis)" >&2; exit 1; }
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct 2>/dev/null || echo 315532800)
fi
export SOURCE_DATE_EPOCH
[ "$build" = no ] || bash scripts/build.sh x86 x64

tools="python3 $root/scripts/package_tools.py"
version=$($tools version build/x64/bin/KSAgent.exe)
x86_version=$($tools version build/x86/bin/KSAgent.exe)
[ "$version" = "$x86_version" ] || { echo "package: x64 is $version but x86 is $x86_version; rebuild both" >&2; exit 1; }
echo "== package Kestrow $version"

dist=${KESTROW_DIST:-$root/dist}
mkdir -p "$root/build"
work=$(mktemp -d "$root/build/package.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$dist"
dist=$(cd "$dist" && pwd)
name=Kestrow-$version
rm -f "$dist/$name-setup.exe" "$dist/$name-x64.zip" "$dist/$name-x86.zip" "$dist/SHA256SUMS"
rm -rf "$dist/winget" "$dist/scoop"

# One folder per set, every file dated alike, in the order of the list.
uninstall_names=() sizes=()
for set in x64 x86; do
  stage=$work/$set
  mkdir -p "$stage"
  order=()
  while IFS=$'\t' read -r source file; do
    cp "build/$source" "$stage/$file"
    order+=("$stage/$file")
    uninstall_names+=("$file")
  done < <($tools files installer/files.txt "$set" build)
  sed -e "s/@VERSION@/$version/" -e "s/@ARCH@/$set/" installer/README.txt |
    sed 's/$/\r/' > "$stage/README.txt"
  order+=("$stage/README.txt")
  touch -d "@$SOURCE_DATE_EPOCH" "${order[@]}"
  $tools zip "$dist/$name-$set.zip" "$name-$set" "$SOURCE_DATE_EPOCH" "${order[@]}"
  rm "$stage/README.txt"
  # In KiB, as the installer counts space.
  sizes+=("-DSIZE_$(echo "$set" | tr a-z A-Z)=$(du -k --apparent-size -s "$stage" | cut -f1)")
done

# What the uninstaller removes: every program either set can have put there.
# Language files are the user's and follow the keep-settings answer.
{
  echo "; Written by scripts/package.sh: the programs of every set."
  echo '!macro KS_PROGRAM_FILES ACTION'
  printf '%s\n' "${uninstall_names[@]}" | grep -vi '\.lng$' | sort -fu |
    sed 's/.*/  !insertmacro ${ACTION} "&"/'
  echo '!macroend'
} > "$work/uninstall_files.nsh"

makensis -V2 -INPUTCHARSET UTF8 "${sizes[@]}" \
  -DVERSION="$version" -DSTAGE="$work" -DOUTFILE="$dist/$name-setup.exe" \
  "$root/installer/kestrow.nsi"

(cd "$dist" && sha256sum "$name-setup.exe" "$name-x64.zip" "$name-x86.zip" > SHA256SUMS)
$tools manifests "$dist" "$version" "${KESTROW_RELEASE_URL:-https://www.orlinworks.example/releases}" \
  "$SOURCE_DATE_EPOCH"
echo "== $dist"
for f in "$name-setup.exe" "$name-x64.zip" "$name-x86.zip"; do
  printf '  %-32s %8d bytes\n' "$f" "$(stat -c %s "$dist/$f")"
done
cat "$dist/SHA256SUMS"
(cd "$dist" && find winget scoop -type f | sort | sed 's/^/  /')
