#!/usr/bin/env bash
# How long hakarimaru.exe takes under Wine from its start until its window is
# shown, against a minimal Win32 program that only shows a window, started
# the same way in the same run: the ratio is what counts, as Wine's own start
# dominates both.
#
# Usage: bench/wine_startup.sh [PATH_TO_HAKARIMARU_EXE] [RUNS]
# (default: the win32 build's program, 7 runs of each; the first run of each
# warms the caches and is not counted). Builds the minimal program with the
# MinGW compiler into a temporary folder.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
exe=${1:-$here/../build/win32/src/app/hakarimaru.exe}
runs=${2:-7}
source "$here/../scripts/wine-env.sh"
hk_wine_prepare

work=$(mktemp -d)
pid=
finish() {
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then kill "$pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap finish EXIT

i686-w64-mingw32-g++-posix -O2 -static -mwindows "$here/minimal_window.cpp" \
  -o "$work/minimal.exe"

now_ms() { echo $(($(date +%s%N) / 1000000)); }

# Milliseconds from the start until a visible window has the title. Each run
# gets a fresh folder, so hakarimaru.exe starts without settings each time.
time_start() {  # program, title
  local folder
  folder=$(mktemp -d -p "$work")
  cp "$1" "$folder/"
  local start
  start=$(now_ms)
  (cd "$folder" && exec wine "$(basename "$1")") >/dev/null 2>&1 &
  pid=$!
  local shown=
  for _ in $(seq 1 2000); do
    if xdotool search --onlyvisible --name "^$2\$" >/dev/null 2>&1; then
      shown=$(now_ms)
      break
    fi
    sleep 0.01
  done
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  pid=
  # Until the window is really gone, the next search would find it.
  while xdotool search --name "^$2\$" >/dev/null 2>&1; do sleep 0.05; done
  if [ -z "$shown" ]; then
    echo "the window \"$2\" did not appear" >&2
    exit 1
  fi
  echo $((shown - start))
}

median() {
  sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

program_times=()
minimal_times=()
for run in $(seq 0 "$runs"); do
  p=$(time_start "$exe" "はかり丸")
  m=$(time_start "$work/minimal.exe" "minimal-window")
  if [ "$run" -gt 0 ]; then
    program_times+=("$p")
    minimal_times+=("$m")
  fi
done

program_median=$(printf '%s\n' "${program_times[@]}" | median)
minimal_median=$(printf '%s\n' "${minimal_times[@]}" | median)
echo "hakarimaru.exe: ${program_times[*]} ms (median $program_median)"
echo "minimal window: ${minimal_times[*]} ms (median $minimal_median)"
awk -v p="$program_median" -v m="$minimal_median" 'BEGIN { printf "ratio: %.2f\n", p / m }'
