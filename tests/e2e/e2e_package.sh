#!/usr/bin/env bash
# The reader as a Linux user gets it: the Debian package built from this build folder, unpacked
# into a temporary root (no change to the system), run under Xvfb with HOME in a temporary folder.
# A book given on the command line opens at once; Right turns to page 2 and "退出阅读" leaves it;
# the settings and both records must be in ~/.local/share/quillon and nothing beside the program.
# A second start with the same book resumes on page 2, which leaving again stores once more.
#   e2e_package.sh BUILD_DIR BOOK
set -euo pipefail

build="$(realpath "$1")"
book="$(realpath "$2")"
for tool in Xvfb xdotool cpack dpkg-deb dpkg-shlibdeps; do
  if ! command -v "$tool" >/dev/null; then
    echo "e2e skipped: $tool is not installed (the README's test command installs it)"
    exit 77
  fi
done

work="$(mktemp -d)"
xvfb=""
reader=""
cleanup() {
  [ -n "$reader" ] && kill "$reader" 2>/dev/null || true
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "e2e FAILED: $*" >&2
  exit 1
}

(cd "$build" && cpack -G DEB -B "$work/deb" >/dev/null) || fail "cpack could not build the package"
deb="$(ls "$work"/deb/quillon_*.deb)"
dpkg-deb -x "$deb" "$work/root"
[ -x "$work/root/usr/bin/quillon" ] || fail "the package has no /usr/bin/quillon"
[ -f "$work/root/usr/share/applications/quillon.desktop" ] || fail "the package has no desktop entry"
[ -f "$work/root/usr/share/icons/hicolor/256x256/apps/quillon.png" ] || fail "the package has no icon"
grep -qx 'Exec=quillon %f' "$work/root/usr/share/applications/quillon.desktop" ||
  fail "the desktop entry does not pass the file to the reader"

export HOME="$work/home"
unset XDG_DATA_HOME
mkdir -p "$HOME"
data="$HOME/.local/share/quillon"

display=170
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=":$display"
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done

title="Quillon-[$(basename "$book" | sed 's/....$//')]"
# Starts the packaged reader with the book and waits for its window to carry the book's title.
start_with_book() {
  "$work/root/usr/bin/quillon" "$book" >/dev/null 2>&1 &
  reader=$!
  main=""
  for _ in $(seq 100); do
    main="$(xdotool search --all --onlyvisible --pid "$reader" 2>/dev/null | head -n 1 || true)"
    [ -n "$main" ] && [ "$(xdotool getwindowname "$main" 2>/dev/null)" = "$title" ] && return 0
    sleep 0.1
  done
  fail "the reader did not open '$book' from the command line"
}
# "退出阅读", toolbar button 11: 45 twips in, after seven buttons of 810 twips and three separators of 90.
leave() {
  eval "$(xdotool getwindowgeometry --shell "$main" | grep -E '^(X|Y)=')"
  xdotool mousemove --sync $((X + (45 + 7 * 810 + 3 * 90 + 405) / 15)) $((Y + 352 / 15)) click 1
  for _ in $(seq 100); do kill -0 "$reader" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$reader" 2>/dev/null && fail "the reader did not end after 退出阅读"
  reader=""
}
expect_page() {
  printf '"%s",%s\r\n' "$book" "$1" | cmp -s - "$data/Bookmark/Lastread.dat" ||
    fail "$2: Lastread.dat holds '$(cat -v "$data/Bookmark/Lastread.dat" 2>/dev/null)'"
}

start_with_book
sleep 0.5
xdotool windowfocus --sync "$main" 2>/dev/null || true
xdotool key Right
sleep 0.8
leave
[ -f "$data/Configure/Readerset.dat" ] || fail "no settings file in $data"
expect_page 1 "after turning to page 2"
[ "$(wc -l < "$data/Bookmark/Readrecord.dat")" -eq 20 ] || fail "the history is not 20 lines"
leftovers="$(find "$work/root" -name Readerset.dat -o -name Bookmark)"
[ -z "$leftovers" ] || fail "the reader wrote beside the installed program: $leftovers"

start_with_book
sleep 0.8
leave
expect_page 1 "after resuming from the history"
echo "e2e passed: the package opened '$book' from the command line, kept its records in $data and resumed it"
