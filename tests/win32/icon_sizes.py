#!/usr/bin/env python3
"""Prints the images that a Windows program's icon groups name, one a line:
width, height and bits per pixel, as the group directory gives them (a
width or height of 0 there means 256).

Usage: icon_sizes.py PROGRAM.exe
"""

import struct
import sys

RT_GROUP_ICON = 14


class Image:
    def __init__(self, data):
        self.data = data
        header = struct.unpack_from("<I", data, 0x3C)[0]
        sections, optional_size = struct.unpack_from("<H12xH", data, header + 6)
        optional = header + 24
        # The resource table is the third data directory of a PE32 header.
        self.resources = struct.unpack_from("<I", data, optional + 96 + 2 * 8)[0]
        self.sections = [
            struct.unpack_from("<8xIIII", data, optional + optional_size + 40 * i)
            for i in range(sections)
        ]

    def offset(self, rva):
        for virtual_size, address, raw_size, raw in self.sections:
            if address <= rva < address + max(virtual_size, raw_size):
                return rva - address + raw
        sys.exit(f"address {rva:#x} lies in no section")

    def entries(self, directory):
        """(id, where it points, whether that is a directory) of each entry."""
        at = self.offset(directory)
        named, numbered = struct.unpack_from("<HH", self.data, at + 12)
        for i in range(named + numbered):
            ident, target = struct.unpack_from("<II", self.data, at + 16 + 8 * i)
            yield ident, self.resources + (target & 0x7FFFFFFF), bool(target & 0x80000000)

    def leaves(self, directory):
        for _, target, is_directory in self.entries(directory):
            if is_directory:
                yield from self.leaves(target)
            else:
                rva, size = struct.unpack_from("<II", self.data, self.offset(target))
                yield self.data[self.offset(rva):self.offset(rva) + size]


def main(argv):
    if len(argv) != 2:
        sys.exit(__doc__)
    with open(argv[1], "rb") as program:
        image = Image(program.read())
    for ident, target, _ in image.entries(image.resources):
        if ident != RT_GROUP_ICON:
            continue
        for group in image.leaves(target):
            count = struct.unpack_from("<H", group, 4)[0]
            for i in range(count):
                width, height, _, _, _, bits = struct.unpack_from("<BBBBHH", group, 6 + 14 * i)
                print(width or 256, height or 256, bits)


if __name__ == "__main__":
    main(sys.argv)
