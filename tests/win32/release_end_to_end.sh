#!/usr/bin/env bash
# The release command as a maintainer runs it and the package as a Windows
# user meets it. ./release --check builds the zip from two clean checkouts of
# the commit in two folders, which must give the same bytes; the zip holds the
# program, its read-me and its licence and nothing else; the program is small,
# keeps ASLR and DEP, guards its stack, carries no link time and declares the
# systems it knows; unzipped into a folder of its own, it starts under Wine,
# converts and exits by its exit button.
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

log=$work/release.log
if ! "$root/release" --check --out "$work/out" >"$log" 2>&1; then
  cat "$log"
  echo "FAILED: ./release --check"
  exit 1
fi
grep -E '^(built|package|hakarimaru|same|reproducible|  )' "$log"
check "two clean checkouts give the same bytes" "yes" \
  "$(grep -q '^reproducible:' "$log" && echo yes)"

version=$(sed -n 's/^project(hakarimaru VERSION \([0-9.]*\) .*/\1/p' "$root/CMakeLists.txt")
zip=$work/out/dist/hakarimaru-$version-win32.zip
check "the zip is named after the project's version $version" "yes" "$([ -f "$zip" ] && echo yes)"
check "the program with its symbols lies beside it" "yes" \
  "$([ -f "$work/out/dist/hakarimaru-$version-win32-symbols.exe" ] && echo yes)"
check "what the zip holds" "hakarimaru.exe README.txt LICENSE.txt" \
  "$(python3 -c 'import sys, zipfile; print(*zipfile.ZipFile(sys.argv[1]).namelist())' "$zip")"

package=$work/package
python3 -m zipfile -e "$zip" "$package"
exe=$package/hakarimaru.exe
size=$(stat -c %s "$exe")
check "the program is at most $max_bytes bytes ($size)" "yes" "$([ "$size" -le $max_bytes ] && echo yes)"
headers=$(i686-w64-mingw32-objdump -p "$exe")
for flag in DYNAMIC_BASE NX_COMPAT; do
  check "the program keeps $flag" "yes" "$(grep -qw "$flag" <<<"$headers" && echo yes)"
done
check "no link time in the header" "yes" \
  "$(grep -Eq '^Time/Date[[:space:]]+(00000000|Thu Jan  1 00:00:00 1970)' <<<"$headers" && echo yes)"
check "the stack is guarded" "yes" "$(i686-w64-mingw32-nm "$work/out/dist/hakarimaru-$version-win32-symbols.exe" |
  grep -q '__stack_chk_fail' && echo yes)"
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
