# shellcheck shell=bash
# Sourced by the end-to-end scripts that drive the program under Wine with
# the real mouse and keyboard: starting it from a folder of its own, clicking
# at points of a window's client area, reading what a window shows, checks
# that count failures, and leaving.
#
# The sourcing script sets exe (the hakarimaru.exe to copy) and, from
# HK_WINDOW_TEXTS, texts_helper (the program that reads window texts) first.
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=../../scripts/wine-env.sh
source "$here/../../scripts/wine-env.sh"
hk_wine_prepare || exit 1

: "${exe:?names the program to copy}"
if [ -z "${texts_helper:-}" ]; then
  echo "FAILED: HK_WINDOW_TEXTS must name the window-texts helper"
  exit 1
fi

# The DPI that the program lays its windows out at, asked once the first
# program runs (a Wine process of its own before it would disturb the
# keyboard that the program starts with). Its layout is in units of a
# 96-DPI screen: scaled gives a coordinate's pixel as the program rounds
# it, the nearest one with a half rounded up.
dpi=
read_dpi() {
  [ -n "$dpi" ] && return 0
  dpi=$(window_texts --dpi)
  case "$dpi" in
    [1-9][0-9] | [1-9][0-9][0-9]) ;;
    *)
      echo "FAILED: no DPI from the window-texts helper: [$dpi]"
      exit 1
      ;;
  esac
}
scaled() {  # units
  local twice=$((2 * $1 * dpi + 96))
  local pixels=$((twice / 192))
  if [ $((twice % 192)) -ne 0 ] && [ "$twice" -lt 0 ]; then pixels=$((pixels - 1)); fi
  echo "$pixels"
}

work=$(mktemp -d)
program_pid=
finish() {
  if [ -n "$program_pid" ] && kill -0 "$program_pid" 2>/dev/null; then
    kill "$program_pid" 2>/dev/null
  fi
  rm -rf "$work"
  # A display of the run's own goes once Wine is done with it.
  if [ -n "${HK_XVFB_PID:-}" ]; then
    wineserver -w
    hk_stop_display
  fi
}
trap finish EXIT

failures=0
check() {  # what, expected, actual
  if [ "$2" = "$3" ]; then
    echo "ok: $1"
  else
    echo "FAILED: $1: expected [$2], got [$3]"
    failures=$((failures + 1))
  fi
}

report() {
  if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
  fi
  echo "all checks passed"
}

# A window's outer size against its size at 96 DPI, scaled: a pixel either
# way is allowed for the frame, which the system rounds on its own.
check_size() {  # what, width and height at 96 DPI, width, height
  local want_width want_height
  want_width=$(scaled "$2")
  want_height=$(scaled "$3")
  if [ $(($4 - want_width)) -ge -1 ] && [ $(($4 - want_width)) -le 1 ] &&
    [ $(($5 - want_height)) -ge -1 ] && [ $(($5 - want_height)) -le 1 ]; then
    check "$1" "ok" "ok"
  else
    check "$1" "${want_width}x${want_height} (+-1)" "$4x$5"
  fi
}

bytes_of() {
  od -An -c | tr -s ' \n' ' '
}

text_bytes() {  # text
  printf '%s' "$1" | bytes_of
}

# The helper's lines without the CR that Wine's console output adds; its
# exit status too.
window_texts() {  # helper arguments...
  (
    set -o pipefail
    wine "$texts_helper" "$@" | tr -d '\r'
  )
}

# The window's client area's top-left corner on the screen: CX and CY;
# false while no window has the title (a hidden one counts).
client_area() {  # title
  local area
  area=$(window_texts --client "$1") || return 1
  read -r CX CY _ <<<"$area"
}

wait_for_window() {  # title; false after some 6 seconds without it
  for _ in $(seq 1 30); do
    client_area "$1" && return 0
    sleep 0.2
  done
  return 1
}

wait_for_no_window() {  # title; false when it is still there after some 4 seconds
  for _ in $(seq 1 20); do
    client_area "$1" || return 0
    sleep 0.2
  done
  return 1
}

window=
start_program() {  # folder
  # A folder that takes no file already holds the program.
  cmp -s "$exe" "$1/hakarimaru.exe" || cp "$exe" "$1/hakarimaru.exe"
  (cd "$1" && exec wine hakarimaru.exe) &
  program_pid=$!
  window=
  for _ in $(seq 1 150); do
    window=$(xdotool search --name "^はかり丸$" 2>/dev/null | head -n 1)
    [ -n "$window" ] && break
    sleep 0.2
  done
  if [ -z "$window" ]; then
    echo "FAILED: the main window did not appear"
    exit 1
  fi
  sleep 1
  read_dpi
}

# A start that the program opens with a message box, as it does when it
# has something to say about its settings: its text goes into notice,
# Return closes it, and the main window follows.
notice=
start_with_notice() {  # folder
  cmp -s "$exe" "$1/hakarimaru.exe" || cp "$exe" "$1/hakarimaru.exe"
  (cd "$1" && exec wine hakarimaru.exe) &
  program_pid=$!
  local box=
  for _ in $(seq 1 150); do
    box=$(xdotool search --name "^はかり丸$" 2>/dev/null | head -n 1)
    [ -n "$box" ] && break
    sleep 0.2
  done
  if [ -z "$box" ]; then
    echo "FAILED: no message box appeared"
    exit 1
  fi
  sleep 1
  notice=$(window_texts "はかり丸")
  xdotool key Return
  window=
  for _ in $(seq 1 50); do
    window=$(xdotool search --name "^はかり丸$" 2>/dev/null | grep -vx "$box" | head -n 1)
    [ -n "$window" ] && break
    sleep 0.2
  done
  if [ -z "$window" ]; then
    echo "FAILED: the main window did not follow the message box"
    exit 1
  fi
  sleep 1
  read_dpi
}

# Only the main window has the program's title: a message box would too.
no_message_box() {  # after what
  sleep 0.5
  check "no message box after $1" "1" \
    "$(xdotool search --onlyvisible --name '^はかり丸$' 2>/dev/null | wc -l)"
}

geometry() {
  eval "$(xdotool getwindowgeometry --shell "$window")"
}

# A click at a point of the main window's layout, inside its one-pixel
# border (the system's, which stays one pixel at any DPI).
click_at() {  # x, y
  geometry
  xdotool mousemove "$((X + 1 + $(scaled "$1")))" "$((Y + 1 + $(scaled "$2")))"
  sleep 0.2
  xdotool click 1
  sleep 0.4
}

# A click at a point of the layout of the window with the title.
click_in() {  # title, x, y
  if ! client_area "$1"; then
    echo "FAILED: no window \"$1\" to click in"
    failures=$((failures + 1))
    return 1
  fi
  xdotool mousemove "$((CX + $(scaled "$2")))" "$((CY + $(scaled "$3")))"
  sleep 0.2
  xdotool click 1
  sleep 0.4
}

# Unit button n (1..9) of the "from" panel at (8, 196) or the "to" panel at
# (8, 336): 120 x 25, three to a row, rows 36 pixels apart from (12, 12).
click_unit() {  # panel top, n
  local column=$((($2 - 1) % 3)) row=$((($2 - 1) / 3))
  click_at "$((8 + 12 + 120 * column + 60))" "$(($1 + 12 + 36 * row + 12))"
}

# A title-panel button: 25 x 25 at (left, 4) in the panel at (8, 4).
click_title_button() {  # left inside the panel
  click_at "$((8 + $1 + 12))" "$((4 + 4 + 12))"
}

# What the screen shows in a rectangle of screen pixels, as one hash: two
# states of a control compare equal only when they look alike to the last
# pixel.
# The customisation dialog, from the menu button (25 x 25 at (3, 4) in the
# title panel) and the menu's letter; the run ends when it does not come.
open_customise_dialog() {
  click_title_button 3
  sleep 0.3
  xdotool key c
  if ! wait_for_window "変換データカストマイズ"; then
    echo "FAILED: the customisation dialog did not appear"
    exit 1
  fi
}

screen_hash() {  # x, y, width, height
  import -window root -crop "$3x$4+$1+$2" rgb:- 2>/dev/null | md5sum | cut -d' ' -f1
}

# The X clipboard once it holds the expected text, or what it holds after
# some 3 seconds. Wine hands its clipboard to X only while a Wine process
# runs, in UTF-8.
clipboard_when() {  # expected
  local text=
  for _ in $(seq 1 15); do
    text=$(xclip -o -selection clipboard 2>/dev/null)
    [ "$text" = "$1" ] && break
    sleep 0.2
  done
  printf '%s' "$text"
}

# Help asked for with a click (a command and its arguments, which wait 0.2 s
# before the click): within a second the help window has the focus, already
# at the topic whose phrase it shows, and no help viewer program runs. The
# help window's own keys are tried last: Escape closes it.
help_title="はかり丸 ヘルプ"
check_help() {  # what, phrase, click command...
  local what=$1 phrase=$2 start focused= shown=no
  shift 2
  start=$(date +%s%N)
  "$@"
  while [ $((($(date +%s%N) - start) / 1000000)) -le 1200 ]; do
    focused=$(xdotool getwindowfocus getwindowname 2>/dev/null)
    [ "$focused" = "$help_title" ] && break
    sleep 0.05
  done
  check "$what: help in front within a second" "$help_title" "$focused"
  window_texts "$help_title" | grep -qF "$phrase" && shown=yes
  check "$what: help at its topic" "yes" "$shown"
  check "$what: no help viewer runs" "" "$(pgrep -fi 'winhlp32|winhelp')"
}

close_help() {  # what
  local gone=no
  xdotool key Escape
  wait_for_no_window "$help_title" && gone=yes
  check "$1: Escape closes help" "yes" "$gone"
}

# The program's end by Alt+F4, as the system closes a window.
exit_by_alt_f4() {
  xdotool key alt+F4
  for _ in $(seq 1 50); do
    kill -0 "$program_pid" 2>/dev/null || break
    sleep 0.2
  done
  check "Alt+F4 ends the program" "ended" "$(kill -0 "$program_pid" 2>/dev/null || echo ended)"
  wait "$program_pid" 2>/dev/null
  program_pid=
}

# The exit button: 25 x 25 at (357, 4) in the title panel.
exit_program() {
  click_title_button 357
  local ended=no
  for _ in $(seq 1 50); do
    if ! kill -0 "$program_pid" 2>/dev/null; then
      ended=yes
      break
    fi
    sleep 0.2
  done
  check "the exit button ends the program" "yes" "$ended"
  wait "$program_pid" 2>/dev/null
  program_pid=
}
