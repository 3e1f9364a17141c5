#!/usr/bin/env bash
# Libraries under the names of the system's (shcore.dll, oleacc.dll,
# version.dll) and a help viewer (winhlp32.exe) beside the program, as a
# downloads folder may hold them; each leaves a marker when it runs. With a
# help file beside it too, so that the program looks for a viewer, it starts,
# converts, answers a screen reader and shows its help: none of them runs,
# and Wine loads no library of the program's folder into it.
#
# Usage: planted_end_to_end.sh PATH_TO_HAKARIMARU_EXE FOLDER_OF_PLANTED_FILES
# HK_WINDOW_TEXTS names the helper that reads the program's windows.
set -u
exe=$1
planted=$2
texts_helper=${HK_WINDOW_TEXTS:-}
# shellcheck source=e2e_lib.sh
source "$(cd "$(dirname "$0")" && pwd)/e2e_lib.sh"

folder=$work/downloads
mkdir "$folder"
cp "$planted"/* "$folder/"
: >"$folder/ZO_VEZA.HLP"
# Wine names every module it loads and where from.
WINEDEBUG=+loaddll start_program "$folder" 2>"$work/loads"

# The input: 217 x 21 at (60, 164); 12 m in cm.
click_at 168 174
xdotool type --delay 60 "12"
sleep 0.3
click_unit 196 1
click_unit 336 2
sleep 0.5
# Read from another process, as a screen reader reads it.
shown=$(window_texts "はかり丸" | sed -n 's/^結果: \([^ ]*\).*/\1/p' | head -n 1)
check "the result as a screen reader hears it" "1200.00000" "$shown"

check_help "the main window" "はかり丸は、値を入れて" click_title_button 305
close_help "the main window's help"
exit_program

check "no planted file ran" "" "$(cd "$folder" && ls -- *.loaded 2>/dev/null)"
check "no library of the program's folder loaded" "" \
  "$(grep -a 'trace:loaddll' "$work/loads" | grep -a ': native' | grep -aF '\\downloads\\' |
    grep -avF 'hakarimaru.exe' | sed 's/.*Loaded //')"
report
