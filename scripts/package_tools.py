#!/usr/bin/env python3
"""Helpers of scripts/package.sh that need more than the shell.

  package_tools.py version EXE
      Prints the file version of a Windows program ("1.7.0.121"), read from
      the fixed block of its version resource.
  package_tools.py files LIST SET ROOT
      Prints "source<TAB>name" for each file of SET in LIST whose source
      exists under ROOT; fails on a required file that is missing.
  package_tools.py zip OUT FOLDER EPOCH FILE...
      Writes a zip with FILE... inside FOLDER/, in the given order, every
      entry dated EPOCH, so one input always gives the same bytes.
  package_tools.py manifests DIST VERSION BASE EPOCH
      Writes, from DIST/SHA256SUMS, the winget manifests of the installer
      into DIST/winget/manifests/o/OrlinWorks/Kestrow/VERSION/ and the Scoop
      manifest of the portable zips into DIST/scoop/kestrow.json. Each
      package is looked for at BASE/VERSION/FILE.
"""
import json
import os
import struct
import sys
import time
import zipfile

FIXED_FILE_INFO_SIGNATURE = struct.pack("<I", 0xFEEF04BD)


def file_version(path):
    data = open(path, "rb").read()
    # The fixed block follows the resource's key; the signature alone may also
    # be found in code that checks it.
    key = data.find("VS_VERSION_INFO".encode("utf-16-le"))
    at = data.find(FIXED_FILE_INFO_SIGNATURE, key) if key >= 0 else -1
    if at < 0:
        raise SystemExit(f"package: {path} has no version resource")
    # Signature, struct version, then FileVersionMS and FileVersionLS.
    _, _, ms, ls = struct.unpack_from("<IIII", data, at)
    return f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}"


def read_list(list_path, wanted_set, root):
    """The files of one set: (source path, name in the package)."""
    files = []
    for number, raw in enumerate(open(list_path, encoding="utf-8"), 1):
        line = raw.split("#", 1)[0].split()
        if not line:
            continue
        if len(line) not in (2, 3) or (len(line) == 3 and line[2] != "optional"):
            raise SystemExit(f"package: {list_path}:{number}: expected 'SET SOURCE [optional]'")
        file_set, source = line[0], line[1]
        if file_set != wanted_set:
            continue
        if not os.path.isfile(os.path.join(root, source)):
            if len(line) == 3:
                continue  # not built (yet): the set goes without it
            raise SystemExit(f"package: {source} is missing; build first")
        files.append((source, os.path.basename(source)))
    names = [name for _, name in files]
    if len(set(n.lower() for n in names)) != len(names):
        raise SystemExit(f"package: set {wanted_set} names one file twice")
    if not files:
        raise SystemExit(f"package: set {wanted_set} has no files")
    return files


def write_zip(out, folder, epoch, paths):
    # Zip stores local time with two-second steps and no year before 1980.
    stamp = time.gmtime(max(epoch, 315532800))[:6]
    tmp = out + ".tmp"
    with zipfile.ZipFile(tmp, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as z:
        for path in paths:
            info = zipfile.ZipInfo(f"{folder}/{os.path.basename(path)}", date_time=stamp)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = 0  # MS-DOS attributes, as Windows' own zips carry
            info.external_attr = 0x20  # archive bit only
            with open(path, "rb") as f:
                z.writestr(info, f.read())
    os.replace(tmp, out)


WINGET_ID = "OrlinWorks.Kestrow"
WINGET_SCHEMA = "1.6.0"
HOMEPAGE = "https://www.orlinworks.example/"
DESCRIPTIONS = {
    "en-US": (
        "Smart mouse wheel: every turn scrolls the window under the pointer",
        "Kestrow sends each mouse-wheel turn to the window under the pointer instead of the window "
        "with the keyboard focus. Optionally it scrolls horizontally while Shift, Ctrl or a mouse "
        "button is held, ignores the wheel while the middle button is held, and jumps to the start "
        "or end of a scroll bar when the wheel turns over it. It runs from the notification area; "
        "its menus and settings page are in English and Russian.",
    ),
    "ru-RU": (
        "Умное колесо мыши: каждый поворот прокручивает окно под указателем",
        "Kestrow передаёт каждый поворот колеса мыши окну под указателем, а не окну с фокусом "
        "клавиатуры. По желанию он прокручивает по горизонтали, пока нажаты Shift, Ctrl или кнопка "
        "мыши, не замечает колесо, пока нажата средняя кнопка, и переходит к началу или концу "
        "полосы прокрутки, когда колесо поворачивают над ней. Работает из области уведомлений; "
        "меню и страница настроек на английском и русском языках.",
    ),
}


def read_sums(dist):
    """File name -> SHA-256 (lower-case hex) from DIST/SHA256SUMS."""
    sums = {}
    for line in open(os.path.join(dist, "SHA256SUMS"), encoding="ascii"):
        digest, name = line.split(None, 1)
        sums[name.strip().lstrip("*")] = digest.lower()
    return sums


def yaml_text(manifest_type, fields, schema):
    # Scalars as JSON strings, which YAML reads as double-quoted strings.
    def scalar(value):
        return json.dumps(value, ensure_ascii=False)

    def emit(value, indent):
        lines = []
        pad = "  " * indent
        if isinstance(value, dict):
            for key, item in value.items():
                if isinstance(item, (dict, list)):
                    lines.append(f"{pad}{key}:")
                    lines.extend(emit(item, indent + 1))
                else:
                    lines.append(f"{pad}{key}: {scalar(item)}")
        else:
            for item in value:
                if isinstance(item, dict):
                    inner = emit(item, indent + 1)
                    lines.append(f"{pad}- {inner[0].lstrip()}")
                    lines.extend(inner[1:])
                else:
                    lines.append(f"{pad}- {scalar(item)}")
        return lines

    fields = dict(fields, ManifestType=manifest_type, ManifestVersion=WINGET_SCHEMA)
    head = f"# yaml-language-server: $schema=https://aka.ms/winget-manifest.{schema}.{WINGET_SCHEMA}.schema.json"
    return "\n".join([head, ""] + emit(fields, 0)) + "\n"


def write_manifests(dist, version, base, epoch):
    sums = read_sums(dist)

    def url(name):
        return f"{base.rstrip('/')}/{version}/{name}"

    setup = f"Kestrow-{version}-setup.exe"
    ident = {"PackageIdentifier": WINGET_ID, "PackageVersion": version}
    winget = os.path.join(dist, "winget", "manifests", "o", *WINGET_ID.split("."), version)
    os.makedirs(winget, exist_ok=True)
    files = {
        f"{WINGET_ID}.yaml": yaml_text("version", dict(ident, DefaultLocale="en-US"), "version"),
        f"{WINGET_ID}.installer.yaml": yaml_text(
            "installer",
            dict(
                ident,
                InstallerType="nullsoft",
                Scope="user",
                InstallModes=["interactive", "silent", "silentWithProgress"],
                InstallerSwitches={"Silent": "/S", "SilentWithProgress": "/S"},
                UpgradeBehavior="install",
                ProductCode="Kestrow",
                ReleaseDate=time.strftime("%Y-%m-%d", time.gmtime(epoch)),
                # One setup for both: it installs the x64 set on 64-bit Windows.
                Installers=[
                    {"Architecture": arch, "InstallerUrl": url(setup), "InstallerSha256": sums[setup].upper()}
                    for arch in ("x64", "x86")
                ],
            ),
            "installer",
        ),
    }
    for locale, (short, long) in DESCRIPTIONS.items():
        fields = dict(ident, PackageLocale=locale, Publisher="Orlin Works", PackageName="Kestrow")
        fields.update(PackageUrl=HOMEPAGE, License="Proprietary", ShortDescription=short, Description=long)
        default = locale == "en-US"
        kind = "defaultLocale" if default else "locale"
        files[f"{WINGET_ID}.locale.{locale}.yaml"] = yaml_text(kind, fields, kind)
    for name, text in files.items():
        with open(os.path.join(winget, name), "w", encoding="utf-8", newline="\n") as f:
            f.write(text)

    # Scoop keeps each version in a folder of its own: what the user changes
    # lives in its persist folder. A file to persist must exist first, or
    # Scoop makes a folder of that name; settings.ini starts as an empty
    # Unicode profile, as the programs create it.
    arch = {}
    for scoop_arch, zip_arch in (("64bit", "x64"), ("32bit", "x86")):
        name = f"Kestrow-{version}-{zip_arch}.zip"
        arch[scoop_arch] = {"url": url(name), "hash": sums[name], "extract_dir": f"Kestrow-{version}-{zip_arch}"}
    scoop = {
        "version": version,
        "description": DESCRIPTIONS["en-US"][0],
        "homepage": HOMEPAGE,
        "license": "Proprietary",
        "architecture": arch,
        "pre_install": [
            'if (-not (Test-Path "$persist_dir\\settings.ini")) {',
            '    [IO.File]::WriteAllBytes("$dir\\settings.ini", [byte[]](0xFF, 0xFE))',
            "}",
        ],
        "bin": ["KSAgent.exe", "KsConfig.exe"],
        "shortcuts": [["KSAgent.exe", "Kestrow"], ["KsConfig.exe", "Kestrow Settings"]],
        "persist": ["settings.ini", "Russian.lng"],
    }
    os.makedirs(os.path.join(dist, "scoop"), exist_ok=True)
    with open(os.path.join(dist, "scoop", "kestrow.json"), "w", encoding="utf-8", newline="\n") as f:
        json.dump(scoop, f, indent=4, ensure_ascii=False)
        f.write("\n")


def main(argv):
    if len(argv) >= 2 and argv[0] == "version":
        print(file_version(argv[1]))
    elif len(argv) == 4 and argv[0] == "files":
        for source, name in read_list(argv[1], argv[2], argv[3]):
            print(f"{source}\t{name}")
    elif len(argv) == 5 and argv[0] == "manifests":
        write_manifests(argv[1], argv[2], argv[3], int(argv[4]))
    elif len(argv) >= 5 and argv[0] == "zip":
        write_zip(argv[1], argv[2], int(argv[3]), argv[4:])
    else:
        print(__doc__, file=sys.stderr)
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
