#!/usr/bin/env python3
"""Makes the zip that Windows users download.

The entries go in the order given, each with the same fixed time (the
commit's, from SOURCE_DATE_EPOCH, when set), no owner and the mode 0644, so
that the zip's bytes depend on nothing but the files. Text files become
what Notepad opens on every Windows: UTF-8 with a byte-order mark and CR LF
line ends.

Usage: make_package.py OUT.zip NAME=FILE...   (a NAME ending in .txt is text)
"""

import os
import stat
import sys
import time
import zipfile

# Used when no commit time is given: any fixed time keeps the bytes the same.
DEFAULT_EPOCH = 1767225600  # 2026-01-01 00:00 UTC


def entry_time():
    epoch = int(os.environ.get("SOURCE_DATE_EPOCH", DEFAULT_EPOCH))
    # The zip format has no time zone and nothing before 1980.
    return max(time.gmtime(epoch)[:6], (1980, 1, 1, 0, 0, 0))


def windows_text(data):
    text = data.decode("utf-8").replace("\r\n", "\n")
    if text.startswith("\ufeff"):
        text = text[1:]
    return ("\ufeff" + text.replace("\n", "\r\n")).encode("utf-8")


def main(argv):
    if len(argv) < 3 or any("=" not in arg for arg in argv[2:]):
        sys.exit(__doc__)
    stamp = entry_time()
    temp = argv[1] + ".part"
    with zipfile.ZipFile(temp, "w") as package:
        for arg in argv[2:]:
            name, path = arg.split("=", 1)
            with open(path, "rb") as source:
                data = source.read()
            if name.lower().endswith(".txt"):
                data = windows_text(data)
            info = zipfile.ZipInfo(name, stamp)
            # A plain file that all may read: with no mode at all, unzip on
            # Linux makes the files their owner's only.
            info.create_system = 3  # Unix, so that the mode below counts
            info.external_attr = (stat.S_IFREG | 0o644) << 16
            info.compress_type = zipfile.ZIP_DEFLATED
            package.writestr(info, data, compresslevel=9)
    os.replace(temp, argv[1])


if __name__ == "__main__":
    main(sys.argv)
