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
source "$(dirname "${BASH_SOURCE[0]}")/e2e_common.sh"
e2e_require Xvfb xdotool cpack dpkg-deb dpkg-shlibdeps
e2e_begin
work="$scratch"

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

e2e_start_display 170

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
leave() {
  click_toolbar "$main" 11  # 退出阅读
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
