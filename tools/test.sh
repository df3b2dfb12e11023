#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the whole suite, the whole suite again
# built with AddressSanitizer and UndefinedBehaviorSanitizer, and each fuzz target for a bounded
# time (QUILLON_FUZZ_SECONDS, 20 by default).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

quillon_install "${QUILLON_PACKAGES[@]}" "${QUILLON_CHECK_PACKAGES[@]}"

echo "== the test suite"
quillon_build
(cd "$QUILLON_BUILD" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)")

echo "== the test suite under AddressSanitizer and UndefinedBehaviorSanitizer"
sanitized="$QUILLON_ROOT/build-asan"
if [ ! -f "$sanitized/CMakeCache.txt" ]; then
  cmake -S "$QUILLON_ROOT" -B "$sanitized" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLON_SANITIZE=ON \
    -DQUILLON_BUILD_BENCH=OFF -DQUILLON_WERROR=ON >/dev/null
fi
cmake --build "$sanitized" -j "$(nproc)"
(cd "$sanitized" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)")

echo "== fuzzing, ${QUILLON_FUZZ_SECONDS:-20} s a target"
fuzz="$QUILLON_ROOT/build-fuzz"
if [ ! -f "$fuzz/CMakeCache.txt" ]; then
  CC=clang CXX=clang++ cmake -S "$QUILLON_ROOT" -B "$fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQUILLON_FUZZ=ON -DQUILLON_BUILD_TESTS=OFF -DQUILLON_BUILD_BENCH=OFF >/dev/null
fi
cmake --build "$fuzz" -j "$(nproc)" --target quillon_fuzzers
for target in "$fuzz"/fuzz/*_fuzz; do
  name="$(basename "$target" _fuzz)"
  # New inputs go to a scratch folder; the seeds in the repository are only read.
  scratch="$(mktemp -d)"
  log="$scratch/log"
  if ! (cd "$scratch" && "$target" -max_total_time="${QUILLON_FUZZ_SECONDS:-20}" -print_final_stats=1 \
        "$scratch" "$QUILLON_ROOT/fuzz/corpus/$name" >"$log" 2>&1); then
    cat "$log"
    echo "fuzzing $name found a failure; the input is in $scratch"
    exit 1
  fi
  echo "$name: $(grep -oE 'number_of_executed_units: [0-9]+' "$log" | grep -oE '[0-9]+') executions, nothing found"
  rm -rf "$scratch"
done
