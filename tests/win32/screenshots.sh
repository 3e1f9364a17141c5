#!/usr/bin/env bash
# Pictures of what the program shows, taken from the screen under Wine: the
# client areas of the main window on each page, with a unit button in its
# states and with a result too long for its place at the window's font and
# at the largest one offered, of the history window and of the
# customisation dialog, and of the program's icon at every size it holds,
# as the system draws it over a light and a dark background. "take"
# stores them as PNGs in a folder; "check" takes them again and compares each
# with the stored one to the last pixel. The blinking caret is painted out.
#
# Usage: screenshots.sh PATH_TO_HAKARIMARU_EXE take|check FOLDER [NAME...]
# Without names, every picture; with names, only those (say, "customise" to
# retake the dialog alone). A failed check leaves the picture it saw beside
# the reference's name in the current folder, as seen-NAME.png.
# HK_WINDOW_TEXTS names the helper that reads the program's windows,
# HK_ICON_SHEET the one that shows the icon.
set -u
exe=$1
mode=$2
folder=$3
shift 3
texts_helper=${HK_WINDOW_TEXTS:-}
icon_sheet=${HK_ICON_SHEET:-}
# shellcheck source=e2e_lib.sh
source "$(cd "$(dirname "$0")" && pwd)/e2e_lib.sh"

all_names="page1 page2 page3 unit_hover unit_pressed unit_selected released_outside history customise
  long_result long_result_12pt icons"
names=${*:-$all_names}
case "$mode" in
  take | check) ;;
  *)
    echo "usage: screenshots.sh EXE take|check FOLDER [NAME...]"
    exit 2
    ;;
esac

main="はかり丸"

# The pointer where no window is, so that no button shows its hover frame.
pointer_away() {
  xdotool mousemove 1270 1010
  sleep 0.5
}

# The client area of the window with the title, as a PNG without the
# caret. Settles first: two grabs in a row must agree.
grab() {  # title, file
  local x y w h area previous=
  area=$(window_texts --client "$1") || return 1
  read -r x y w h <<<"$area"
  for _ in $(seq 1 20); do
    import -window root -crop "${w}x${h}+${x}+${y}" +repage -strip "png:$2" 2>/dev/null
    local caret
    caret=$(window_texts --caret "$1")
    if [ -n "$caret" ]; then
      local cx cy cw ch
      read -r cx cy cw ch <<<"$caret"
      cx=$((cx - x))
      cy=$((cy - y))
      mogrify -fill black -draw "rectangle $cx,$cy,$((cx + cw - 1)),$((cy + ch - 1))" -strip "$2"
    fi
    local now
    now=$(convert "$2" rgb:- | md5sum)
    [ "$now" = "$previous" ] && return 0
    previous=$now
    sleep 0.2
  done
}

# Each picture starts the program afresh in an empty folder: the main window
# at (0, 0) on page 1 with the first category.
fresh_program() {
  local run=$work/run$RANDOM
  mkdir "$run"
  start_program "$run"
  pointer_away
}

unit1_x=$((8 + 12 + 60))
unit1_y=$((196 + 12 + 12))

# 1e30 metres in centimetres: a result of 38 characters, wider than the
# display at the window's font.
convert_long_result() {
  click_at 168 174
  xdotool type --delay 60 "1e30"
  sleep 0.3
  click_unit 196 1
  click_unit 336 2
}

# The menu's font command, and a size typed into the font dialog.
choose_font_size() {  # points
  click_title_button 3
  sleep 0.3
  xdotool key f
  wait_for_window "フォントの指定" || return 1
  # From the face name to the size, whose text a Tab selects.
  xdotool key Tab Tab
  sleep 0.2
  xdotool type --delay 60 "$1"
  sleep 0.2
  xdotool key Return
  wait_for_no_window "フォントの指定"
}

# The icon sheet: the icon at every size, beside the small and large
# pictures that the program's window class gets.
shoot_icons() {  # file
  local title="hakarimaru icon sheet" sheet grabbed=1
  if [ -z "$icon_sheet" ]; then
    echo "HK_ICON_SHEET must name the icon-sheet helper"
    return 1
  fi
  wine "$icon_sheet" >/dev/null &
  sheet=$!
  if wait_for_window "$title"; then
    pointer_away
    grab "$title" "$1"
    grabbed=$?
  fi
  kill "$sheet" 2>/dev/null
  wait "$sheet" 2>/dev/null
  return $grabbed
}

shoot() {  # name, file
  if [ "$1" = icons ]; then
    shoot_icons "$2"
    return
  fi
  fresh_program
  case "$1" in
    page1) ;;
    page2) click_title_button 55 ;;
    page3) click_title_button 81 ;;
    unit_hover)
      geometry
      xdotool mousemove "$((X + 1 + unit1_x))" "$((Y + 1 + unit1_y))"
      ;;
    unit_pressed)
      geometry
      xdotool mousemove "$((X + 1 + unit1_x))" "$((Y + 1 + unit1_y))"
      sleep 0.3
      xdotool mousedown 1
      ;;
    unit_selected)
      click_unit 196 1
      ;;
    released_outside)
      # A press on a unit button let go outside it does nothing: page 1 as
      # it was.
      geometry
      xdotool mousemove "$((X + 1 + unit1_x))" "$((Y + 1 + unit1_y))"
      sleep 0.3
      xdotool mousedown 1
      sleep 0.3
      xdotool mousemove "$((X + 1 + unit1_x))" "$((Y + 1 + unit1_y + 60))"
      sleep 0.3
      xdotool mouseup 1
      ;;
    long_result)
      convert_long_result
      ;;
    long_result_12pt)
      choose_font_size 12 || return 1
      convert_long_result
      ;;
    history)
      click_title_button 279
      wait_for_window "変換履歴" || return 1
      ;;
    customise)
      click_title_button 3
      sleep 0.3
      xdotool key c
      wait_for_window "変換データカストマイズ" || return 1
      ;;
  esac
  case "$1" in
    unit_hover | unit_pressed) ;;
    *) pointer_away ;;
  esac
  sleep 0.5
  local title=$main
  [ "$1" = history ] && title="変換履歴"
  [ "$1" = customise ] && title="変換データカストマイズ"
  grab "$title" "$2"
  local grabbed=$?
  [ "$1" = unit_pressed ] && {
    # Let go away from the button, so that nothing is converted.
    xdotool mousemove 1270 1010
    sleep 0.2
    xdotool mouseup 1
  }
  if [ "$1" = customise ]; then
    # Its exit button: 93 x 25 at (232, 376).
    click_in "変換データカストマイズ" $((232 + 46)) $((376 + 12))
    wait_for_no_window "変換データカストマイズ"
  fi
  exit_program >/dev/null
  return $grabbed
}

mkdir -p "$folder"
for name in $names; do
  reference=$folder/$name.png
  # A press released outside looks like page 1 and has no picture of its own.
  [ "$name" = released_outside ] && reference=$folder/page1.png
  if [ "$mode" = take ]; then
    [ "$name" = released_outside ] && continue
    if shoot "$name" "$reference"; then
      echo "took $name"
    else
      echo "FAILED: $name could not be taken"
      failures=$((failures + 1))
    fi
    continue
  fi
  seen=$work/$name.png
  if ! shoot "$name" "$seen"; then
    echo "FAILED: $name could not be taken"
    failures=$((failures + 1))
    continue
  fi
  differing=$(compare -metric AE "$reference" "$seen" null: 2>&1)
  if [ "$differing" = 0 ]; then
    echo "ok: $name"
  else
    echo "FAILED: $name differs from its reference in $differing pixels"
    cp "$seen" "seen-$name.png"
    failures=$((failures + 1))
  fi
done
report
