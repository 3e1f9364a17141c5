#!/usr/bin/env bash
# The program as a user meets it: a copy of hakarimaru.exe in a folder of its
# own, started under Wine with the settings of an earlier run; the window must
# come up where they say and at its size, follow a drag on its title panel,
# and on its exit button end and write where it was left.
#
# Usage: end_to_end.sh PATH_TO_HAKARIMARU_EXE
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/wine-env.sh"
hk_wine_prepare || exit 1

exe=$1
work=$(mktemp -d)
program_pid=
finish() {
  if [ -n "$program_pid" ] && kill -0 "$program_pid" 2>/dev/null; then
    kill "$program_pid" 2>/dev/null
    wineserver -k 2>/dev/null
  fi
  rm -rf "$work"
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

cp "$exe" "$work/hakarimaru.exe"
printf '[ZOVA]\r\nWinPosX=100\r\nWinPosY=80\r\nINDEX=14\r\nPAGE=2\r\nAUTOCLIP=1\r\n' \
  >"$work/hakarimaru.KZN"

(cd "$work" && exec wine hakarimaru.exe) &
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

geometry() {
  eval "$(xdotool getwindowgeometry --shell "$window")"
}
geometry
check "position from the settings" "100,80" "$X,$Y"
check "size without the rate panel" "404x513" "${WIDTH}x${HEIGHT}"

# A press on the title panel's empty middle, a move of (100, 60), a release.
# The window's one-pixel border and the panel's offset (8, 4) come first.
start_x=$((X + 1 + 8 + 150))
start_y=$((Y + 1 + 4 + 16))
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

# The exit button: 25 x 25 at (357, 4) in the title panel.
xdotool mousemove "$((X + 1 + 8 + 357 + 12))" "$((Y + 1 + 4 + 4 + 12))"
sleep 0.3
xdotool click 1
ended=no
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
wineserver -w

settings=$(od -An -c "$work/hakarimaru.KZN" | tr -s ' \n' ' ')
expected=$(printf '[ZOVA]\r\nWinPosX=200\r\nWinPosY=140\r\nINDEX=14\r\nPAGE=2\r\nAUTOCLIP=1\r\n' |
  od -An -c | tr -s ' \n' ' ')
check "the settings written at exit" "$expected" "$settings"

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "all checks passed"
