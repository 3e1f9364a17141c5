#!/bin/bash
# The program run from a folder that takes no file, as from Program Files, a
# read-only share or a CD: a read-only bind mount of its folder (a mode of
# 555 does not stop root). A page change, the customisation dialog's OK and
# the exit show no message box; the settings go to the user's own copy in
# the application-data folder, which starts from the file beside the
# program; a second start shows what the first one saved, and the folder
# beside the program is left exactly as it was. Mounting needs root and the
# right to mount; without them the test is skipped.
set -u
exe=$1
texts_helper=${HK_WINDOW_TEXTS:-}
source "$(cd "$(dirname "$0")" && pwd)/e2e_lib.sh"

folder=$work/readonly
mkdir "$folder"
cp "$exe" "$folder/hakarimaru.exe"
printf '[ZOVA]\r\nAUTOCLIP=0\r\nPAGE=2\r\nINDEX=13\r\n' >"$folder/hakarimaru.KZN"
if ! mount --bind "$folder" "$folder" 2>/dev/null; then
  echo "skipped: no folder can be mounted read-only here"
  exit 77
fi
if ! mount -o remount,ro,bind "$folder" 2>/dev/null; then
  umount "$folder"
  echo "skipped: no folder can be mounted read-only here"
  exit 77
fi

appdata=$(winepath -u "$(wine cmd /c 'echo %APPDATA%' | tr -d '\r')" 2>/dev/null)
user_folder=$appdata/はかり丸
if [ -z "$appdata" ]; then
  umount "$folder"
  echo "FAILED: Wine names no application-data folder"
  exit 1
fi
rm -rf "$user_folder"
trap 'umount "$folder" 2>/dev/null || umount -l "$folder"; rm -rf "$user_folder"; finish' EXIT

listing() {
  (cd "$folder" && ls -la --time-style=full-iso . && md5sum ./*)
}
before=$(listing)

category_button_1() {
  window_texts --at "$(scaled $((8 + 32)))" "$(scaled $((48 + 27)))" "はかり丸"
}
from_unit_1() {
  window_texts --at "$(scaled $((8 + 12 + 60)))" "$(scaled $((196 + 12 + 12)))" "はかり丸" |
    sed 's/ *$//'
}

start_program "$folder"
check "the first start shows the page of the file beside the program" "分類 13 L" "$(category_button_1)"
click_title_button 29  # page 1
no_message_box "the page change"

dialog="変換データカストマイズ"
open_customise_dialog
sleep 0.5
xdotool key End shift+Home
xdotool type --delay 80 "距離&L"
for _ in 1 2 3; do
  xdotool key Tab
  sleep 0.1
done
xdotool key End shift+Home
xdotool type --delay 80 "ro"
sleep 0.2
click_in "$dialog" $((12 + 68)) $((376 + 12))  # OK
closed=no
wait_for_no_window "$dialog" && closed=yes
check "OK closes the dialog" "yes" "$closed"
no_message_box "the dialog's OK"
exit_program

start_program "$folder"
check "the second start shows the page and the name saved" "距離L" "$(category_button_1)"
check "the second start shows the unit name saved" "変換元 ro" "$(from_unit_1)"
exit_program

check "the folder beside the program is unchanged" "$before" "$(listing)"
copy=$(iconv -f CP932 -t UTF-8 <"$user_folder/hakarimaru.KZN" 2>/dev/null | tr -d '\r')
check "the user's copy keeps the option of the file it started from" "1" \
  "$(grep -c '^AUTOCLIP=0$' <<<"$copy")"
check "the user's copy holds the page and the unit name" "2" \
  "$(grep -cE '^(PAGE=1|Button1=ro)$' <<<"$copy")"

report
