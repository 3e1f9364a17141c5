#!/usr/bin/env python3
"""Writes THIRD-PARTY-NOTICES.txt: the licences of the toolchain's code that
the linker put into the program.

The linker's map names every library and object file that the link loaded.
Each one from outside the build belongs to a package of the system, and that
package's copyright file holds the notices its licences ask binary copies to
carry. The files go in whole, as the toolchain ships them, so that the
notices follow the toolchain the program was built with. The GCC runtime's
copyright file points to the GNU GPL version 3 instead of holding it, so its
full text comes along from the system's licence folder.

A loaded file that no package owns, or a package without a copyright file,
stops the build: its notice cannot be found.

Usage: third_party_notices.py MAP OUT
"""

import os
import re
import subprocess
import sys
import textwrap

DOC_FOLDER = "/usr/share/doc"
LICENCE_FOLDER = "/usr/share/common-licenses"
# Licences that a copyright file may name by its path in LICENCE_FOLDER
# rather than hold; only those of code that runs in the program come along.
REFERRED_LICENCES = ["GPL-3"]

HEADER = """\
hakarimaru.exe に組み込まれている、ほかのソフトウェアのライセンス
Licences of the other software built into hakarimaru.exe
================================================================

hakarimaru.exe には、はかり丸自身のコード (ライセンスは LICENSE.txt) の
ほかに、それを作ったコンパイラ (MinGW-w64 と GCC) のランタイムライブラリが
入っています。下に、それぞれのライセンスの全文を、ビルドに使った
パッケージの copyright ファイルから、そのまま写してあります。

Besides the program's own code (licensed as LICENSE.txt says),
hakarimaru.exe holds runtime libraries of the compiler that built it
(MinGW-w64 and GCC). Their licences follow in full, copied unchanged from
the copyright files of the packages the program was built with.

The program holds code from these files of these packages:
"""


def loaded_files(map_text):
    """The files from outside the build that the link loaded."""
    paths = re.findall(r"^LOAD (/\S+)$", map_text, re.MULTILINE)
    return sorted({os.path.realpath(path) for path in paths})


def owners(paths):
    """Maps each path to the package that owns it."""
    result = subprocess.run(["dpkg-query", "-S"] + paths, capture_output=True, text=True)
    owner = {}
    for line in result.stdout.splitlines():
        packages, _, path = line.partition(": ")
        if path in paths:
            owner[path] = packages.split(", ")[0].split(":")[0]
    unowned = [path for path in paths if path not in owner]
    if unowned:
        sys.exit("no package owns " + ", ".join(unowned) + ": its licence cannot be found")
    return owner


def version_of(package):
    return subprocess.run(["dpkg-query", "-W", "-f=${Version}", package],
                          capture_output=True, text=True, check=True).stdout


def read_text(path):
    try:
        with open(path, encoding="utf-8") as source:
            return source.read().rstrip("\n") + "\n"
    except OSError as error:
        sys.exit(f"cannot read {path} ({error.strerror}): the notice is missing")


def notices(paths):
    owner = owners(paths)
    files_of = {}
    for path, package in owner.items():
        files_of.setdefault(package, []).append(os.path.basename(path))
    # Packages of one source share a copyright file: each text once, under
    # every package that carries it.
    texts = {}
    for package in sorted(files_of):
        text = read_text(os.path.join(DOC_FOLDER, package, "copyright"))
        texts.setdefault(text, []).append(package)
    out = [HEADER]
    for package in sorted(files_of):
        files = ", ".join(sorted(set(files_of[package])))
        out.append(f"  {package} {version_of(package)}:\n"
                   + textwrap.fill(files, width=76, initial_indent="    ",
                                   subsequent_indent="    ") + "\n")
    for text, packages in texts.items():
        out.append("\n" + "=" * 72 + "\n")
        out.append("The copyright file of " + ", ".join(packages) + "\n")
        out.append("=" * 72 + "\n\n" + text)
    for licence in REFERRED_LICENCES:
        path = os.path.join(LICENCE_FOLDER, licence)
        if any(path in text for text in texts):
            out.append("\n" + "=" * 72 + "\n")
            out.append(f"{licence}, to which the copyright files above refer\n")
            out.append("=" * 72 + "\n\n" + read_text(path))
    return "".join(out)


def main(argv):
    if len(argv) != 3:
        sys.exit(__doc__)
    with open(argv[1], encoding="utf-8", errors="replace") as source:
        paths = loaded_files(source.read())
    if not paths:
        sys.exit(f"{argv[1]} names no library of the toolchain: is it a linker's map?")
    text = notices(paths)
    temp = argv[2] + ".part"
    with open(temp, "w", encoding="utf-8") as out:
        out.write(text)
    os.replace(temp, argv[2])


if __name__ == "__main__":
    main(sys.argv)
