#!/usr/bin/env python3
"""Marks a PE image to be run from the swap file when it lies on removable or
network media (IMAGE_FILE_REMOVABLE_RUN_FROM_SWAP | IMAGE_FILE_NET_RUN_FROM_SWAP),
which this linker has no option for. Windows then copies the whole image
before it runs, so a library mapped into other programs cannot fault there when
its stick is pulled or its share drops. Changes the file in place; running it
twice changes nothing more.

Usage: pe_swaprun.py IMAGE
"""
import struct
import sys

SWAPRUN = 0x0400 | 0x0800


def main(path):
    with open(path, "r+b") as image:
        data = image.read(4096)
        if len(data) < 0x40 or data[:2] != b"MZ":
            sys.exit(f"pe_swaprun: {path} is not a PE image")
        header = struct.unpack_from("<I", data, 0x3C)[0]
        if header + 24 > len(data) or data[header:header + 4] != b"PE\0\0":
            sys.exit(f"pe_swaprun: {path} has no PE header where its DOS header says")
        at = header + 4 + 18  # Characteristics in the COFF file header
        characteristics = struct.unpack_from("<H", data, at)[0]
        image.seek(at)
        image.write(struct.pack("<H", characteristics | SWAPRUN))


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    main(sys.argv[1])
