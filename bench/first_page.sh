#!/usr/bin/env bash
# The first page as a user waits for it: builds the reader and bench/first_page.cpp, installs a
# fresh copy of the reader (its settings and records in a folder of their own), starts Xvfb at
# 1024*768 and runs first_page on a generated 100 MB GBK book and on 西游记 (1.4 MB):
#   bench/first_page.sh [ROUNDS [COMMIT]]   (5 rounds by default; a round takes some seconds)
# With a COMMIT, that version of the reader is built too (in the temporary folder, some minutes
# the first time) and run alternately with this one, as the baseline.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../tools/common.sh"

quillon_install "${QUILLON_PACKAGES[@]}"
quillon_build --target quillon first_page open_book

books="${TMPDIR:-/tmp}/quillon-bench"
large="$books/book-100mb.gbk.txt"
mkdir -p "$books"
[ -f "$large" ] || "$QUILLON_BUILD/bench/open_book" --make "$large" 100

program="$(mktemp -d)"
cleanup() {
  quillon_stop_xvfb
  rm -rf "$program"
}
trap cleanup EXIT
cmake --install "$QUILLON_BUILD" --prefix "$program" >/dev/null
baseline=()
if [ -n "${2:-}" ]; then
  commit="$(git -C "$QUILLON_ROOT" rev-parse --short "$2")"
  source_dir="$books/baseline-$commit"
  if [ ! -d "$source_dir" ]; then
    mkdir -p "$source_dir"
    git -C "$QUILLON_ROOT" archive "$commit" | tar -x -C "$source_dir"
  fi
  cmake -S "$source_dir" -B "$source_dir/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$source_dir/build" -j "$(nproc)" --target quillon >/dev/null
  cmake --install "$source_dir/build" --prefix "$program/baseline" >/dev/null
  baseline=("$program/baseline/bin/quillon")
fi
export XDG_DATA_HOME="$program/data" XDG_RUNTIME_DIR="$program/run"
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
quillon_start_xvfb 1024x768
"$QUILLON_BUILD/bench/first_page" "$program/bin/quillon" "$large" \
  "$QUILLON_ROOT/tests/data/books/xiyouji.gbk.txt" "${1:-5}" "${baseline[@]}"
