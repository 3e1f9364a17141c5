#!/usr/bin/env bash
# The program as a user meets it: a copy of hakarimaru.exe in a folder of its
# own, started under Wine and driven with the real mouse and keyboard.
#
# First in an empty folder: the window comes up at (0, 0) at its size, a value
# typed into the input converts as unit buttons are clicked and as F-keys are
# pressed, each result shows in the window and is on the X clipboard, no hint
# shows over the open menu, the money page widens the window, and the exit button leaves a settings file of
# exactly the expected bytes. Then with the settings of an earlier run: the
# window comes up where they say, follows a drag on its title panel, and on
# its exit button writes where it was left. Last, settings that put the window
# beyond the screen: it opens wholly on it.
#
# Usage: end_to_end.sh PATH_TO_HAKARIMARU_EXE
# HK_WINDOW_TEXTS names the helper that prints a window's texts.
set -u
exe=$1
texts_helper=${HK_WINDOW_TEXTS:-}
# shellcheck source=e2e_lib.sh
source "$(cd "$(dirname "$0")" && pwd)/e2e_lib.sh"

# The result as a screen reader hears it (its value: the digits, then the
# unit) and as the clipboard holds it.
check_result() {  # what, expected digits
  sleep 0.5
  local shown
  shown=$(window_texts "はかり丸" | sed -n 's/^結果: \([^ ]*\).*/\1/p' | head -n 1)
  check "$1, in the window" "$2" "$shown"
  check "$1, on the clipboard" "$2" "$(xclip -o -selection clipboard 2>/dev/null)"
}

# --- First start, in an empty folder -----------------------------------------
first=$work/first
mkdir "$first"
start_program "$first"
geometry
check "first position" "0,0" "$X,$Y"
check_size "size without the rate panel" 404 513 "$WIDTH" "$HEIGHT"

# The input: 217 x 21 at (60, 164).
click_at 168 174
xdotool type --delay 60 "1,234.5"
sleep 0.3
click_unit 196 1  # メートル
click_unit 336 2  # センチメートル
check_result "1,234.5 m in cm by the mouse" "123450.00000"

xdotool key F3  # from インチ
sleep 0.3
xdotool key shift+F5  # to ヤード
check_result "1,234.5 in in yd by F3 and Shift+F5" "34.29154"
xdotool key F1  # from メートル again
check_result "1,234.5 m in yd by F1" "1350.06154"
# Unit 9 of the first category is empty: its key does nothing.
xdotool key F9
check_result "F9 on an empty unit changes nothing" "1350.06154"

# Help from the title panel's button (25 x 25 at (305, 4)) opens beside the
# window, which goes on converting while it is open.
check_help "the main window" "はかり丸は、値を入れて" click_title_button 305
click_unit 336 1  # to メートル
check_result "a conversion while help is open" "1234.50000"
click_in "$help_title" 400 200
close_help "the main window's help"

# The menu button (25 x 25 at (3, 4) in the title panel) shows its hint
# while the pointer rests on it, but none over the menu that a prompt click
# opens.
geometry
xdotool mousemove "$((X + 1 + $(scaled 23)))" "$((Y + 1 + $(scaled 20)))"
sleep 1.5
check "the menu button's hint under the pointer" "1" "$(window_texts --tips "はかり丸")"
xdotool mousemove "$((X + 1 + $(scaled 168)))" "$((Y + 1 + $(scaled 174)))"
sleep 0.5
click_title_button 3
sleep 1.5
check "no hint over the open menu" "0" "$(window_texts --tips "はかり丸")"
xdotool key Escape
sleep 0.3

# Page 3, the money page: 25 x 25 at (81, 4) in the title panel.
click_title_button 81
sleep 0.5
geometry
check_size "size with the rate panel" 554 513 "$WIDTH" "$HEIGHT"

# The integer part of row 1 (100 of the yen): its edit is 52 x 21 at (8, 66)
# in the rate panel at (404, 2). A spinner step starts from what is typed.
click_at $((404 + 8 + 26)) $((2 + 66 + 10))
xdotool key End shift+Home
xdotool type --delay 60 "150"
xdotool key Up
sleep 0.3

exit_program
# The money category shown saves its rates before the window's keys; the yen
# stepped up from the 150 typed, a new rate, which dates them today.
expected=$(printf '[BUNRUI25]\r\nDATA1=151.00\r\nDATA2=0.94\r\nDATA3=0.90\r\nDATA4=0.80\r\nDATA5=0.60\r\nDATA6=1.25\r\nDATA7=10.00\r\nDATA8=5.00\r\nDATA9=6.00\r\nDATE=%s\r\n[ZOVA]\r\nWinPosX=0\r\nWinPosY=0\r\nINDEX=25\r\nPAGE=3\r\n' "$(date +%F)" |
  bytes_of)
check "the settings of the first run" "$expected" "$(bytes_of <"$first/hakarimaru.KZN")"

# --- A start with the settings of an earlier run ------------------------------
again=$work/again
mkdir "$again"
printf '[ZOVA]\r\nWinPosX=100\r\nWinPosY=80\r\nINDEX=14\r\nPAGE=2\r\nAUTOCLIP=1\r\n' \
  >"$again/hakarimaru.KZN"
start_program "$again"
geometry
check "position from the settings" "100,80" "$X,$Y"
check_size "size without the rate panel" 404 513 "$WIDTH" "$HEIGHT"

# A press on the title panel's empty middle, a move of (100, 60), a release.
# The window's one-pixel border and the panel's offset (8, 4) come first.
start_x=$((X + 1 + $(scaled $((8 + 150)))))
start_y=$((Y + 1 + $(scaled $((4 + 16)))))
xdotool mousemove "$start_x" "$start_y"
sleep 0.3
xdotool mousedown 1
sleep 0.3
for step in 1 2 3 4 5; do
  xdotool mousemove "$((start_x + 20 * step))" "$((start_y + 12 * step))"
  sleep 0.1
done
sleep 0.3
xdotool mouseup 1
sleep 0.5
geometry
check "position after the drag" "200,140" "$X,$Y"

exit_program
expected=$(printf '[ZOVA]\r\nWinPosX=200\r\nWinPosY=140\r\nINDEX=14\r\nPAGE=2\r\nAUTOCLIP=1\r\n' |
  bytes_of)
check "the settings written at exit" "$expected" "$(bytes_of <"$again/hakarimaru.KZN")"

# --- A start with a position that no screen shows -----------------------------
# Saved on a larger or a second monitor: the window comes wholly onto the
# screen by the least move, and its exit button is in reach.
far=$work/far
mkdir "$far"
printf '[ZOVA]\r\nWinPosX=5000\r\nWinPosY=-400\r\n' >"$far/hakarimaru.KZN"
start_program "$far"
geometry
screen_width=$(xdpyinfo | awk '/dimensions:/ { split($2, size, "x"); print size[1] }')
check "a far-off position comes onto the screen" "$((screen_width - $(scaled 404))),0" "$X,$Y"
exit_program

report
