#!/usr/bin/env bash
# How long hakarimaru.exe takes under Wine from its start until its window
# shows its final content, against a bare window of the same size that paints
# one line of Japanese text in the program's font, started the same way in the
# same run: the ratio is what counts, as Wine's own start dominates both. A
# third program shows the floor: the bare window with the program's manifest,
# the common controls loaded and one edit, which any program with the
# system's current look of edits and buttons pays for.
#
# "Shows its final content": the window's area on the screen is read every
# 2 ms until it stops changing (a blinking caret aside); the time is that of
# the last change. One wineserver serves every run, as on a desktop where
# Wine already runs. Each run of hakarimaru.exe gets a fresh folder, so it
# starts without settings, at (0, 0) on page 1.
#
# Then the same runs of hk_startup_phases.exe (built beside the program) print
# where the time over the floor goes, phase by phase (bench/startup_phases.cpp).
#
# Usage: bench/wine_startup.sh [PATH_TO_HAKARIMARU_EXE] [RUNS]
# (default: the win32 build's program, 9 runs of each; one run of each before
# them warms the caches and is not counted). Builds the bare window with the
# MinGW compiler and the screen watcher with the native one into a temporary
# folder; starts a virtual display when none works, and stops it at the end.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
exe=${1:-$here/../build/win32/src/app/hakarimaru.exe}
runs=${2:-9}
texts_helper=$(dirname "$exe")/../../tests/win32/hk_window_texts.exe
source "$here/../scripts/wine-env.sh"
HK_XVFB_PID=
hk_wine_prepare

work=$(mktemp -d)
pid=
holder=
finish() {
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then kill "$pid" 2>/dev/null || true; fi
  if [ -n "$holder" ]; then kill "$holder" 2>/dev/null || true; fi
  # The display goes first: a plain wait would wait for it too, for ever.
  if [ -n "$HK_XVFB_PID" ]; then kill "$HK_XVFB_PID" 2>/dev/null || true; fi
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap finish EXIT

i686-w64-mingw32-g++-posix -O2 -static -mwindows "$here/minimal_window.cpp" \
  -o "$work/minimal.exe"
printf '1 24 "%s"\n' "$here/../resources/hakarimaru.manifest" >"$work/manifest.rc"
i686-w64-mingw32-windres "$work/manifest.rc" -O coff -o "$work/manifest.res"
i686-w64-mingw32-g++-posix -O2 -static -mwindows -DHK_COMMON_CONTROLS \
  "$here/minimal_window.cpp" "$work/manifest.res" -o "$work/floor.exe" -lcomctl32
printf '#include <windows.h>\nint main() { Sleep(INFINITE); }\n' >"$work/hold.cpp"
i686-w64-mingw32-g++-posix -O2 -static "$work/hold.cpp" -o "$work/hold.exe"
gcc -O2 "$here/settled_screen.c" -o "$work/settled_screen" -lXext -lX11

# A Wine process that lives through the whole run keeps the wineserver up.
wine "$work/hold.exe" >/dev/null 2>&1 &
holder=$!
sleep 2

# Milliseconds from the start until the window's area stops changing.
time_start() {  # program, title
  local folder
  folder=$(mktemp -d -p "$work")
  cp "$1" "$folder/"
  local start settled
  start=$(date +%s%N)
  (cd "$folder" && exec wine "$(basename "$1")") >/dev/null 2>&1 &
  pid=$!
  settled=$("$work/settled_screen" "$start" 0 0 404 513) || settled=
  if [ -n "$count_windows" ] && [ -x "$texts_helper" ]; then
    windows=$(wine "$texts_helper" --windows "$2" | tr -d '\r')
  fi
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  pid=
  # Until the window is really gone, the next run would see it.
  while xdotool search --name "^$2\$" >/dev/null 2>&1; do sleep 0.05; done
  if [ -z "$settled" ]; then
    echo "the window \"$2\" did not settle" >&2
    exit 1
  fi
  echo "$settled"
}

median() {
  sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

program_times=()
minimal_times=()
floor_times=()
windows=
count_windows=
for run in $(seq 0 "$runs"); do
  p=$(time_start "$exe" "はかり丸")
  m=$(time_start "$work/minimal.exe" "minimal-window")
  f=$(time_start "$work/floor.exe" "minimal-window")
  if [ "$run" -gt 0 ]; then
    program_times+=("$p")
    minimal_times+=("$m")
    floor_times+=("$f")
  fi
done
count_windows=yes
time_start "$exe" "はかり丸" >/dev/null

program_median=$(printf '%s\n' "${program_times[@]}" | median)
minimal_median=$(printf '%s\n' "${minimal_times[@]}" | median)
floor_median=$(printf '%s\n' "${floor_times[@]}" | median)
echo "hakarimaru.exe: ${program_times[*]} ms (median $program_median)"
echo "bare window:    ${minimal_times[*]} ms (median $minimal_median)"
echo "common controls: ${floor_times[*]} ms (median $floor_median)"
awk -v p="$program_median" -v m="$minimal_median" -v f="$floor_median" \
  'BEGIN { printf "ratio: %.2f (the floor: %.2f)\n", p / m, f / m }'
[ -n "$windows" ] && echo "windows of hakarimaru.exe at start-up: $windows"

# Where the time over the floor goes: the program's start-up in phases, timed
# inside one process, against the floor's own steps timed the same way, each
# difference also as a share of the floor's whole start measured above (the
# shares of the phases add up to the ratio over the floor, but for what the
# message loop does after the first paint).
phases_exe=$(dirname "$exe")/hk_startup_phases.exe
if [ ! -x "$phases_exe" ]; then
  echo "no phases: $phases_exe is not built"
  exit 0
fi
phases_folder=$(mktemp -d -p "$work")
cp "$phases_exe" "$phases_folder/"
for run in $(seq 0 "$runs"); do
  for who in program floor; do
    flag=
    [ "$who" = floor ] && flag=--floor
    lines=$(cd "$phases_folder" && wine hk_startup_phases.exe $flag | tr -d '\r')
    [ "$run" -gt 0 ] && printf '%s\n' "$lines" | sed "s/^/$who /" >>"$phases_folder/times"
  done
done
printf '%-28s %9s %9s %9s %9s\n' "phase (medians, ms)" program floor over share
while read -r phase; do
  p=$(awk -v f="$phase" '$1 == "program" && $2 == f { print $3 }' "$phases_folder/times" | median)
  f=$(awk -v f="$phase" '$1 == "floor" && $2 == f { print $3 }' "$phases_folder/times" | median)
  awk -v n="$phase" -v p="$p" -v f="$f" -v all="$floor_median" \
    'BEGIN { printf "%-28s %9.2f %9.2f %+9.2f %+9.3f\n", n, p, f, p - f, (p - f) / all }'
done < <(awk '$1 == "program" { print $2 }' "$phases_folder/times" | awk '!seen[$0]++')
exit 0
