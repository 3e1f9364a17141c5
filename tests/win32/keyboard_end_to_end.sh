#!/usr/bin/env bash
# The program driven by the keyboard: a conversion by F-keys, page 3 by
# Ctrl+3 and a rate typed after a Tab, page 1 again by Ctrl+1, the powers
# list opened with the mouse leaving the keys with the input, the history
# window by Ctrl+H with a row marked "+" and its three copies, Alt+W and
# Alt+L there picking the main window's categories and keeping the rows, the
# F-keys there, Esc closing it and one Ctrl+H opening it again, Alt+F6 to
# the main window and back with the first keys after it reaching the focused
# control, the customisation dialog from the menu (F10) with a unit renamed
# and Alt+O, the About box opened and closed, Alt+F6 from the help window
# and back, Alt held over a click opening no menu, a category without a
# letter reached by the arrows, and Alt+F4. The clipboard and the settings
# file hold what the same steps by mouse give.
#
# Usage: keyboard_end_to_end.sh PATH_TO_HAKARIMARU_EXE
# HK_WINDOW_TEXTS names the helper that reads the program's windows.
set -u
exe=$1
texts_helper=${HK_WINDOW_TEXTS:-}
# shellcheck source=e2e_lib.sh
source "$(cd "$(dirname "$0")" && pwd)/e2e_lib.sh"

press() {  # keys, as xdotool names them
  xdotool key --delay 120 "$@"
  sleep 0.5
}

# The export text, as the history run builds it.
metre=" ﾒｰﾄﾙ   "
centimetre="ｾﾝﾁﾒｰﾄﾙ "
record_line() {  # mark, input text, result digits
  printf '  %s %15s%s %s%15s %s\r' "$1" "" "$2" "$metre" "$3" "$centimetre"
}
total_line() {  # the two totals' digits
  printf '合計    %15s %s %15s %s' "$1" "$metre" "$2" "$centimetre"
}

# The copy menu by the toolbar's Alt+C, then its item n.
copy_mode() {  # n (1..3)
  press alt+c Home
  for _ in $(seq 2 "$1"); do
    press Down
  done
  press Return
}

settings_text() {  # folder
  iconv -f CP932 -t UTF-8 <"$1/hakarimaru.KZN" 2>/dev/null
}

folder=$work/keys
mkdir "$folder"
# The second category's name has lost its letter, as a name of 18 bytes
# cut to the box's 12 does.
printf '[BUNRUI2]\r\nNAME=ABCDEFGHIJKL\r\n' >"$folder/hakarimaru.KZN"
start_program "$folder"

# The input has the focus from the start: 2 m in cm.
xdotool type --delay 80 "2"
press F1 shift+F2
check "2 m in cm by the keys" "200.00000" "$(clipboard_when 200.00000)"

# Page 3; Tab reaches the yen's integer part with its text selected.
press ctrl+3
press Tab
xdotool type --delay 80 "150"
press ctrl+1
press F1 shift+F2
check "page 1 again converts" "200.00000" "$(clipboard_when 200.00000)"

# The history window, its focus on the newest row: that row marked "+".
press ctrl+h
history="変換履歴"
if ! wait_for_window "$history"; then
  echo "FAILED: Ctrl+H opened no history window"
  exit 1
fi
sleep 0.5
press plus
first=$(record_line "  " 2 200.00000)
marked=$(record_line "＋" 2 200.00000)
total=$(total_line 2.00000 200.00000)
copy_mode 1
check "every row by the keys" "$(text_bytes "$first$marked$total")" \
  "$(clipboard_when "$first$marked$total" | bytes_of)"
copy_mode 2
check "the marked row by the keys" "$(text_bytes "$marked$total")" \
  "$(clipboard_when "$marked$total" | bytes_of)"
copy_mode 3
check "the totals by the keys" "$(text_bytes "$total")" "$(clipboard_when "$total" | bytes_of)"
# The categories' Alt+letters there pick the main window's categories, not
# the toolbar's buttons, and leave the rows: Alt+W the areas, Alt+L the
# lengths again, whose units F1 and Shift+F2 pick there too.
main_title="はかり丸"
from_unit_shown() {  # unit name as a reader hears it
  window_texts "$main_title" | grep -c "^変換元 $1\$"
}
press alt+w
check "Alt+W in the history window picks the areas" "1" "$(from_unit_shown ｱｰﾙ)"
press alt+l
check "Alt+L in the history window picks the lengths" "1" "$(from_unit_shown ｾﾝﾁﾒｰﾄﾙ)"
copy_mode 1
check "the categories' keys keep the rows" "$(text_bytes "$first$marked$total")" \
  "$(clipboard_when "$first$marked$total" | bytes_of)"
press F1 shift+F2
check "the F-keys in the history window convert" "200.00000" "$(clipboard_when 200.00000)"
# Esc, as the close button does, closes the window; one Ctrl+H opens it again.
press Escape
closed=no
wait_for_no_window "$history" && closed=yes
check "Esc closes the history window" "yes" "$closed"
press ctrl+h
opened=no
wait_for_window "$history" && opened=yes
check "one Ctrl+H opens it again" "yes" "$opened"
sleep 0.5

# Alt+F6 goes to the main window and back, the keys where they were.
focused_name() {
  xdotool getwindowfocus getwindowname 2>/dev/null
}
press alt+F6
check "Alt+F6 to the main window" "$main_title" "$(focused_name)"
# The Alt let go after the switch starts no menu mode: the next keys reach
# the input, after its 2.
xdotool type --delay 80 "5"
press Return
check "the keys after Alt+F6 convert" "2500.00000" "$(clipboard_when 2500.00000)"
press alt+F6
check "Alt+F6 back to the history" "$history" "$(focused_name)"
# Ctrl+H there closes it, as it does in the main window.
press ctrl+h
closed=no
wait_for_no_window "$history" && closed=yes
check "Ctrl+H in the history window closes it" "yes" "$closed"

# The powers list opened with the mouse (the menu's first item, beside the
# menu button at (28, 29)) leaves the keys with the input: 7 and Enter
# convert 57.
press BackSpace BackSpace
xdotool type --delay 80 "5"
press Return
check "5 m in cm" "500.00000" "$(clipboard_when 500.00000)"
click_title_button 3
click_at 60 38
xdotool type --delay 80 "7"
press Return
check "the input keeps the keys beside the powers list" "5700.00000" \
  "$(clipboard_when 5700.00000)"

# The customisation dialog from the menu: its name box first, then the
# icon list and the picture's button, then the first unit's name.
press F10
press c
dialog="変換データカストマイズ"
if ! wait_for_window "$dialog"; then
  echo "FAILED: the menu opened no customisation dialog"
  exit 1
fi
sleep 0.5
press Tab Tab Tab End shift+Home
xdotool type --delay 80 "m"
press alt+o
closed=no
wait_for_no_window "$dialog" && closed=yes
check "Alt+O presses OK" "yes" "$closed"

press F10
press a
about="はかり丸について"
opened=no
wait_for_window "$about" && opened=yes
check "the menu opens the About box" "yes" "$opened"
press Escape
closed=no
wait_for_no_window "$about" && closed=yes
check "Esc closes the About box" "yes" "$closed"

# The help window from the menu; Alt+F6 goes to the main window and back.
# The dialog's OK left no units picked: the F-keys pick them again.
press F1 shift+F2
press F10
press h
opened=no
wait_for_window "$help_title" && opened=yes
check "the menu opens the help" "yes" "$opened"
press alt+F6
check "Alt+F6 from the help to the main window" "$main_title" "$(focused_name)"
xdotool type --delay 80 "5"
press Return
check "the keys after Alt+F6 from the help convert" "57500.00000" \
  "$(clipboard_when 57500.00000)"
press alt+F6
check "Alt+F6 back to the help" "$help_title" "$(focused_name)"
# Its Esc, the first key there, closes it.
close_help "the help beside the main window"

# Alt held over a click opens no menu, which would cover the category
# buttons beside the first one; Alt alone still opens it.
menu_area_hash() {
  geometry
  screen_hash "$((X + 1 + $(scaled 80)))" "$((Y + 1 + $(scaled 50)))" "$(scaled 110)" "$(scaled 50)"
}
click_at 40 75
before=$(menu_area_hash)
xdotool keydown alt
sleep 0.3
click_at 40 75
xdotool keyup alt
sleep 0.8
check "Alt held over a click opens no menu" "$before" "$(menu_area_hash)"
press alt
opened=no
[ "$(menu_area_hash)" != "$before" ] && opened=yes
check "Alt alone opens the menu" "yes" "$opened"
press Escape

# The category without a letter: Shift+Tab to the category buttons, the
# arrow to the second and Space; Tab back to the input, then 1 m in shaku.
press shift+Tab Right space Tab
press BackSpace BackSpace BackSpace
xdotool type --delay 80 "1"
press F1 shift+F6
check "the category without a letter by the keys" "3.30033" "$(clipboard_when 3.30033)"
press alt+l

exit_by_alt_f4

rates=$(printf '[BUNRUI25]\r\nDATA1=150.00\r\nDATA2=0.94\r\nDATA3=0.90\r\nDATA4=0.80\r\nDATA5=0.60\r\nDATA6=1.25\r\nDATA7=10.00\r\nDATA8=5.00\r\nDATA9=6.00\r\n' |
  bytes_of)
check "the rate typed on page 3 is saved" "$rates" \
  "$(settings_text "$folder" | sed -n '/^\[BUNRUI25\]/,+9p' | bytes_of)"
check "the renamed unit is saved" "1" "$(settings_text "$folder" | grep -c $'^Button1=m\r$')"
check "the window's keys at exit" "1" \
  "$(settings_text "$folder" | grep -c $'^INDEX=1\r$')"
report
