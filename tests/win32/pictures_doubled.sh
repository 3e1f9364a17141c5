#!/usr/bin/env bash
# At 200 % every picture is drawn from its twice-as-large version, never
# stretched: the main window is shot at 96 and at 192 DPI, and each picture's
# pixels at 192 must be its pixels at 96, every one a 2 x 2 block. A picture
# lies where the layout puts it, centred in its place at either scale.
#
# Usage: pictures_doubled.sh PATH_TO_HAKARIMARU_EXE
# HK_WINDOW_TEXTS names the helper that reads the program's windows.
set -u
exe=$1
here=$(cd "$(dirname "$0")" && pwd)

if [ "${2:-}" = "--shoot" ]; then
  # The main window as it opens in an empty folder, the pointer away, at
  # the DPI of HK_DPI, into the file $3.
  texts_helper=${HK_WINDOW_TEXTS:-}
  # shellcheck source=e2e_lib.sh
  source "$here/e2e_lib.sh"
  mkdir "$work/run"
  start_program "$work/run"
  xdotool mousemove 1270 1010
  sleep 1
  geometry
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage -strip "png:$3" 2>/dev/null
  exit_program
  report
  exit
fi

shots=$(mktemp -d)
trap 'rm -rf "$shots"' EXIT
for dpi in 96 192; do
  if ! HK_DPI=$dpi bash "$0" "$exe" --shoot "$shots/$dpi.png" >"$shots/$dpi.log" 2>&1; then
    echo "FAILED: the window at $dpi DPI could not be shot"
    cat "$shots/$dpi.log"
    exit 1
  fi
done

failures=0
# name, place in the window's layout (left top width height), picture size
pictures=(
  "arrow 188 316 16 16 16 16"
  "menu-button 11 8 25 25 16 16"
  "history-button 287 8 25 25 16 16"
  "exit-button 365 8 25 25 16 16"
  "F1-hint 64 200 28 6 28 6"
  "Shift-F1-hint 64 340 28 6 28 6"
)
for entry in "${pictures[@]}"; do
  read -r name left top width height picture_width picture_height <<<"$entry"
  # Inside the window's one-pixel border.
  x=$((1 + left + (width - picture_width) / 2))
  y=$((1 + top + (height - picture_height) / 2))
  x2=$((1 + 2 * left + (2 * width - 2 * picture_width) / 2))
  y2=$((1 + 2 * top + (2 * height - 2 * picture_height) / 2))
  doubled=$(convert "$shots/96.png" -crop "${picture_width}x${picture_height}+$x+$y" +repage \
    -scale 200% rgb:- | md5sum)
  seen=$(convert "$shots/192.png" -crop "$((2 * picture_width))x$((2 * picture_height))+$x2+$y2" \
    +repage rgb:- | md5sum)
  # A picture that is not drawn would leave one colour at both scales.
  colours=$(convert "$shots/96.png" -crop "${picture_width}x${picture_height}+$x+$y" +repage \
    -format %k info:)
  if [ "$colours" -lt 2 ]; then
    echo "FAILED: $name shows no picture at 96 DPI"
    failures=$((failures + 1))
  elif [ "$doubled" = "$seen" ]; then
    echo "ok: $name"
  else
    echo "FAILED: $name at 192 DPI is not its 96-DPI picture doubled"
    failures=$((failures + 1))
  fi
done
if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "all checks passed"
