#!/usr/bin/env python3
"""Writes a UTF-8 text file as Shift-JIS (code page 932), as the program
holds every text. The yen sign becomes byte 0x5C, which the system shows as
the yen sign; any other character that the code page cannot hold stops the
build with its line, rather than turning into a question mark."""
import os
import sys


def main(source, target):
    with open(source, encoding="utf-8") as f:
        lines = f.read().replace("\u00a5", "\\").splitlines(keepends=True)
    out = bytearray()
    for number, line in enumerate(lines, 1):
        try:
            out += line.encode("cp932")
        except UnicodeEncodeError as error:
            bad = line[error.start:error.end]
            sys.exit(f"{source}:{number}: not in code page 932: {bad!r} (U+{ord(bad[0]):04X})")
    os.makedirs(os.path.dirname(os.path.abspath(target)), exist_ok=True)
    with open(target, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
