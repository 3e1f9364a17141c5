#!/bin/bash
# The settings file in the real program, with others writing it too: an edit
# by hand while the program runs survives its exit, and two copies of the
# program writing the one file each keep the other's keys. Then the money
# page's rates: a key typed after leaving the page reaches no rate box, and
# a rate of five decimals steps up and back to its own text; a rate stepped
# back converts and is saved as shown, picking another money category saves
# the rates of the one left, and a rate typed with a sign is saved as the
# rate it converts with, but a rate of 0 is refused and the rate it had is
# saved instead; a rate beyond the row's digits is shown and kept, not edited.
# Last, keeping the window on top.
set -u
exe=$1
texts_helper=${HK_WINDOW_TEXTS:-}
source "$(cd "$(dirname "$0")" && pwd)/e2e_lib.sh"

sjis() {  # text in UTF-8
  printf '%b' "$1" | iconv -f UTF-8 -t CP932
}

settings_bytes() {  # folder
  bytes_of <"$1/hakarimaru.KZN"
}

# An edit from outside while the program runs, then the exit button.
edited=$work/edited
mkdir "$edited"
printf '[ZOVA]\r\nAUTOCLIP=1\r\n' >"$edited/hakarimaru.KZN"
start_program "$edited"
sjis '; 手で書いた\r\n[MINE]\r\nnote = 手書き \r\n' >>"$edited/hakarimaru.KZN"
exit_program
expected=$(sjis '[ZOVA]\r\nAUTOCLIP=1\r\nWinPosX=0\r\nWinPosY=0\r\nINDEX=1\r\nPAGE=1\r\n; 手で書いた\r\n[MINE]\r\nnote = 手書き \r\n' |
  bytes_of)
check "the edit by hand is still there after the exit" "$expected" "$(settings_bytes "$edited")"

# Two copies on one file: the first toggles the clipboard option, the second
# changes the page and exits.
shared=$work/shared
mkdir "$shared"
printf '[ZOVA]\r\nAUTOCLIP=1\r\n' >"$shared/hakarimaru.KZN"
start_program "$shared"
first_window=$window
first_pid=$program_pid
# The second copy opens beside the first.
printf '[ZOVA]\r\nAUTOCLIP=1\r\nWinPosX=600\r\n' >"$shared/hakarimaru.KZN"
(cd "$shared" && exec wine hakarimaru.exe) &
second_pid=$!
second_window=
for _ in $(seq 1 150); do
  second_window=$(xdotool search --name "^はかり丸$" 2>/dev/null | grep -vx "$first_window" | head -n 1)
  [ -n "$second_window" ] && break
  sleep 0.2
done
if [ -z "$second_window" ]; then
  echo "FAILED: the second copy's window did not appear"
  kill "$second_pid" 2>/dev/null
  exit 1
fi
sleep 1

window=$first_window
click_title_button 3
sleep 0.3
for _ in 1 2 3 4 5; do
  xdotool key Down
  sleep 0.1
done
xdotool key Return
sleep 0.5
check "the first copy wrote its clipboard option" "1" \
  "$(grep -c "^AUTOCLIP=0"$'\r'"\$" "$shared/hakarimaru.KZN")"

window=$second_window
program_pid=$second_pid
click_title_button 29  # page 1, then page 2
click_title_button 55
exit_program
expected=$(printf '[ZOVA]\r\nAUTOCLIP=0\r\nWinPosX=600\r\nWinPosY=0\r\nINDEX=13\r\nPAGE=2\r\n' | bytes_of)
check "both copies' keys after the second one's exit" "$expected" "$(settings_bytes "$shared")"

window=$first_window
program_pid=$first_pid
exit_program
expected=$(printf '[ZOVA]\r\nAUTOCLIP=0\r\nWinPosX=0\r\nWinPosY=0\r\nINDEX=1\r\nPAGE=1\r\n' | bytes_of)
check "the first copy's exit keeps the option it wrote" "$expected" "$(settings_bytes "$shared")"
check "no file but the program and its settings" "hakarimaru.KZN hakarimaru.exe" \
  "$(ls "$shared" | tr '\n' ' ' | sed 's/ $//')"

# The text of the window at a point of the main window's layout.
text_at() {  # x, y
  window_texts --at "$(scaled "$1")" "$(scaled "$2")" "はかり丸"
}

# A click into a rate box, away to page 1, a typed digit and Alt+F4: the
# digit goes to the input box, and no rates are written anywhere.
hidden=$work/hidden
mkdir "$hidden"
start_program "$hidden"
click_title_button 81                        # page 3
click_at $((404 + 8 + 26)) $((2 + 66 + 10))  # row 1's integer part
click_title_button 29                        # page 1
xdotool type --delay 60 "4"
sleep 0.3
exit_by_alt_f4
check "no rates of page 1 written by a key typed after leaving page 3" "0" \
  "$(grep -c '^\[BUNRUI1\]' "$hidden/hakarimaru.KZN")"
start_program "$hidden"
click_at 168 174
xdotool type --delay 60 "1"
click_unit 196 1  # メートル
click_unit 336 2  # センチメートル
sleep 0.5
check "1 m is still 100 cm after the restart" "100.00000" \
  "$(window_texts "はかり丸" | sed -n 's/^結果: \([^ ]*\).*/\1/p' | head -n 1)"
exit_program

# 米ドル at five decimals: 0 and 94000, its spinner (15 x 21 at (130, 115) in
# the rate panel) one step up and one down.
fine=$work/fine
mkdir "$fine"
printf '[ZOVA]\r\nPAGE=3\r\nINDEX=25\r\n[BUNRUI25]\r\nDATA2=0.94\r\nPOINT2=5\r\n' >"$fine/hakarimaru.KZN"
start_program "$fine"
decimal_box() { text_at $((404 + 78 + 26)) $((2 + 115 + 10)); }
check "five decimals show their own digits" "94000" "$(decimal_box)"
click_at $((404 + 130 + 7)) $((2 + 115 + 4))
check "one step up" "94001" "$(decimal_box)"
click_at $((404 + 130 + 7)) $((2 + 115 + 17))
check "and one down again" "94000" "$(decimal_box)"
exit_program
check "a rate stepped back to what it showed is not written again" "1" \
  "$(grep -c '^DATA2=0.94'$'\r''$' "$fine/hakarimaru.KZN")"

# 米ドル of ¥ﾍﾞｰｽ1 stepped up and converted, then stepped back and converted
# again: what the row shows is what converts and what is saved, and the
# rate it always had gets no date. Then a step that no conversion reads, and
# another money category picked before leaving the page: the step is saved
# all the same, with today's date, which the panel shows after a restart.
stepped=$work/stepped
mkdir "$stepped"
printf '[ZOVA]\r\nPAGE=3\r\nINDEX=25\r\n' >"$stepped/hakarimaru.KZN"
start_program "$stepped"
result() { window_texts "はかり丸" | sed -n 's/^結果: \([^ ]*\).*/\1/p' | head -n 1; }
data2() { tr -d '\r' <"$stepped/hakarimaru.KZN" | sed -n '/^\[BUNRUI25\]/,/^\[/s/^DATA2=//p'; }
date25() { tr -d '\r' <"$stepped/hakarimaru.KZN" | sed -n '/^\[BUNRUI25\]/,/^\[/s/^DATE=//p'; }
click_at $((404 + 130 + 7)) $((2 + 115 + 4))  # 94 to 95
click_at 168 174
xdotool type --delay 60 "100"
click_unit 196 1  # 円
click_unit 336 2  # 米ドル
sleep 0.5
check "the stepped rate converts" "0.95" "$(result)"
click_at $((404 + 130 + 7)) $((2 + 115 + 17))  # back to 94
xdotool key Return
sleep 0.5
check "the rate stepped back converts" "0.94" "$(result)"
click_at $((72 + 32)) $((48 + 27))  # ¥ﾍﾞｰｽ2
sleep 0.3
check "and is saved when another category is picked" "0.94" "$(data2)"
check "the rate it always had gets no date" "" "$(date25)"
click_at $((8 + 32)) $((48 + 27))  # ¥ﾍﾞｰｽ1 again
check "and shown when it comes back" "94" "$(decimal_box)"
click_at $((404 + 130 + 7)) $((2 + 115 + 4))  # 94 to 95, read by nothing
click_at $((72 + 32)) $((48 + 27))            # ¥ﾍﾞｰｽ2
click_title_button 29                         # page 1
exit_program
check "a step that no conversion read survives another category" "0.95" "$(data2)"
today=$(date +%F)
check "with today's date" "$today" "$(date25)"
start_program "$stepped"
click_title_button 81  # page 3, ¥ﾍﾞｰｽ1
check "the date under the rates' heading" "1" \
  "$(window_texts "はかり丸" | grep -cx "$today 更新")"
exit_program

# 米ドル's integer part typed with a sign: it converts with 1.94, and the file
# gets the rate's plain text when the page is left.
signed=$work/signed
mkdir "$signed"
printf '[ZOVA]\r\nPAGE=3\r\nINDEX=25\r\n' >"$signed/hakarimaru.KZN"
start_program "$signed"
click_at $((404 + 8 + 26)) $((2 + 115 + 10))  # row 2's integer part
xdotool key End shift+Home
xdotool type --delay 60 "+1"
click_at 168 174
xdotool type --delay 60 "100"
click_unit 196 2  # 米ドル
click_unit 336 1  # 円
sleep 0.5
check "a rate typed with a sign converts" "5154.64" "$(result)"
click_title_button 29  # page 1
exit_program
check "and is saved as its plain text" "1.94" \
  "$(tr -d '\r' <"$signed/hakarimaru.KZN" | sed -n '/^\[BUNRUI25\]/,/^\[/s/^DATA2=//p')"

# 円 of ¥ﾍﾞｰｽ1 typed as 0: the conversion that reads it says so, as for a
# letter, and goes on with the rate it had; the file gets that rate, never the
# 0 that would empty the unit at the next start.
zero=$work/zero
mkdir "$zero"
printf '[ZOVA]\r\nPAGE=3\r\nINDEX=25\r\n' >"$zero/hakarimaru.KZN"
start_program "$zero"
click_at $((404 + 8 + 26)) $((2 + 66 + 10))  # row 1's integer part: 100
xdotool key End shift+Home
xdotool type --delay 60 "0"
click_at 168 174
xdotool type --delay 60 "100"
click_unit 196 2  # 米ドル
click_unit 336 1  # 円
check "a rate of 0 is refused" "yes" "$(wait_for_window "ｴﾗｰ" && echo yes)"
xdotool key Return
wait_for_no_window "ｴﾗｰ"
sleep 0.3
check "and the old rate converts" "10638.30" "$(result)"
click_title_button 29  # page 1
exit_program
check "and the rate it had is saved" "100.00" \
  "$(tr -d '\r' <"$zero/hakarimaru.KZN" | sed -n '/^\[BUNRUI25\]/,/^\[/s/^DATA1=//p')"

# A settings file marked read-only refuses the rates: the first category
# picked after an edit says so once, the money page can still be looked
# through, and the rate typed goes on converting until the exit, which
# says so again.
locked=$work/locked
mkdir "$locked"
printf '[ZOVA]\r\nPAGE=3\r\nINDEX=25\r\n' >"$locked/hakarimaru.KZN"
chmod a-w "$locked/hakarimaru.KZN"
windows() { xdotool search --onlyvisible --name '^はかり丸$' 2>/dev/null | wc -l; }
integer_box() { text_at $((404 + 8 + 26)) $((2 + 115 + 10)); }
start_program "$locked"
click_at $((404 + 8 + 26)) $((2 + 115 + 10))  # row 2's integer part
xdotool key End shift+Home
xdotool type --delay 60 "+1"
click_at $((72 + 32)) $((48 + 27))  # ¥ﾍﾞｰｽ2
sleep 0.5
check "a refused save is told" "2" "$(windows)"
xdotool key Return
sleep 0.5
check "and the box goes" "1" "$(windows)"
check "the other category is shown all the same" "10" "$(integer_box)"
click_at $((8 + 32)) $((48 + 27))  # ¥ﾍﾞｰｽ1
check "the rate refused is kept" "1" "$(integer_box)"
click_at $((72 + 32)) $((48 + 27))  # ¥ﾍﾞｰｽ2: refused again
sleep 0.5
check "and not told again" "1" "$(windows)"
click_at $((8 + 32)) $((48 + 27))  # ¥ﾍﾞｰｽ1
click_at 168 174
xdotool type --delay 60 "100"
click_unit 196 2  # 米ドル
click_unit 336 1  # 円
sleep 0.5
check "and converts" "5154.64" "$(result)"
click_title_button 357
sleep 1
# The main window has gone; its box stays until it is answered.
check "the exit tells of the file" "1 box" \
  "$(windows) $(kill -0 "$program_pid" 2>/dev/null && echo box)"
xdotool key Return
ended=no
for _ in $(seq 1 50); do
  kill -0 "$program_pid" 2>/dev/null || { ended=yes; break; }
  sleep 0.2
done
check "and ends" "yes" "$ended"
wait "$program_pid" 2>/dev/null
program_pid=
chmod u+w "$locked/hakarimaru.KZN"

# 米ドル stored with an integer part beyond 32 bits: its boxes show it but
# take no typing, and it converts as stored, with no box.
wide=$work/wide
mkdir "$wide"
printf '[ZOVA]\r\nPAGE=3\r\nINDEX=25\r\n[BUNRUI25]\r\nDATA2=3000000000.5\r\n' \
  >"$wide/hakarimaru.KZN"
start_program "$wide"
click_at $((404 + 78 + 26)) $((2 + 115 + 10))  # row 2's decimal part: 50
xdotool key End
xdotool type --delay 60 "6"
check "a rate beyond the row's digits takes no typing" "50" "$(decimal_box)"
click_at 168 174
xdotool type --delay 60 "3000000000.5"
click_unit 196 2  # 米ドル
click_unit 336 1  # 円
sleep 0.5
check "and converts as stored" "100.00 1" "$(result) $(windows)"
click_title_button 29  # page 1
exit_program
check "and stays in the file" "3000000000.5" \
  "$(tr -d '\r' <"$wide/hakarimaru.KZN" | sed -n '/^\[BUNRUI25\]/,/^\[/s/^DATA2=//p')"

# Kept on top by Ctrl+T, written at once and still so after a restart; the
# history window, the About box and help come up above it, also topmost.
# Ctrl+T in the help window lets both go; the menu's item (its letter T)
# keeps the window on top again.
ontop=$work/ontop
mkdir "$ontop"
topmost() { window_texts --topmost "$1"; }
topmost_key() { tr -d '\r' <"$ontop/hakarimaru.KZN" | sed -n 's/^TOPMOST=//p'; }
start_program "$ontop"
check "a first start keeps nothing on top" "0" "$(topmost "はかり丸")"
xdotool key ctrl+t
sleep 0.3
check "Ctrl+T keeps the window on top" "1" "$(topmost "はかり丸")"
check "and writes it at once" "1" "$(topmost_key)"
exit_program
start_program "$ontop"
check "still on top after the restart" "1" "$(topmost "はかり丸")"
xdotool key ctrl+h
wait_for_window "変換履歴"
check "the history window above it" "1" "$(topmost "変換履歴")"
xdotool key Escape
wait_for_no_window "変換履歴"
click_title_button 3
sleep 0.3
xdotool key a
wait_for_window "はかり丸について"
check "the About box above it" "1" "$(topmost "はかり丸について")"
xdotool key Escape
wait_for_no_window "はかり丸について"
click_title_button 305
wait_for_window "$help_title"
check "help above it" "1" "$(topmost "$help_title")"
xdotool key ctrl+t
sleep 0.3
check "Ctrl+T in help lets the window go" "0" "$(topmost "はかり丸")"
check "and help with it" "0" "$(topmost "$help_title")"
check "and that is written" "0" "$(topmost_key)"
close_help "kept on top"
click_title_button 3
sleep 0.3
xdotool key t
sleep 0.3
check "the menu's item keeps it on top again" "1" "$(topmost "はかり丸")"
exit_program
check "and that is written too" "1" "$(topmost_key)"

report
