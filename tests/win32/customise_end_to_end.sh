#!/usr/bin/env bash
# Customising a category as a user does it, in the real program under Wine
# with the real mouse and keyboard: the popup menu opened from the title
# panel's menu button, its customisation command chosen by its accelerator,
# a new category name and a unit name typed into the dialog, OK clicked. The
# category's button shows the new caption at once and again after a restart,
# and the settings file holds what was typed from the moment of OK.
#
# Usage: customise_end_to_end.sh PATH_TO_HAKARIMARU_EXE
# HK_WINDOW_TEXTS names the helper that reads the program's windows.
set -u
exe=$1
texts_helper=${HK_WINDOW_TEXTS:-}
# shellcheck source=e2e_lib.sh
source "$(cd "$(dirname "$0")" && pwd)/e2e_lib.sh"

dialog="変換データカストマイズ"
name="距離&L"

# Category button 1 of the page: 64 x 54 at (8, 48); unit button 1 of the
# "from" panel: 120 x 25 at (12, 12) in the panel at (8, 196).
category_button_1() {
  window_texts --at "$(scaled $((8 + 32)))" "$(scaled $((48 + 27)))" "はかり丸"
}
from_unit_1() {
  window_texts --at "$(scaled $((8 + 12 + 60)))" "$(scaled $((196 + 12 + 12)))" "はかり丸" |
    sed 's/ *$//'
}

# The settings file in UTF-8, its lines ended by CR LF as written.
settings_text() {  # folder
  iconv -f CP932 -t UTF-8 <"$1/hakarimaru.KZN" 2>/dev/null
}

folder=$work/customise
mkdir "$folder"
start_program "$folder"
# Read as a screen reader hears them: captions without their "&".
check "category button 1 before" "長さ1L" "$(category_button_1)"

# Help opened before the dialog stays usable while the dialog waits.
click_title_button 305
wait_for_window "$help_title"

open_customise_dialog
sleep 0.5
dialog_window=$(xdotool search --onlyvisible --name "^$dialog\$" 2>/dev/null | head -n 1)
if [ -n "$dialog_window" ]; then
  eval "$(xdotool getwindowgeometry --shell "$dialog_window")"
  # Its designed place, unless its scaled size would reach below the screen.
  screen_height=$(xdpyinfo | awk '/dimensions:/ { split($2, size, "x"); print size[2] }')
  top=405
  [ $((top + HEIGHT)) -gt "$screen_height" ] && top=$((screen_height - HEIGHT))
  check "the dialog's place" "470,$top" "$X,$Y"
  check_size "the dialog's size" 345 437 "$WIDTH" "$HEIGHT"
  # Its border sizes it: a drag of the lower right corner by (40, 30), or of
  # the upper right one by (40, -30) when the dialog reaches the screen's foot.
  before="$((WIDTH + 40))x$((HEIGHT + 30))"
  corner_y=$((Y + HEIGHT - 2)) down=1 after_top=$top
  if [ $((Y + HEIGHT + 30)) -gt "$screen_height" ]; then
    corner_y=$((Y + 2)) down=-1 after_top=$((top - 30))
  fi
  xdotool mousemove $((X + WIDTH - 2)) "$corner_y"
  sleep 0.2
  xdotool mousedown 1
  sleep 0.2
  for step in 1 2 3 4; do
    xdotool mousemove $((X + WIDTH - 2 + 10 * step)) $((corner_y + down * 15 * step / 2))
    sleep 0.1
  done
  xdotool mouseup 1
  sleep 0.5
  eval "$(xdotool getwindowgeometry --shell "$dialog_window")"
  check "the dialog after a drag of its corner" "470,$after_top $before" "$X,$Y ${WIDTH}x$HEIGHT"
fi

# The dialog opens with the name box focused; its text is replaced whole.
# xdotool types a kanji by mapping it to a spare key first; on a loaded
# machine Wine can miss the first such mapping, so one kanji typed and then
# replaced lets the mapping settle before the name is typed.
xdotool type --delay 80 "距"
sleep 0.3
xdotool key End shift+Home
xdotool type --delay 80 "$name"
sleep 0.2
# The icon list and the picture's button come before the first unit name.
for _ in 1 2 3; do
  xdotool key Tab
  sleep 0.1
done
xdotool key End shift+Home
xdotool type --delay 80 "m"
sleep 0.2
click_in "$help_title" 400 200
close_help "help opened before the dialog"
# HelpButton: 75 x 25 at (152, 376). Help is read and closed by its keys
# while the dialog waits.
check_help "the dialog" "表示中の分類の名前、ボタンの絵" click_in "$dialog" $((152 + 37)) $((376 + 12))
close_help "the dialog's help"

# OKButton: 137 x 25 at (12, 376).
click_in "$dialog" $((12 + 68)) $((376 + 12))
closed=no
wait_for_no_window "$dialog" && closed=yes
check "OK closes the dialog" "yes" "$closed"

check "category button 1 after OK" "${name/&/}" "$(category_button_1)"
check "unit 1 after OK" "変換元 m" "$(from_unit_1)"
# OK writes at once, the name and icon first, then the rows in order.
expected=$(printf '[BUNRUI1]\r\nNAME=%s\r\nICON=0\r\nButton1=m\r\nDATA1=   1.00000\r\nPOINT1=5\r\nCOLOR1=1\r\n' \
  "$name" | bytes_of)
check "the settings file right after OK" "$expected" \
  "$(settings_text "$folder" | head -n 7 | bytes_of)"

exit_program
start_program "$folder"
check "category button 1 after a restart" "${name/&/}" "$(category_button_1)"
check "unit 1 after a restart" "変換元 m" "$(from_unit_1)"
exit_program
check "the settings file keeps the name" "1" "$(settings_text "$folder" | grep -c "^NAME=$name"$'\r'"\$")"
check "the settings file keeps the unit" "1" "$(settings_text "$folder" | grep -c $'^Button1=m\r$')"

report
