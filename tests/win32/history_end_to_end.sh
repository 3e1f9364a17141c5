#!/usr/bin/env bash
# The history window as a user meets it, in the real program under Wine
# with the real mouse and keyboard: three conversions, the window opened from
# the title panel's history button, a column widened by dragging its header
# line, a row marked with a click in the grid, each of the three copies read
# back from the X clipboard while the program runs, and the window closed
# with its own toolbar button, which raises the history button again; then
# the same window used by keys alone.
#
# Usage: history_end_to_end.sh PATH_TO_HAKARIMARU_EXE
# HK_WINDOW_TEXTS names the helper that reads the program's windows.
set -u
exe=$1
texts_helper=${HK_WINDOW_TEXTS:-}
# shellcheck source=e2e_lib.sh
source "$(cd "$(dirname "$0")" && pwd)/e2e_lib.sh"

title="変換履歴"
history_button=279  # in the title panel

# The main window stays at (0, 0) with no settings file: the history button
# is 25 x 25 at (8 + 279, 4 + 4) in the layout, inside the window's
# one-pixel border.
history_button_look() {
  # Away from the button, so that it shows no hover frame.
  xdotool mousemove 1000 900
  sleep 0.5
  local left top
  left=$(scaled $((8 + history_button)))
  top=$(scaled $((4 + 4)))
  screen_hash "$((1 + left))" "$((1 + top))" "$(($(scaled $((8 + history_button + 25))) - left))" \
    "$(($(scaled $((4 + 4 + 25))) - top))"
}

# The export text. Unit names are held blank-padded to 8 bytes; results keep
# the 15-character width they are shown in.
metre=" ﾒｰﾄﾙ   "
centimetre="ｾﾝﾁﾒｰﾄﾙ "
record_line() {  # mark ("  ", "＋" or "－"), input text, result digits
  printf '  %s %15s%s %s%15s %s\r' "$1" "" "$2" "$metre" "$3" "$centimetre"
}
total_line() {  # the two totals' digits
  printf '合計    %15s %s %15s %s' "$1" "$metre" "$2" "$centimetre"
}

# The copy menu: ClipButton at (4, 4) in the toolbar, then its item n by
# the keyboard. The menu opens over the button and selects the item under
# the pointer: the pointer leaves, and Home selects the first item.
copy_with_item() {  # n (1..3)
  click_in "$title" $((4 + 12)) $((4 + 12)) || return
  xdotool mousemove_relative 0 250
  sleep 0.3
  xdotool key Home
  for _ in $(seq 2 "$1"); do
    xdotool key Down
  done
  sleep 0.1
  xdotool key Return
}

# A drag with the left button in the layout of the window with the title.
drag_in() {  # title, x, y, distance to the right
  client_area "$1" || return
  local x y
  x=$((CX + $(scaled "$2")))
  y=$((CY + $(scaled "$3")))
  xdotool mousemove "$x" "$y"
  sleep 0.2
  xdotool mousedown 1
  sleep 0.2
  xdotool mousemove "$((x + $(scaled $(($4 / 2)))))" "$y"
  sleep 0.1
  xdotool mousemove "$((x + $(scaled "$4")))" "$y"
  sleep 0.2
  xdotool mouseup 1
  sleep 0.4
}

mkdir "$work/history"
start_program "$work/history"
raised=$(history_button_look)

# Three conversions from metres to centimetres: the units chosen with the
# mouse, then two more values entered with Enter. The input: 217 x 21 at
# (60, 164).
click_at 168 174
xdotool type --delay 60 "1"
sleep 0.3
click_unit 196 1  # メートル
click_unit 336 2  # センチメートル
for value in 2.5 0.125; do
  xdotool key End shift+Home
  xdotool type --delay 60 "$value"
  xdotool key Return
  sleep 0.3
done
check "the third result on the clipboard" "12.50000" "$(clipboard_when "12.50000")"

click_title_button "$history_button"
if ! wait_for_window "$title"; then
  echo "FAILED: the history window did not appear"
  exit 1
fi
sleep 0.5
history_window=$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -n 1)
check "the history window is shown" "yes" "$([ -n "$history_window" ] && echo yes || echo no)"
if [ -n "$history_window" ]; then
  eval "$(xdotool getwindowgeometry --shell "$history_window")"
  check "the history window's place" "371,117" "$X,$Y"
  check_size "the history window's size" 403 367 "$WIDTH" "$HEIGHT"
fi

# Every record on the clipboard: the grid's three rows, unmarked, and the
# totals as last computed, which no mark has asked for yet.
lines="$(record_line "  " 1 100.00000)$(record_line "  " 2.5 250.00000)"
lines+="$(record_line "  " 0.125 12.50000)"
expected="$lines$(total_line 0.00000 0.00000)"
copy_with_item 1
check "all three rows copied before any mark" "$(text_bytes "$expected")" \
  "$(clipboard_when "$expected" | bytes_of)"

# The grid lies below the 33-pixel toolbar in a 2-pixel sunken edge; column 0
# is 26 wide and the header row 18 high, each with a one-pixel line after it.
# The line after the "No" title, dragged 30 pixels to the right, widens
# column 0 and moves the mark column along.
drag_in "$title" $((2 + 26)) $((33 + 2 + 9)) 30

# Row 1, column 1 where the drag put it: a click there marks the row only if
# the column moved (before the drag, the same point lay in column 2).
click_in "$title" $((2 + 26 + 30 + 1 + 13)) $((33 + 2 + 18 + 1 + 9))

marked=$(record_line "＋" 1 100.00000)
lines="$marked$(record_line "  " 2.5 250.00000)$(record_line "  " 0.125 12.50000)"
total=$(total_line 1.00000 100.00000)
copy_with_item 1
check "every row, the marked one with its ＋" "$(text_bytes "$lines$total")" \
  "$(clipboard_when "$lines$total" | bytes_of)"
copy_with_item 2
check "the marked row and the totals" "$(text_bytes "$marked$total")" \
  "$(clipboard_when "$marked$total" | bytes_of)"
copy_with_item 3
check "the totals alone" "$(text_bytes "$total")" "$(clipboard_when "$total" | bytes_of)"

down=$(history_button_look)
check "the history button is down while the window is open" "yes" \
  "$([ "$down" != "$raised" ] && echo yes || echo no)"

# The help button: 25 x 25 at (60, 4) in the toolbar.
check_help "the history window" "変換履歴のウィンドウは" click_in "$title" $((60 + 12)) $((4 + 12))
close_help "the history window's help"

# The window's own close button: SpeedButton4 at (88, 4) in the toolbar.
click_in "$title" $((88 + 12)) $((4 + 12))
gone=no
wait_for_no_window "$title" && gone=yes
check "the toolbar's close button releases the window" "yes" "$gone"
check "the history button is raised again" "$raised" "$(history_button_look)"

# Keys alone in a new window: it opens on the newest row, "-" marks it,
# Alt+C opens the copy menu, whose second item copies the marked rows, and
# Esc does what the toolbar's close button does: the window goes and the
# history button comes up.
click_title_button "$history_button"
wait_for_window "$title" && sleep 0.5
xdotool key minus sleep 0.2 key alt+c sleep 0.4 key Home Down Return
marked="$(record_line "＋" 1 100.00000)$(record_line "－" 0.125 12.50000)"
marked+=$(total_line 0.87500 87.50000)
check "the rows marked by key, copied by key" "$(text_bytes "$marked")" \
  "$(clipboard_when "$marked" | bytes_of)"
xdotool key Escape
gone=no
wait_for_no_window "$title" && gone=yes
check "Esc releases the window" "yes" "$gone"
check "Esc raises the history button" "$raised" "$(history_button_look)"

exit_program
report
