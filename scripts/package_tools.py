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
"""
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


def main(argv):
    if len(argv) >= 2 and argv[0] == "version":
        print(file_version(argv[1]))
    elif len(argv) == 4 and argv[0] == "files":
        for source, name in read_list(argv[1], argv[2], argv[3]):
            print(f"{source}\t{name}")
    elif len(argv) >= 5 and argv[0] == "zip":
        write_zip(argv[1], argv[2], int(argv[3]), argv[4:])
    else:
        print(__doc__, file=sys.stderr)
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
