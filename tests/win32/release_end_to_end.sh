#!/usr/bin/env bash
# The release command as a maintainer runs it and the package as a Windows
# user meets it. ./release --check builds the zip from two clean checkouts of
# the tree under test in two folders, the second from a shell full of build
# settings, which must give the same bytes; a stand-in signing command signs
# the program before it is zipped. Beside the zip lie only the debug zip and
# SHA256SUMS, which the files match; the zip holds the program, its read-me,
# changes, licence and the toolchain's licences, each a file all may read; the
# program is small, keeps ASLR and DEP, guards its stack, carries no link time,
# asks for Vista and is made for Remote Desktop, declares the systems it
# knows, carries a 256-pixel icon and names its debug file, from which a
# crash's address reads back; unzipped into a folder of its own, it starts
# under Wine, converts and exits by its exit button.
#
# Usage: release_end_to_end.sh SOURCE_ROOT
# HK_WINDOW_TEXTS names the helper that prints a window's texts.
set -u
root=$1
texts_helper=${HK_WINDOW_TEXTS:-}
exe=unset  # the program comes out of the zip below
# shellcheck source=e2e_lib.sh
source "$(cd "$(dirname "$0")" && pwd)/e2e_lib.sh"

max_bytes=1200000

# A dist/ that holds a file of someone else's is refused before any build.
mkdir -p "$work/theirs/dist"
echo mine >"$work/theirs/dist/notes.txt"
"$root/release" --no-install --out "$work/theirs" >/dev/null 2>&1
refused=$?
check "a dist/ holding another's file is refused, the file kept" "1 mine" \
  "$refused $(cat "$work/theirs/dist/notes.txt")"

signature=hk-test-signature
cat >"$work/sign" <<EOF
#!/bin/sh
printf %s $signature >>"\$1"
EOF
chmod +x "$work/sign"
log=$work/release.log
if ! HK_SIGN_COMMAND="$work/sign" "$root/release" --check --working-tree --no-install \
  --out "$work/out" >"$log" 2>&1; then
  cat "$log"
  echo "FAILED: ./release --check"
  exit 1
fi
grep -E '^(built|the second|package|debug|hakarimaru|same|reproducible|signing|  )' "$log"
check "two clean checkouts give the same bytes" "yes" \
  "$(grep -q '^reproducible:' "$log" && echo yes)"
check "no checkout is left behind" "no" "$([ -e "$work/out/build" ] && echo yes || echo no)"

version=$(sed -n 's/^project(hakarimaru VERSION \([0-9.]*\) .*/\1/p' "$root/CMakeLists.txt")
dist=$work/out/dist
name=hakarimaru-$version-win32
zip=$dist/$name.zip
check "what dist/ holds: no program runs beside the zip" "SHA256SUMS $name-debug.zip $name.zip" \
  "$(cd "$dist" && LC_ALL=C ls | paste -sd ' ')"
zip_entries() {  # zip: each entry's name and mode
  python3 -c 'import sys, zipfile
for e in zipfile.ZipFile(sys.argv[1]).infolist(): print(e.filename, oct(e.external_attr >> 16))' "$1"
}
check "what the zip holds, each file readable by all" \
  "hakarimaru.exe README.txt CHANGES.txt LICENSE.txt THIRD-PARTY-NOTICES.txt 0o100644" \
  "$(zip_entries "$zip" | cut -d' ' -f1 | xargs) $(zip_entries "$zip" | cut -d' ' -f2 | sort -u | xargs)"
check "what the debug zip holds" "hakarimaru.debug 0o100644" "$(zip_entries "$dist/$name-debug.zip" | xargs)"

package=$dist/$name
python3 -m zipfile -e "$zip" "$package"
python3 -m zipfile -e "$dist/$name-debug.zip" "$package"
exe=$package/hakarimaru.exe
check "SHA256SUMS matches both zips and the program unzipped" "3 yes" \
  "$(wc -l <"$dist/SHA256SUMS") $(cd "$dist" && sha256sum --quiet -c SHA256SUMS && echo yes)"
check "the signing command signed the program in the zip" "$signature" \
  "$(tail -c ${#signature} "$exe")"
for licence in "GCC RUNTIME LIBRARY EXCEPTION" "GNU GENERAL PUBLIC LICENSE" ZPL-2.1 winpthreads; do
  check "THIRD-PARTY-NOTICES.txt holds $licence" "yes" \
    "$(grep -q "$licence" "$package/THIRD-PARTY-NOTICES.txt" && echo yes)"
done
size=$(stat -c %s "$exe")
check "the program is at most $max_bytes bytes ($size)" "yes" "$([ "$size" -le $max_bytes ] && echo yes)"
headers=$(i686-w64-mingw32-objdump -p "$exe")
for flag in DYNAMIC_BASE NX_COMPAT TERMINAL_SERVICE_AWARE; do
  check "the program keeps $flag" "yes" "$(grep -qw "$flag" <<<"$headers" && echo yes)"
done
check "the program asks for Windows 6.0 (Vista)" "6 0 6 0" \
  "$(awk '/^Major(OSystem|Subsystem)Version|^Minor(OSystem|Subsystem)Version/ {print $2}' <<<"$headers" | xargs)"
check "no link time in the header" "yes" \
  "$(grep -Eq '^Time/Date[[:space:]]+(00000000|Thu Jan  1 00:00:00 1970)' <<<"$headers" && echo yes)"
symbols=$(i686-w64-mingw32-nm "$package/hakarimaru.debug")
check "the stack is guarded" "yes" "$(grep -q '__stack_chk_fail' <<<"$symbols" && echo yes)"
winmain=$(awk '$3 == "_WinMain@16" {print $1}' <<<"$symbols")
check "an address in the program reads back through its debug file" "WinMain@16" \
  "$(i686-w64-mingw32-addr2line -f -e "$exe" "0x$winmain" | head -n 1)"
check "the program's icon has a 256-pixel image in 32-bit colour" "yes" \
  "$(python3 "$(dirname "$0")/icon_sizes.py" "$exe" | grep -qx '256 256 32' && echo yes)"
check "the manifest carries no comment" "0" "$(grep -ac '<!--' "$exe")"
check "the manifest names Vista to 11" "5" "$(grep -ao 'supportedOS Id=' "$exe" | wc -l)"
check "the manifest carries the version" "yes" \
  "$(grep -aq "name=\"Hakarimaru.Calculator\" version=\"$version.0.0\"" "$exe" && echo yes)"
check "the read-me opens in Notepad: UTF-8 with its mark, CR LF" "efbbbf yes" \
  "$(head -c 3 "$package/README.txt" | od -An -tx1 | tr -d ' ') $(grep -q $'\r$' "$package/README.txt" && echo yes)"

# The program from the zip: a value converted by the mouse and by keys.
folder=$work/run
mkdir "$folder"
start_program "$folder"
click_at 168 174  # the input
xdotool type --delay 60 "2.5"
click_unit 196 1  # from メートル
click_unit 336 2  # to センチメートル
sleep 0.5
check "2.5 m in cm" "250.00000" \
  "$(window_texts "はかり丸" | sed -n 's/^結果: \([^ ]*\).*/\1/p' | head -n 1)"
exit_program
check "the exit leaves the settings beside the program" "yes" \
  "$([ -f "$folder/hakarimaru.KZN" ] && echo yes)"
report
