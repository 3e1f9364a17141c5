#!/bin/bash
# A settings file that another program (the settings helper, as a scanner or
# a backup does) holds open alone through the whole start-up: the program
# says once which file it could not read and that this run saves nothing to
# it, starts from the built-in table, and then the money page, a rate
# stepped there, the clipboard option, the customisation dialog's OK and the
# exit, all made after the other program let go, show no message box and
# leave the file's bytes as they were.
#
# Usage: held_settings_end_to_end.sh PATH_TO_HAKARIMARU_EXE
# HK_WINDOW_TEXTS names the helper that reads the program's windows,
# HK_SETTINGS_HELPER the one that holds the file.
set -u
exe=$1
texts_helper=${HK_WINDOW_TEXTS:-}
settings_helper=${HK_SETTINGS_HELPER:-}
# shellcheck source=e2e_lib.sh
source "$(cd "$(dirname "$0")" && pwd)/e2e_lib.sh"

if [ -z "$settings_helper" ]; then
  echo "FAILED: HK_SETTINGS_HELPER must name the settings helper"
  exit 1
fi

folder=$work/held
mkdir "$folder"
cp "$exe" "$folder/hakarimaru.exe"
printf '[ZOVA]\r\nINDEX=4\r\n[BUNRUI4]\r\nNAME=mine&M\r\n[BUNRUI25]\r\nDATA2=1.23\r\n' \
  >"$folder/hakarimaru.KZN"
before=$(md5sum <"$folder/hakarimaru.KZN")

wine "$settings_helper" hold "$(winepath -w "$folder/hakarimaru.KZN")" \
  "$(winepath -w "$folder/let-go")" >"$work/holder.out" 2>/dev/null &
holder_pid=$!
for _ in $(seq 1 100); do
  grep -q held "$work/holder.out" 2>/dev/null && break
  sleep 0.1
done
check "the other program holds the file" "held" "$(tr -d '\r' <"$work/holder.out")"

start_with_notice "$folder"
file_shown=$(winepath -w "$folder/hakarimaru.KZN")
check "the notice says the file could not be read" "yes" \
  "$(grep -qF '設定ファイルを読めませんでした。' <<<"$notice" && echo yes)"
check "the notice names the file" "yes" "$(grep -qiF "$file_shown" <<<"$notice" && echo yes)"
check "the notice says this run saves nothing to it" "yes" \
  "$(grep -qF '今回の変更はこのファイルに保存されません。' <<<"$notice" && echo yes)"

# From here on, the file could be written.
touch "$folder/let-go"
wait "$holder_pid"
rm -f "$folder/let-go"

category_button_1() {
  window_texts --at "$(scaled $((8 + 32)))" "$(scaled $((48 + 27)))" "はかり丸"
}
check "the built-in table, on page 1" "長さ1L" "$(category_button_1)"

click_title_button 81                         # page 3
click_at $((404 + 130 + 7)) $((2 + 115 + 4))  # 米ドル one step up
no_message_box "the money page and a rate stepped"
click_title_button 3 # the menu: the clipboard option
sleep 0.3
for _ in 1 2 3 4 5; do
  xdotool key Down
  sleep 0.1
done
xdotool key Return
no_message_box "the clipboard option"

dialog="変換データカストマイズ"
open_customise_dialog
sleep 0.5
xdotool key End shift+Home
xdotool type --delay 80 "USD"
click_in "$dialog" $((12 + 68)) $((376 + 12)) # OK
closed=no
wait_for_no_window "$dialog" && closed=yes
check "OK closes the dialog" "yes" "$closed"
check "the name typed is shown all the same" "USD" "$(category_button_1)"
no_message_box "the dialog's OK"
exit_program

check "the file's bytes are as they were" "$before" "$(md5sum <"$folder/hakarimaru.KZN")"
check "no file but the program and its settings" "hakarimaru.KZN hakarimaru.exe" \
  "$(ls "$folder" | tr '\n' ' ' | sed 's/ $//')"

report
