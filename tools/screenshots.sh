#!/usr/bin/env bash
# Runs the real reader under Xvfb and saves what a person would see, as PNG files in the folder
# given (default: screenshots/):
#   cover.png     the cover at 1024*768, installed afresh with no settings or records yet
#   page1.png     the first page of the short sample book, opened through the cover and the dialog
#   fullscreen.png   the same book in the full-screen layout, through the toolbar's layout button
#   history.png   the history window with a few books in it
#   history-menu.png  the same with the right-click menu of its first record
#   settings.png  the settings dialog, opened from the cover
#   chapters-1024.png  the chapter list of 红楼梦 (Ctrl+T), where the history left it
#   search-1024.png    the search window after 宝玉 was found from the chapter chosen next
#   search-mark-1024.png  that page with the hit marked, the window closed
#   bookmark-added.png  the message of 添加书签 (Ctrl+D) on that page
#   bookmarks.png the list of 红楼梦's bookmarks (Ctrl+B), after marks on three pages
#   simplified.png  a page of 儒林外史 (written in traditional characters) shown in simplified ones,
#                 as chosen for the book in its 简繁转换 menu
#   reading-aloud.png  西游记 read aloud (F5) through speech-dispatcher into a sink nobody hears, the
#                 sentence being read marked
#   speech-settings.png  朗读设置, from the page menu
#   chapters-empty.png  the chapter list of a book without headings
#   cover-hover.png  the cover with a menu label lit under the mouse
#   about.png     the About window over the cover
#   toolbar.png   the toolbar of an open book, cut out of page1.png
#   fullscreen-1440.png  红楼梦 in the full-screen layout at 1440*900, where a full row is a few
#                 pixels wider than the page at the table's 103 characters and is drawn narrowed
#   chapters-1440.png, search-1440.png  the chapter list and a search of 黛玉 over that layout
#   screen-1440-on-1920.png  a book opened from the command line with --screen 1440x900 on a
#                 1920*1080 screen: that layout, drawn 1.2 times larger
#   page-1920.png, fullscreen-1920.png  a book on a 1920*1080 screen without options: the
#                 1366*768 layout drawn 1920/1366 times larger, normal and full screen
#   page-2560.png, fullscreen-2560.png  the same on a 2560*1440 screen
#   cover-2x.png, page-2x.png  a 3840*2160 screen whose desktop doubles everything (Qt's own
#                 scale factor 2): the cover and a page drawn from the pictures made for it
#   refusal.png   the message a 1024*600 screen, which no layout fits, gets, after which the reader
#                 must end by itself
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

out="$(realpath -m "${1:-$QUILLON_ROOT/screenshots}")"
mkdir -p "$out"
quillon_install "${QUILLON_PACKAGES[@]}" xdotool imagemagick x11-utils pulseaudio pulseaudio-utils
quillon_build --target quillon

# A fresh portable copy, so the pictures show a first start and the build folder stays clean.
program="$(mktemp -d)"
cleanup() {
  [ -n "${reader:-}" ] && kill "$reader" 2>/dev/null || true
  quillon_stop_xvfb
  rm -rf "$program"
}
trap cleanup EXIT
cmake --install "$QUILLON_BUILD" --prefix "$program" >/dev/null
# Installed, the reader keeps its settings and records below the user's data folder.
export XDG_DATA_HOME="$program/data"
data="$XDG_DATA_HOME/quillon"

# Waits for a window of the reader's process and prints its id.
wait_window() {
  local id="" tries=0
  while [ -z "$id" ] && [ $tries -lt 100 ]; do
    id="$(xdotool search --all --onlyvisible --pid "$reader" 2>/dev/null | tail -n 1 || true)"
    sleep 0.1
    tries=$((tries + 1))
  done
  [ -n "$id" ] || { echo "no window appeared" >&2; return 1; }
  echo "$id"
}

shoot() {
  sleep "${2:-1}"
  import -window root "$out/$1"
  echo "saved $out/$1"
}

# Clicks at a point given in twips inside the reader's window (15 twips to the pixel, each pixel
# drawn $scale screen pixels wide on a screen the reader fills by drawing larger).
scale=1
click_twips() {
  local window="$1" x="$2" y="$3"
  eval "$(xdotool getwindowgeometry --shell "$window" | grep -E '^(X|Y)=')"
  xdotool mousemove --sync "$(awk -v o="$X" -v t="$x" -v s="$scale" 'BEGIN { printf "%d", o + t / 15 * s }')" \
    "$(awk -v o="$Y" -v t="$y" -v s="$scale" 'BEGIN { printf "%d", o + t / 15 * s }')" click 1
}

book="$QUILLON_ROOT/tests/data/books/sample-short.gbk.txt"

quillon_start_xvfb 1024x768
"$program/bin/quillon" & reader=$!
main="$(wait_window)"
shoot cover.png
# "关于Quillon" at the lower right opens the About window; its OK closes it again.
click_twips "$main" 8100 10400
sleep 1
about="$(xdotool search --all --onlyvisible --pid "$reader" | grep -vx "$main" | tail -n 1)"
shoot about.png 0.5
click_twips "$about" $((2790 + 832)) $((3090 + 217))
# "打开书目": the menu column is centred in the 8730-twip inside, its first label at top 3510.
eval "$(xdotool getwindowgeometry --shell "$main" | grep -E '^(X|Y)=')"
xdotool mousemove --sync $((X + 291)) $((Y + 20 + 3780 / 15))
xdotool mousemove --sync $((X + 291)) $((Y + 3780 / 15))
shoot cover-hover.png 0.5
click_twips "$main" 4365 3780
sleep 1
dialog="$(wait_window)"
xdotool windowfocus --sync "$dialog" 2>/dev/null || true
xdotool type --delay 20 "$book"
xdotool key Return
shoot page1.png 1.5
eval "$(xdotool getwindowgeometry --shell "$main" | grep -E '^(X|Y)=')"
convert "$out/page1.png" -crop "582x48+$X+$Y" +repage "$out/toolbar.png"
echo "saved $out/toolbar.png"
# The toolbar's fourth button, "全屏阅读": buttons 810 twips wide from 45 twips on.
click_twips "$main" $((45 + 3 * 810 + 405)) 352
shoot fullscreen.png 1.5
kill "$reader"; wait "$reader" 2>/dev/null || true; reader=""

# A history of a few books, as the reader writes it (GB18030, CR LF, 20 lines).
books="$(dirname "$book")"
mkdir -p "$data/Bookmark"
{
  printf '#2026-12-06 21:18:03#,"%s",.185\r\n' "$books/hongloumeng.gbk.txt"
  printf '#2026-12-05 08:02:44#,"%s",1\r\n' "$books/xiyouji.gbk.txt"
  printf '#2026-11-28 13:40:10#,"%s",.5263158\r\n' "$books/rulinwaishi.gbk.txt"
  printf '#2026-11-02#,"%s",0\r\n' "/home/reader/书库/聊斋志异.txt"
  for _ in $(seq 16); do printf '#1899-12-30#,"",0\r\n'; done
} | iconv -f UTF-8 -t GB18030 > "$data/Bookmark/Readrecord.dat"
# Starts the reader, clicks a cover label (the middle of the menu column, at a top in twips) and
# saves what comes up.
shoot_cover_command() {
  "$program/bin/quillon" & reader=$!
  main="$(wait_window)"
  click_twips "$main" 4365 "$1"
  sleep 1
  shoot "$2"
  kill "$reader"; wait "$reader" 2>/dev/null || true; reader=""
}
shoot_cover_command 5340 history.png   # "历史阅读"
shoot_cover_command 6120 settings.png  # "系统设置"

# A right click on the first record's book name (the table stands 30 twips into the window).
"$program/bin/quillon" & reader=$!
main="$(wait_window)"
click_twips "$main" 4365 5340
sleep 1
history="$(xdotool search --all --onlyvisible --pid "$reader" | grep -vx "$main" | tail -n 1)"
eval "$(xdotool getwindowgeometry --shell "$history" | grep -E '^(X|Y)=')"
xdotool mousemove --sync $((X + (30 + 4000) / 15)) $((Y + (30 + 570 + 170) / 15)) click 3
shoot history-menu.png 1
xdotool key Escape
kill "$reader"; wait "$reader" 2>/dev/null || true; reader=""

# Types into the window of the reader that is not the main window $1.
type_into_dialog() {
  local dialog
  dialog="$(xdotool search --all --onlyvisible --pid "$reader" | grep -vx "$1" | tail -n 1)"
  xdotool windowfocus --sync "$dialog" 2>/dev/null || true
  xdotool type --delay 50 "$2"
  xdotool key Return
}

# 红楼梦 from the command line resumes at 18.5 % (the history above); the chapter list marks the
# chapter there. Three chapters further down, a search of 宝玉 finds the next one.
"$program/bin/quillon" "$books/hongloumeng.gbk.txt" & reader=$!
main="$(wait_window)"
sleep 1.5
xdotool windowfocus --sync "$main" 2>/dev/null || true
xdotool key ctrl+t
shoot chapters-1024.png 1
xdotool key Down Down Down Return
sleep 0.5
xdotool windowfocus --sync "$main" 2>/dev/null || true
xdotool key ctrl+f
sleep 1
type_into_dialog "$main" "宝玉"
shoot search-1024.png 1.5
xdotool key Escape
shoot search-mark-1024.png 1
# Marks on this page and two further on; the list shows them in the book's order.
xdotool windowfocus --sync "$main" 2>/dev/null || true
xdotool key ctrl+d
shoot bookmark-added.png 1
xdotool key Return
for turns in 3 12; do
  sleep 0.5
  xdotool windowfocus --sync "$main" 2>/dev/null || true
  for _ in $(seq "$turns"); do xdotool key Next; sleep 0.1; done
  sleep 0.5
  xdotool key ctrl+d
  sleep 1
  xdotool key Return
done
sleep 0.5
xdotool windowfocus --sync "$main" 2>/dev/null || true
xdotool key ctrl+b
shoot bookmarks.png 1.5
xdotool key Escape
kill "$reader"; wait "$reader" 2>/dev/null || true; reader=""

# Reading aloud, into a sound server of this run's own with a sink nobody hears.
(
  export XDG_RUNTIME_DIR="$program/run"
  mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
  pulseaudio --daemonize=no -n --exit-idle-time=-1 --load="module-null-sink sink_name=quiet" \
    --load="module-native-protocol-unix" >/dev/null 2>&1 &
  pulse=$!
  for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
  "$program/bin/quillon" "$books/xiyouji.gbk.txt" & reader=$!
  main="$(wait_window)"
  sleep 1
  xdotool windowfocus --sync "$main" 2>/dev/null || true
  xdotool key F5
  shoot reading-aloud.png 6
  xdotool key Escape
  # 朗读设置 from the page menu: past 朗读, and 停止朗读, which is off while nothing is read.
  eval "$(xdotool getwindowgeometry --shell "$main" | grep -E '^(X|Y)=')"
  xdotool mousemove --sync $((X + 290)) $((Y + 300)) click 3
  sleep 0.5
  xdotool key Down Down Return
  shoot speech-settings.png 1.5
  xdotool key Escape
  kill "$reader"; wait "$reader" 2>/dev/null || true
  pid="$XDG_RUNTIME_DIR/speech-dispatcher/pid/speech-dispatcher.pid"
  [ -f "$pid" ] && kill "$(cat "$pid")" 2>/dev/null
  kill "$pulse" 2>/dev/null
  true
)
reader=""

# 儒林外史 in simplified characters, as its 简繁转换 menu keeps the choice for the book.
printf '"%s","t2s"\r\n' "$books/rulinwaishi.gbk.txt" > "$data/Bookmark/Scripts.dat"
"$program/bin/quillon" "$books/rulinwaishi.gbk.txt" & reader=$!
wait_window >/dev/null
shoot simplified.png 2
kill "$reader"; wait "$reader" 2>/dev/null || true; reader=""

# A book of prose without a heading.
printf '今天天气很好，我们去公园散步。\r\n公园里有很多人。\r\n' | iconv -f UTF-8 -t GB18030 > "$program/散文.txt"
"$program/bin/quillon" "$program/散文.txt" & reader=$!
main="$(wait_window)"
sleep 1.5
xdotool windowfocus --sync "$main" 2>/dev/null || true
xdotool key ctrl+t
shoot chapters-empty.png 1
kill "$reader"; wait "$reader" 2>/dev/null || true; reader=""
quillon_stop_xvfb

# Every row ends inside the window. Page 38 holds the end of chapter 9's paragraph of 1,797
# characters, which runs over three pages in the normal layout.
quillon_start_xvfb 1440x900
"$program/bin/quillon" & reader=$!
main="$(wait_window)"
click_twips "$main" 4365 3780  # "打开书目"
sleep 1
dialog="$(wait_window)"
xdotool windowfocus --sync "$dialog" 2>/dev/null || true
xdotool type --delay 20 "$books/hongloumeng.gbk.txt"
xdotool key Return
sleep 1.5
click_twips "$main" $((45 + 3 * 810 + 405)) 352  # "全屏阅读"
sleep 1
click_twips "$main" $((45 + 6 * 810 + 2 * 90 + 405)) 352  # "跳转"
sleep 1
dialog="$(xdotool search --all --onlyvisible --pid "$reader" | grep -vx "$main" | tail -n 1)"
xdotool windowfocus --sync "$dialog" 2>/dev/null || true
xdotool type --delay 50 "38"
xdotool key Return
shoot fullscreen-1440.png 1.5
xdotool windowfocus --sync "$main" 2>/dev/null || true
xdotool key ctrl+t
shoot chapters-1440.png 1
xdotool key Escape
sleep 0.5
xdotool windowfocus --sync "$main" 2>/dev/null || true
xdotool key ctrl+f
sleep 1
type_into_dialog "$main" "黛玉"
shoot search-1440.png 1.5
kill "$reader"; wait "$reader" 2>/dev/null || true; reader=""
quillon_stop_xvfb

# A larger screen with a layout chosen by hand: 1440*900, drawn as large as 1080 rows allow.
quillon_start_xvfb 1920x1080
"$program/bin/quillon" --screen 1440x900 "$books/xiyouji.gbk.txt" & reader=$!
wait_window >/dev/null
shoot screen-1440-on-1920.png 2
kill "$reader"; wait "$reader" 2>/dev/null || true; reader=""
quillon_stop_xvfb

# The common desktop screens without options: a book, then the toolbar's "全屏阅读".
shoot_large_screen() {
  quillon_start_xvfb "$1"
  scale="$2"
  "$program/bin/quillon" "$books/hongloumeng.gbk.txt" & reader=$!
  main="$(wait_window)"
  shoot "page-$3.png" 2
  click_twips "$main" $((45 + 3 * 810 + 405)) 352  # "全屏阅读"
  shoot "fullscreen-$3.png" 1.5
  kill "$reader"; wait "$reader" 2>/dev/null || true; reader=""
  scale=1
  quillon_stop_xvfb
}
shoot_large_screen 1920x1080 1.4056 1920
shoot_large_screen 2560x1440 1.8741 2560

# A desktop that doubles everything itself: its 1920*1080 is drawn 1920/1366 times larger again.
quillon_start_xvfb 3840x2160
QT_SCALE_FACTOR=2 "$program/bin/quillon" & reader=$!
wait_window >/dev/null
shoot cover-2x.png 2
kill "$reader"; wait "$reader" 2>/dev/null || true; reader=""
QT_SCALE_FACTOR=2 "$program/bin/quillon" "$books/hongloumeng.gbk.txt" & reader=$!
wait_window >/dev/null
shoot page-2x.png 2
kill "$reader"; wait "$reader" 2>/dev/null || true; reader=""
quillon_stop_xvfb

rm -f "$data/Configure/Readerset.dat"
quillon_start_xvfb 1024x600
"$program/bin/quillon" & reader=$!
window="$(wait_window)"
shoot refusal.png
xdotool windowfocus --sync "$window" key Return 2>/dev/null || xdotool key Return
for _ in $(seq 50); do kill -0 "$reader" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$reader" 2>/dev/null; then
  echo "the reader did not end after the refusal at 1024*600" >&2
  exit 1
fi
wait "$reader" 2>/dev/null || true; reader=""
if [ -e "$data/Configure/Readerset.dat" ]; then
  echo "the refused start wrote a settings file" >&2
  exit 1
fi
echo "at 1024*600 the reader showed its refusal and ended, writing nothing"
