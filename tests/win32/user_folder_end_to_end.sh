#!/bin/bash
# Where the settings are kept when the folder beside the program is no place
# for them. Run from a folder under the user's temporary folder, as from a
# zip opened without unpacking it: the program says so once, shows the page
# of the user's own copy in the application-data folder, keeps its changes
# there and writes nothing into the temporary folder. Run beside a file whose
# permissions refuse writes (made immutable, which the system reports as
# access refused, not as the read-only mark) in a folder that takes files:
# the settings go to the user's copy, started from that file, with no message
# box at any save, and the file stays as it was; skipped where no file can be
# made immutable.
#
# Usage: user_folder_end_to_end.sh PATH_TO_HAKARIMARU_EXE
# HK_WINDOW_TEXTS names the helper that reads the program's windows.
set -u
exe=$1
texts_helper=${HK_WINDOW_TEXTS:-}
# shellcheck source=e2e_lib.sh
source "$(cd "$(dirname "$0")" && pwd)/e2e_lib.sh"

windows_folder() {  # variable name
  winepath -u "$(wine cmd /c "echo %$1%" | tr -d '\r')" 2>/dev/null
}
appdata=$(windows_folder APPDATA)
temporary=$(windows_folder TEMP)
if [ -z "$appdata" ] || [ -z "$temporary" ]; then
  echo "FAILED: Wine names no application-data or temporary folder"
  exit 1
fi
user_folder=$appdata/はかり丸
unzipped=$temporary/Temp1_hakarimaru-1.0-win32.zip
refused=$work/refused
rm -rf "$user_folder" "$unzipped"
trap 'chattr -i "$refused/hakarimaru.KZN" 2>/dev/null; rm -rf "$user_folder" "$unzipped"; finish' EXIT

category_button_1() {
  window_texts --at "$(scaled $((8 + 32)))" "$(scaled $((48 + 27)))" "はかり丸"
}
settings_lines() {  # file
  tr -d '\r' <"$1"
}

# From the temporary folder, with a copy in the user's folder that says page 2.
mkdir -p "$unzipped" "$user_folder"
printf '[ZOVA]\r\nPAGE=2\r\nINDEX=13\r\n' >"$user_folder/hakarimaru.KZN"
start_with_notice "$unzipped"
check "the notice says the program runs from a temporary folder" "yes" \
  "$(grep -qF '一時フォルダから起動されています' <<<"$notice" && echo yes)"
check "the notice says where the settings go" "yes" \
  "$(grep -qiF "$(winepath -w "$user_folder/hakarimaru.KZN")" <<<"$notice" && echo yes)"
check "the notice says how to keep them beside the program" "yes" \
  "$(grep -qF 'zip ファイルを展開してから起動すると' <<<"$notice" && echo yes)"
check "the page of the user's copy" "分類 13 L" "$(category_button_1)"
click_title_button 29 # page 1
no_message_box "the page change"
exit_program
check "nothing written into the temporary folder" "hakarimaru.exe" "$(ls "$unzipped")"
check "the user's copy keeps the page" "[ZOVA] PAGE=1 INDEX=1" \
  "$(settings_lines "$user_folder/hakarimaru.KZN" | grep -E '^(\[ZOVA\]|PAGE|INDEX)' | tr '\n' ' ' |
    sed 's/ $//')"

# Beside a file that refuses writes.
rm -rf "$user_folder"
mkdir "$refused"
printf '[ZOVA]\r\nAUTOCLIP=0\r\nPAGE=2\r\nINDEX=13\r\n' >"$refused/hakarimaru.KZN"
if ! chattr +i "$refused/hakarimaru.KZN" 2>/dev/null; then
  echo "skipped: no file can be made immutable here"
  report
fi
before=$(md5sum <"$refused/hakarimaru.KZN")
start_program "$refused"
no_message_box "the start"
check "the page of the file beside the program" "分類 13 L" "$(category_button_1)"
click_title_button 29 # page 1
no_message_box "the page change"
exit_program
check "the file beside the program is as it was" "$before" "$(md5sum <"$refused/hakarimaru.KZN")"
check "the user's copy started from it and holds the page" "AUTOCLIP=0 PAGE=1 INDEX=1" \
  "$(settings_lines "$user_folder/hakarimaru.KZN" | grep -E '^(AUTOCLIP|PAGE|INDEX)' |
    tr '\n' ' ' | sed 's/ $//')"

report
