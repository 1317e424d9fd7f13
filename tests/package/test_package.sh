#!/usr/bin/env bash
# Tests the release in dist/ (bash scripts/package.sh makes it): the zips and
# their checksums, that two packaging runs give the same zips, and, under Wine
# in a prefix of its own, the x64 zip run from a folder of its own and the
# installer: a silent install, a refusal while the settings window is open,
# an upgrade over a running agent that keeps the user's files, a refusal
# while the agent does not answer, a silent uninstall, an uninstall after the
# programs were deleted by hand, the Run value of another copy, and a folder
# that cannot be written. The installer is an x86 program: on a machine that
# runs 64-bit programs only, its cases are skipped.
# Ends with "package: N passed, N failed[, N skipped]"; exit code 1 on a failure.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
cd "$root"
passed=0 failed=0 skipped=0
check() {  # check LABEL COMMAND...: one case
  local label=$1
  shift
  if "$@"; then
    passed=$((passed + 1)); echo "  ok   $label"
  else
    failed=$((failed + 1)); echo "  FAIL $label"
  fi
}
finish() {
  if [ $skipped -gt 0 ]; then
    echo "package: $passed passed, $failed failed, $skipped skipped"
  else
    echo "package: $passed passed, $failed failed"
  fi
  exit $((failed > 0))
}

tools="python3 $root/scripts/package_tools.py"
version=$($tools version build/x64/bin/KSAgent.exe) || { echo "package: build first"; exit 1; }
name=Kestrow-$version
setup=dist/$name-setup.exe
for f in "$setup" "dist/$name-x64.zip" "dist/$name-x86.zip" dist/SHA256SUMS; do
  [ -f "$f" ] || { echo "package: $f is missing; run scripts/package.sh first"; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "== package: the zips"
for f in "$setup" "dist/$name-x64.zip" "dist/$name-x86.zip"; do
  printf '  %-38s %8d bytes\n' "$f" "$(stat -c %s "$f")"
done
# Each zip holds its set's files from the build, and README.txt, in one folder.
zip_matches_set() {
  local set=$1 expected
  expected=$($tools files installer/files.txt "$set" build | cut -f1 | tr '\n' ' ')
  python3 - "dist/$name-$set.zip" "$name-$set" "$expected" <<'EOF'
import sys, zipfile
path, folder, sources = sys.argv[1], sys.argv[2], sys.argv[3].split()
z = zipfile.ZipFile(path)
names = z.namelist()
wanted = [f"{folder}/{s.rsplit('/', 1)[1]}" for s in sources] + [f"{folder}/README.txt"]
if names != wanted:
    sys.exit(f"entries {names}, expected {wanted}")
for source, entry in zip(sources, wanted):
    if z.read(entry) != open("build/" + source, "rb").read():
        sys.exit(f"{entry} differs from build/{source}")
readme = z.read(f"{folder}/README.txt").decode()
if "@" in readme or folder.split("-")[1] not in readme or "\r\n" not in readme:
    sys.exit("README.txt lacks its version or Windows line ends")
EOF
}
check "x64 zip holds the x64 set and README.txt" zip_matches_set x64
check "x86 zip holds the x86 set and README.txt" zip_matches_set x86
sums_match() { [ "$(wc -l < dist/SHA256SUMS)" -eq 3 ] && (cd dist && sha256sum --quiet -c SHA256SUMS); }
check "SHA256SUMS names and matches the three packages" sums_match
# The store manifests: every field winget and Scoop need, and each hash is
# that of the package its address names.
manifests_match() {
  PYTHONOPTIMIZE= python3 - "$version" <<'EOF'
import hashlib, json, sys, zipfile
import yaml
v = sys.argv[1]
sha = lambda url: hashlib.sha256(open("dist/" + url.rsplit("/", 1)[1], "rb").read()).hexdigest()
folder = f"dist/winget/manifests/o/OrlinWorks/Kestrow/{v}/OrlinWorks.Kestrow"
kinds = {"": "version", ".installer": "installer", ".locale.en-US": "defaultLocale", ".locale.ru-RU": "locale"}
m = {k: yaml.safe_load(open(f"{folder}{k}.yaml", encoding="utf-8")) for k in kinds}
for k, kind in kinds.items():
    assert (m[k]["PackageIdentifier"], m[k]["PackageVersion"], m[k]["ManifestType"]) == ("OrlinWorks.Kestrow", v, kind), k
    assert tuple(map(int, m[k]["ManifestVersion"].split("."))) >= (1, 6), k
i, d, ru = m[".installer"], m[".locale.en-US"], m[".locale.ru-RU"]
assert m[""]["DefaultLocale"] == d["PackageLocale"] == "en-US" and ru["PackageLocale"] == "ru-RU"
assert (i["InstallerType"], i["Scope"], i["UpgradeBehavior"]) == ("nullsoft", "user", "install"), i
assert i["InstallerSwitches"]["Silent"] == i["InstallerSwitches"]["SilentWithProgress"] == "/S", i
assert sorted(x["Architecture"] for x in i["Installers"]) == ["x64", "x86"], i
for x in i["Installers"]:
    assert x["InstallerUrl"].endswith(f"/{v}/Kestrow-{v}-setup.exe"), x
    assert x["InstallerSha256"] == sha(x["InstallerUrl"]).upper(), "setup hash"
assert all(d.get(f) for f in ("Publisher", "PackageName", "License", "ShortDescription", "Description")), d
cyrillic = lambda l: any("\u0400" <= c <= "\u04ff" for c in l["ShortDescription"] + l["Description"])
assert not cyrillic(d) and cyrillic(ru), "English and Russian descriptions"
s = json.load(open("dist/scoop/kestrow.json", encoding="utf-8"))
assert s["version"] == v and s["homepage"] and s["license"] and sorted(s["architecture"]) == ["32bit", "64bit"], s
for arch, a in s["architecture"].items():
    name = f"Kestrow-{v}-{'x64' if arch == '64bit' else 'x86'}.zip"
    assert a["url"].endswith(f"/{v}/{name}") and a["hash"] == sha(a["url"]), arch
    inside = lambda f: f"{a['extract_dir']}/{f}" in zipfile.ZipFile("dist/" + name).namelist()
    assert all(map(inside, s["bin"] + [x[0] for x in s["shortcuts"]])), "bin and shortcuts"
    assert [f for f in s["persist"] if not inside(f)] == ["settings.ini"], "persist"
assert sorted(s["bin"]) == ["KSAgent.exe", "KsConfig.exe"], s["bin"]
assert sorted(x[1] for x in s["shortcuts"]) == ["Kestrow", "Kestrow Settings"], s["shortcuts"]
assert "settings.ini" in " ".join(s["pre_install"]), "settings.ini is made a file first"
EOF
}
check "winget and Scoop manifests carry every field and the packages' hashes" manifests_match
# Two runs from the same trees give the same zips.
again_same() {
  KESTROW_DIST="$work/one" bash scripts/package.sh --no-build >/dev/null &&
    KESTROW_DIST="$work/two" bash scripts/package.sh --no-build >/dev/null &&
    cmp "$work/one/$name-x64.zip" "$work/two/$name-x64.zip" &&
    cmp "$work/one/$name-x86.zip" "$work/two/$name-x86.zip"
}
check "a second packaging run gives byte-identical zips" again_same

export KESTROW_WINEPREFIX=$root/build/wine-package
. scripts/wine-session.sh
# Shortcuts made in the prefix stay in the prefix: no menu entries on the host.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"
ks_session_start 1024 768 || exit 1
trap 'ks_session_stop; rm -rf "$work"' EXIT
wait_until() {  # wait_until SECONDS COMMAND...: polls a state, no fixed sleep
  local end=$((SECONDS + $1))
  shift
  until "$@"; do
    [ $SECONDS -ge $end ] && return 1
    sleep 0.2
  done
}

echo "== package: the x64 zip, run from a folder of its own"
python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])' \
  "dist/$name-x64.zip" "$work/portable"
portable=$work/portable/$name-x64
# A settings file from an earlier run, so no settings window opens.
printf '[Misc]\r\nInstalledVersion_168=1\r\n' > "$portable/settings.ini"
ks_wine "$portable/KSAgent.exe" &
agent=$!
check "the agent starts from the unzipped folder and writes its log there" \
  wait_until 30 test -s "$portable/LogFile.log"
ks_wine "$portable/KSAgent.exe" /exit
agent_gone() { ! kill -0 "$agent" 2>/dev/null; }
check "... and ends on /exit" wait_until 30 agent_gone

if [ "$KESTROW_WINE32" != yes ]; then
  echo "== package: installer cases skipped: the installer and uninstaller are x86 programs, and this machine runs 64-bit programs only"
  skipped=1
  finish
fi
for f in fake_tray.exe; do
  [ -f "build/x64/bin/$f" ] || { echo "package: build/x64/bin/$f is missing; build first"; exit 1; }
done
command -v makensis >/dev/null || { echo "package: makensis is missing"; exit 1; }
makensis -V1 -DOUTFILE="$work/probe.exe" "$root/tests/package/probe.nsi" || { echo "package: probe does not build"; exit 1; }

winpath() { ks_wine winepath -w "$1" 2>/dev/null | tr -d '\r'; }
unixpath() { ks_wine winepath -u "$1" 2>/dev/null | tr -d '\r'; }
probe() { ks_wine "$work/probe.exe" "$@"; }
# The data of one registry value, empty when it is not there.
reg_value() {
  ks_wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' |
    sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}
reg_key_exists() { ks_wine reg query "$1" >/dev/null 2>&1; }
uninst_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kestrow'
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
profile=$(unixpath 'C:\users\'"$(whoami)")
programs_menu="$profile/AppData/Roaming/Microsoft/Windows/Start Menu/Programs"
inst_win=$(winpath "$profile/AppData/Local")'\Programs\Kestrow'
inst=$(unixpath "$inst_win")
tray_report="$work/tray.txt"
program_files=(KSAgent.exe TDX.dll KsConfig.exe Russian.lng localize_Ru.css)

other_win='C:\Kestrow Test'
other=$(unixpath "$other_win")
# The prefix is reused: start without what an earlier run may have left.
rm -rf "$inst" "$other" "$(unixpath 'C:\KestrowOptions')" "$programs_menu/Kestrow.lnk" "$programs_menu/Kestrow Settings.lnk"
ks_wine reg delete "$uninst_key" /f >/dev/null 2>&1
ks_wine reg delete 'HKCU\Software\Kestrow' /f >/dev/null 2>&1
ks_wine reg delete "$run_key" /v KestrowAgent /f >/dev/null 2>&1

# A stand-in for the notification area takes the agent's icon records.
ks_wine build/x64/bin/fake_tray.exe "report=$(winpath "$tray_report")" &
probe /class=Shell_TrayWnd /image=\\fake_tray.exe /state=present /timeout=20000 ||
  { echo "package: the stand-in notification area did not start"; exit 1; }
# Accepted adds (operation 0) and deletes (2) of icons, in order: "a d a".
tray_story() { [ -f "$tray_report" ] && awk '$2 == 1 && $1 == 0 { printf "a " } $2 == 1 && $1 == 2 { printf "d " }' "$tray_report"; }
tray_story_is() { [ "$(tray_story)" = "$1" ]; }
agent_of() { probe /class=KestrowTrayAgent "/image=$1" /state=present /timeout=0; }

echo "== package: silent install ($inst_win)"
ks_wine "$setup" /S; rc=$?
check "silent install ends with code 0" [ $rc -eq 0 ]
same_as_x64_build() {
  local f
  for f in "${program_files[@]}"; do cmp -s "build/x64/bin/$f" "$inst/$f" || { echo "    $f"; return 1; }; done
}
check "the x64 set is installed in the user's programs folder" same_as_x64_build
check "the uninstaller is installed beside it" [ -f "$inst/uninstall.exe" ]
entry_complete() {
  [ "$(reg_value "$uninst_key" DisplayName)" = Kestrow ] &&
    [ "$(reg_value "$uninst_key" DisplayVersion)" = "$version" ] &&
    [ "$(reg_value "$uninst_key" Publisher)" = "Orlin Works" ] &&
    [ "$(reg_value "$uninst_key" InstallLocation)" = "$inst_win" ] &&
    [ "$(reg_value "$uninst_key" DisplayIcon)" = "$inst_win\\KSAgent.exe,0" ] &&
    [ "$(reg_value "$uninst_key" UninstallString)" = "\"$inst_win\\uninstall.exe\"" ] &&
    [ $(($(reg_value "$uninst_key" EstimatedSize))) -ge 2000 ]
}
check "the Uninstall entry names, versions and locates the installation" entry_complete
check "Start-menu shortcuts Kestrow and Kestrow Settings" \
  test -f "$programs_menu/Kestrow.lnk" -a -f "$programs_menu/Kestrow Settings.lnk"
check "the Run value is the agent's path, as the agent writes it" \
  [ "$(reg_value "$run_key" KestrowAgent)" = "$inst_win\\KSAgent.exe" ]
check "the installed agent runs" \
  probe /class=KestrowTrayAgent "/image=$inst_win\\KSAgent.exe" /state=present /timeout=20000
check "the installed agent shows its tray icon" wait_until 30 tray_story_is "a "

# The first run opens the settings window: setup waits for no settings
# program, it stops before it changes anything.
probe '/class=#32770' '/image=\KsConfig.exe' /state=present /timeout=20000 >/dev/null
ks_wine "$setup" /S; rc=$?
check "an install while the settings window is open stops (code 2)" [ $rc -eq 2 ]
check "... and leaves the agent running" agent_of "$inst_win\\KSAgent.exe"
check "... with its icon" tray_story_is "a "
check "the settings window closes" \
  probe '/class=#32770' '/image=\KsConfig.exe' /state=absent /close=1 /timeout=20000

echo "== package: silent upgrade over the running agent"
printf '[Misc]\r\nInstalledVersion_168=1\r\nShowBalloonOnStart=0\r\nHScrollOnShift=1\r\n; mine\r\n' > "$inst/settings.ini"
printf '[Main]\r\nLangPrefix=Xx\r\n' > "$inst/Mine.lng"
printf '; edited\r\n' | iconv -t UTF-16LE >> "$inst/Russian.lng"
printf 'stale' > "$inst/localize_Ru.css"
for f in settings.ini Mine.lng Russian.lng; do cp "$inst/$f" "$work/kept-$f"; done
log_before=$(wc -c < "$inst/LogFile.log" 2>/dev/null || echo 0)
head -c "$log_before" "$inst/LogFile.log" > "$work/kept-log" 2>/dev/null
ks_wine "$setup" /S; rc=$?
check "silent upgrade ends with code 0" [ $rc -eq 0 ]
check "the old agent ended and the new one shows its icon" wait_until 30 tray_story_is "a d a "
check "the new agent runs from the installation" agent_of "$inst_win\\KSAgent.exe"
kept() { local f; for f in settings.ini Mine.lng Russian.lng; do cmp -s "$work/kept-$f" "$inst/$f" || { echo "    $f"; return 1; }; done; }
check "settings.ini and the language files are kept byte for byte" kept
log_kept() { [ "$log_before" -gt 0 ] && head -c "$log_before" "$inst/LogFile.log" | cmp -s - "$work/kept-log"; }
check "LogFile.log is kept (the new agent appends to it)" log_kept
check "the programs are replaced" cmp -s build/x64/bin/localize_Ru.css "$inst/localize_Ru.css"
check "the upgrade keeps one Uninstall entry at the same place" \
  [ "$(reg_value "$uninst_key" InstallLocation)" = "$inst_win" ]

echo "== package: an agent that does not end"
# The installer's agent makes way for one of the test's own, which is then
# stopped, so it answers nothing, as a hung agent would.
ks_wine "$inst/KSAgent.exe" /exit
probe /class=KestrowTrayAgent /state=absent /timeout=20000 >/dev/null
# Through the 64-bit loader itself, so the process started is the agent's.
loader64=$(dpkg -L wine64 2>/dev/null | grep -m1 '/wine64$' || echo /usr/lib/wine/wine64)
"$loader64" "$inst/KSAgent.exe" &
hung=$!
probe /class=KestrowTrayAgent "/image=$inst_win\\KSAgent.exe" /state=present /timeout=20000 >/dev/null
wait_until 30 tray_story_is "a d a d a " >/dev/null
kill -STOP "$hung"
folder_state() { (cd "$inst" && stat -c '%n %s %Y' * && sha256sum *); }
folder_state > "$work/before-hang"
ks_wine "$setup" /S; rc=$?
check "setup reports a hung agent and stops (code 2)" [ $rc -eq 2 ]
folder_unchanged() { folder_state | cmp -s "$work/before-hang" -; }
check "... without changing a file" folder_unchanged
kill -CONT "$hung"

echo "== package: silent uninstall"
ks_wine "$inst/uninstall.exe" /S; rc=$?
check "silent uninstall starts (code 0)" [ $rc -eq 0 ]
entry_gone() { ! reg_key_exists "$uninst_key"; }
# The original uninstaller hands over to a copy of itself and ends; the copy
# removes the entry last.
check "the Uninstall entry goes" wait_until 60 entry_gone
check "the agent ended and removed its icon" tray_story_is "a d a d a d "
check "no agent runs" probe /class=KestrowTrayAgent /state=absent /timeout=10000
only_kept_left() {
  local left
  left=$(cd "$inst" && ls -A | sort | tr '\n' ' ')
  [ "$left" = "LocalizationExample.lng Mine.lng Russian.lng settings.ini " ] ||
    [ "$left" = "Mine.lng Russian.lng settings.ini " ] || { echo "    left: $left"; return 1; }
  kept
}
check "only the settings and language files are left, unchanged" only_kept_left
check "the shortcuts are gone" \
  test ! -e "$programs_menu/Kestrow.lnk" -a ! -e "$programs_menu/Kestrow Settings.lnk"
check "the Run value is gone" [ -z "$(reg_value "$run_key" KestrowAgent)" ]
lang_key_gone() { ! reg_key_exists 'HKCU\Software\Kestrow'; }
check "the installer's language choice is gone" lang_key_gone

echo "== package: uninstall after the programs were deleted by hand"
# /D= comes last and unquoted, spaces and all, as NSIS reads it.
ks_wine "$setup" /S /RUN=0 /AUTORUN=1 '/D=C:\Kestrow' 'Test'; rc=$?
check "silent install into a folder of /D= (code 0)" test $rc -eq 0 -a -f "$other/KSAgent.exe"
check "/RUN=0 starts no agent" probe /class=KestrowTrayAgent /state=absent /timeout=0
check "a path with a blank goes into the Run value in quotes, as the agent writes it" \
  [ "$(reg_value "$run_key" KestrowAgent)" = '"C:\Kestrow Test\KSAgent.exe"' ]
rm -f "$other/KSAgent.exe" "$other/TDX.dll" "$other/KsConfig.exe"
ks_wine "$other/uninstall.exe" /S; rc=$?
check "the uninstaller still runs (code 0)" [ $rc -eq 0 ]
check "... and removes the Uninstall entry" wait_until 60 entry_gone
check "... the shortcuts" \
  test ! -e "$programs_menu/Kestrow.lnk" -a ! -e "$programs_menu/Kestrow Settings.lnk"
check "... and the Run value" [ -z "$(reg_value "$run_key" KestrowAgent)" ]
only_languages_left() { [ -z "$(ls -A "$other" | grep -vi '\.lng$')" ]; }
check "... and every program file" only_languages_left

echo "== package: the Run value, ours and another copy's"
opt_win='C:\KestrowOptions'
elsewhere='D:\Elsewhere\KSAgent.exe'
run_is() { [ "$(reg_value "$run_key" KestrowAgent)" = "$1" ]; }
ks_wine reg add "$run_key" /v KestrowAgent /t REG_SZ /d "$elsewhere" /f >/dev/null
ks_wine "$setup" /S /RUN=0 /AUTORUN=0 "/D=$opt_win"
check "/AUTORUN=0 leaves another copy's Run value alone" run_is "$elsewhere"
ks_wine "$setup" /S /RUN=0 /AUTORUN=1 "/D=$opt_win"
check "/AUTORUN=1 points it at this installation" run_is "$opt_win\\KSAgent.exe"
ks_wine "$setup" /S /RUN=0 /AUTORUN=0 "/D=$opt_win"
check "/AUTORUN=0 on an upgrade removes this installation's value" run_is ""
ks_wine reg add "$run_key" /v KestrowAgent /t REG_SZ /d "$elsewhere" /f >/dev/null
ks_wine "$(unixpath "$opt_win")/uninstall.exe" /S
wait_until 60 entry_gone
check "the uninstaller leaves another copy's Run value alone" run_is "$elsewhere"
ks_wine reg delete "$run_key" /v KestrowAgent /f >/dev/null 2>&1

echo "== package: a folder that cannot be written"
printf 'not a folder' > "$profile/occupied"
ks_wine "$setup" /S "/D=$(winpath "$profile/occupied")\\Kestrow"; rc=$?
check "setup stops (code 2)" [ $rc -eq 2 ]
nothing_written() {
  [ "$(cat "$profile/occupied")" = 'not a folder' ] && entry_gone &&
    [ ! -e "$programs_menu/Kestrow.lnk" ] && [ -z "$(reg_value "$run_key" KestrowAgent)" ]
}
check "... before anything is copied or registered" nothing_written
rm -f "$profile/occupied"

finish
