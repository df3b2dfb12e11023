#!/usr/bin/env bash
# The real reader under Xvfb at 1024*768, used as a new user would: open a book through the cover
# and the file dialog, turn two pages with the Right key, jump to page 5 with the toolbar, leave
# with "退出阅读"; then the two record files must hold that page; a second start reopens the book
# from "上次阅读", goes back to the cover with "主页", where a press of Right must leave the cover
# in view, so that "合上书本" can be clicked to end the reader. A third start opens the chapter
# list with Ctrl+T, moves down three chapters and chooses with Return; a fourth searches a phrase
# with Ctrl+F, closes the window with Escape and goes on with F3, F3 and Shift+F3. Each leaves
# with "退出阅读", and Lastread.dat must hold the page each of them showed. Before all that,
# "quillon --chapters" must list the book's chapters without a window, and with --convert in the
# other script as the dictionaries' own command converts them. Last, on a 1920*1080 screen
# the window must be the 1366*768 layout's drawn larger, and turn pages there.
#   e2e_reader.sh QUILLON_EXECUTABLE BOOK
set -euo pipefail

executable="$1"
book="$(realpath "$2")"
source "$(dirname "${BASH_SOURCE[0]}")/e2e_common.sh"
e2e_require Xvfb xdotool opencc
e2e_begin

build="$(dirname "$executable")"
program="$scratch"

# A fresh program folder: the reader and its pictures, no settings or records yet.
cp "$executable" "$program/quillon"
mkdir -p "$program/Configure" "$program/Icosource"
cp "$build"/Configure/*.jpg "$program/Configure/"
cp "$build"/Icosource/* "$program/Icosource/"

e2e_start_display 150

start_reader() {
  "$program/quillon" >/dev/null 2>&1 &
  reader=$!
}
# The newest visible window of the reader (the main window, or a dialog it opened).
newest_window() {
  local id="" tries=0
  while [ -z "$id" ] && [ $tries -lt 100 ]; do
    id="$(xdotool search --all --onlyvisible --pid "$reader" 2>/dev/null | tail -n 1 || true)"
    [ -z "$id" ] && sleep 0.1
    tries=$((tries + 1))
  done
  [ -n "$id" ] || fail "no window of the reader appeared"
  echo "$id"
}
window_count() { xdotool search --all --onlyvisible --pid "$reader" 2>/dev/null | wc -l; }
wait_for_windows() {
  for _ in $(seq 100); do [ "$(window_count)" -eq "$1" ] && return 0; sleep 0.1; done
  fail "expected $1 windows of the reader, saw $(window_count)"
}
wait_for_title() {
  for _ in $(seq 100); do
    [ "$(xdotool getwindowname "$1" 2>/dev/null)" = "$2" ] && return 0
    sleep 0.1
  done
  fail "the window is titled '$(xdotool getwindowname "$1" 2>/dev/null)', not '$2'"
}
# Types into the reader's dialog, the window other than the main window $1.
type_into_dialog() {
  local dialog
  dialog="$(xdotool search --all --onlyvisible --pid "$reader" | grep -vx "$1" | tail -n 1)"
  xdotool windowfocus --sync "$dialog" 2>/dev/null || true
  sleep 0.3
  xdotool type --delay 30 "$2"
  xdotool key Return
}

title="Quillon-[$(basename "$book" | sed 's/....$//')]"

# The chapters on standard output, without a display: 100 of them, 第一回 in the file's line 2.
chapters="$(env -u DISPLAY "$program/quillon" --chapters "$book")" || fail "--chapters failed"
[ "$(printf '%s\n' "$chapters" | wc -l)" -eq 100 ] || fail "--chapters listed $(printf '%s\n' "$chapters" | wc -l) chapters"
first_chapter="${chapters%%$'\n'*}"
[[ "$first_chapter" == $'2\t'*第一回* ]] || fail "--chapters starts with '$first_chapter'"
# A table of contents is left out however it ends: before the author's name, or a blank line and 正文.
for between in '作者：某某' $'\n正文'; do
  {
    printf '目录\n'
    for n in 1 2 3 4 5 6 7 8 9 10; do printf '第%s章 标题%s\n' "$n" "$n"; done
    printf '%s\n' "$between"
    for n in 1 2 3 4 5 6 7 8 9 10; do printf '第%s章 标题%s\n　　正文第%s章的文字。\n' "$n" "$n" "$n"; done
  } | iconv -f UTF-8 -t GBK > "$scratch/contents.txt"
  body=$(($(printf '%s\n' "$between" | wc -l) + 12))
  expected="$(for n in 1 2 3 4 5 6 7 8 9 10; do printf '%s\t第%s章 标题%s\n' $((body + 2 * (n - 1))) "$n" "$n"; done)"
  listed="$(env -u DISPLAY "$program/quillon" --chapters "$scratch/contents.txt")" || fail "--chapters failed"
  [ "$listed" = "$expected" ] || fail "--chapters on a contents list ending in '$between' gave: $listed"
done
# Converted, the titles are what the dictionaries' own command makes of them.
books="$(dirname "$book")"
while read -r name conversion; do
  ours="$(env -u DISPLAY "$program/quillon" --chapters --convert "$conversion" "$books/$name")" ||
    fail "--chapters --convert $conversion failed"
  theirs="$(env -u DISPLAY "$program/quillon" --chapters "$books/$name" | opencc -c "$conversion.json")"
  [ -n "$ours" ] && [ "$ours" = "$theirs" ] || fail "--convert $conversion of $name is not the dictionaries' own"
done <<< $'rulinwaishi.gbk.txt t2s\nhongloumeng.gbk.txt s2t'

start_reader
main="$(newest_window)"
click_twips "$main" 4365 3780  # 打开书目
wait_for_windows 2
type_into_dialog "$main" "$book"
wait_for_windows 1
wait_for_title "$main" "$title"

xdotool windowfocus --sync "$main" 2>/dev/null || true
xdotool key Right
sleep 0.5
xdotool key Right
sleep 0.5

click_toolbar "$main" 9  # 跳转
wait_for_windows 2
type_into_dialog "$main" 5
wait_for_windows 1
sleep 0.3

click_toolbar "$main" 11  # 退出阅读
for _ in $(seq 100); do kill -0 "$reader" 2>/dev/null || break; sleep 0.1; done
kill -0 "$reader" 2>/dev/null && fail "the reader did not end after 退出阅读"
reader=""

expected="$(printf '"%s",4\r\n' "$book")"
[ "$(cat "$program/Bookmark/Lastread.dat")" = "$expected" ] ||
  fail "Lastread.dat holds '$(cat -v "$program/Bookmark/Lastread.dat")'"
printf '"%s",4\r\n' "$book" | cmp -s - "$program/Bookmark/Lastread.dat" || fail "Lastread.dat differs in its bytes"
[ "$(wc -l < "$program/Bookmark/Readrecord.dat")" -eq 20 ] || fail "Readrecord.dat is not 20 lines"
head -n 1 "$program/Bookmark/Readrecord.dat" |
  grep -qE "^#[0-9]{4}-[0-9]{2}-[0-9]{2}( [0-9]{2}:[0-9]{2}:[0-9]{2})?#,\"$book\",[.0-9]+"$'\r'"$" ||
  fail "Readrecord.dat does not start with the book: '$(head -n 1 "$program/Bookmark/Readrecord.dat" | cat -v)'"

start_reader
main="$(newest_window)"
click_twips "$main" 4365 4560  # 上次阅读
wait_for_title "$main" "$title"
sleep 0.5
click_toolbar "$main" 1  # 主页
sleep 0.5
xdotool windowfocus --sync "$main" 2>/dev/null || true
xdotool key Right
sleep 0.5
click_twips "$main" 4365 6930  # 合上书本, which a page over the cover would hide
for _ in $(seq 50); do kill -0 "$reader" 2>/dev/null || break; sleep 0.1; done
kill -0 "$reader" 2>/dev/null && fail "after 主页 and Right the cover was not in view"
reader=""
printf '"%s",4\r\n' "$book" | cmp -s - "$program/Bookmark/Lastread.dat" ||
  fail "the page stored by 主页 is not the page reopened: '$(cat -v "$program/Bookmark/Lastread.dat")'"
# Leaves the book with 退出阅读 and checks the page stored: $2 is the page's index.
leave_and_check_page() {
  click_toolbar "$1" 11  # 退出阅读
  for _ in $(seq 100); do kill -0 "$reader" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$reader" 2>/dev/null && fail "the reader did not end after 退出阅读"
  reader=""
  printf '"%s",%s\r\n' "$book" "$2" | cmp -s - "$program/Bookmark/Lastread.dat" ||
    fail "$3: Lastread.dat holds '$(cat -v "$program/Bookmark/Lastread.dat")', not page index $2"
}
reopen_last_read() {
  start_reader
  main="$(newest_window)"
  click_twips "$main" 4365 4560  # 上次阅读
  wait_for_title "$main" "$title"
  sleep 0.5
  xdotool windowfocus --sync "$main" 2>/dev/null || true
}

# The book reopens at page index 4, in 第一回; three entries down is 第四回, whose heading stands
# on page index 23 in this layout (41 characters a row, 25 rows a page).
reopen_last_read
xdotool key ctrl+t
wait_for_windows 2
xdotool key Down Down Down Return
wait_for_windows 1
leave_and_check_page "$main" 23 "the chapter list's 第四回"

# From 第四回's page, 弼马温 is first found on page index 24; the next four are on 25, 25, 25 and
# 26, so F3 four times ends on 26 and Shift+F3 comes back to 25; then Right twice turns to 27.
# (A key that did nothing would end elsewhere, or ask past the first hit and leave a message box
# in the way; the second Right needs the keyboard to have followed the page the first one showed.)
reopen_last_read
xdotool key ctrl+f
wait_for_windows 2
type_into_dialog "$main" "弼马温"
sleep 0.5
# The pointer off the window, no click and no window manager: when the search window goes, the
# keyboard must come back to the reader by itself.
xdotool mousemove 1023 767
xdotool key Escape
wait_for_windows 1
sleep 0.3
for key in F3 F3 F3 F3 shift+F3 Right Right; do
  xdotool key "$key"
  sleep 0.3
done
leave_and_check_page "$main" 27 "the search, F3 and the turns after them"

# A 1920*1080 screen, without options: the 1366*768 layout drawn 1920/1366 times larger, its
# window 582*705 pixels of that layout. A book new to the reader opens at its first page; Right and
# the toolbar's 下一页 turn two pages, and the close button's way out (as a signal asks) keeps it.
e2e_start_display 150 1920x1080
wide="$scratch/大屏幕.txt"
cp "$book" "$wide"
"$program/quillon" "$wide" >/dev/null 2>&1 &
reader=$!
main="$(newest_window)"
wait_for_title "$main" "Quillon-[大屏幕]"
eval "$(xdotool getwindowgeometry --shell "$main" | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
expected_width=$((582 * 19200 / 13660)) expected_height=$((705 * 19200 / 13660))
[ $((WIDTH - expected_width)) -ge -1 ] && [ $((WIDTH - expected_width)) -le 1 ] &&
  [ $((HEIGHT - expected_height)) -ge -1 ] && [ $((HEIGHT - expected_height)) -le 1 ] ||
  fail "at 1920*1080 the window is ${WIDTH}x$HEIGHT, not ${expected_width}x$expected_height"
# Centred as on a 1366*768 screen, where the window's left edge (its frame's) is 5835 twips in.
expected_x=$((5835 * 19200 / 15 / 13660))
[ $((X - expected_x)) -ge -1 ] && [ $((X - expected_x)) -le 1 ] && [ "$Y" -eq 0 ] ||
  fail "at 1920*1080 the window stands at $X,$Y, not at $expected_x,0"
e2e_scale=1.4056
xdotool windowfocus --sync "$main" 2>/dev/null || true
xdotool key Right
sleep 0.5
click_toolbar "$main" 7  # 下一页
sleep 0.5
kill -TERM "$reader"
for _ in $(seq 100); do kill -0 "$reader" 2>/dev/null || break; sleep 0.1; done
reader=""
printf '"%s",2\r\n' "$wide" | iconv -f UTF-8 -t GB18030 | cmp -s - "$program/Bookmark/Lastread.dat" ||
  fail "at 1920*1080 two turns did not reach page index 2: '$(cat -v "$program/Bookmark/Lastread.dat")'"

echo "e2e passed: listed the chapters; opened, turned, jumped, left, reopened '$title', went back to its cover; jumped to a chapter, searched and went on with F3; filled a 1920*1080 screen and turned two pages there"
