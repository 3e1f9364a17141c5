#!/usr/bin/env python3
"""Prints what the program's bytes are made of, from the linker's map.

Every input section that reaches the stripped program (no debug
information, nothing of .bss) is counted for the part that it came from:
the program's own code, the C++ library, the GCC runtime, the threads
library, the C runtime, the resources, the import tables and the
relocations. What the file holds beyond them is headers and alignment.

Usage: size_by_part.py MAP STRIPPED_EXE
"""

import os
import re
import sys

PARTS = [
    ("own code", r"libhk_|hakarimaru\.dir"),
    ("C++ library", r"libstdc\+\+|libsupc\+\+"),
    ("GCC runtime (unwinder, stack guard)", r"libgcc|libssp"),
    ("threads library", r"libwinpthread|libpthread"),
    ("C runtime", r"libmingw|libmsvcrt|crt2\.o|crtbegin\.o|crtend\.o|libmoldname"),
]
BY_SECTION = {".rsrc": "resources", ".idata": "import tables", ".reloc": "relocations"}
OUTPUT_ORDER = [name for name, _ in PARTS] + list(BY_SECTION.values()) + ["other"]

OUTPUT_SECTION = re.compile(r"^(\.[\w.$]+)\s+0x[0-9a-f]+\s+0x[0-9a-f]+")
INPUT_NAME_ONLY = re.compile(r"^ (\.[\w.$]+)\s*$")
INPUT_SECTION = re.compile(r"^ (?:\.[\w.$]+)?\s+0x[0-9a-f]+\s+0x([0-9a-f]+)\s+(\S.*)$")


def part_of(output, source):
    if output in BY_SECTION:
        return BY_SECTION[output]
    for name, pattern in PARTS:
        if re.search(pattern, source):
            return name
    return "other"


def sizes(map_text):
    totals = dict.fromkeys(OUTPUT_ORDER, 0)
    # Sections are counted from the first output section on: what comes
    # before (discarded sections, whatever the map's language) has none.
    output = None
    for line in map_text.split("\n"):
        match = OUTPUT_SECTION.match(line)
        if match:
            output = match.group(1)
            continue
        if INPUT_NAME_ONLY.match(line):
            continue
        match = INPUT_SECTION.match(line)
        if not match or output is None or output == ".bss" or output.startswith((".debug", ".stab")):
            continue
        totals[part_of(output, match.group(2))] += int(match.group(1), 16)
    return totals


def main(argv):
    if len(argv) != 3:
        sys.exit(__doc__)
    with open(argv[1], encoding="utf-8", errors="replace") as source:
        totals = sizes(source.read())
    file_size = os.path.getsize(argv[2])
    for name in OUTPUT_ORDER:
        if totals[name]:
            print(f"  {name:38s} {totals[name]:9,d} bytes")
    print(f"  {'headers and alignment':38s} {file_size - sum(totals.values()):9,d} bytes")
    print(f"  {'hakarimaru.exe, stripped':38s} {file_size:9,d} bytes")


if __name__ == "__main__":
    main(sys.argv)
