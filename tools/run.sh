#!/usr/bin/env bash
# Installs what is missing, builds, and starts the reader, passing on its arguments
# (tools/run.sh [--screen WxH] [BOOK]). Without a display it starts the reader on a virtual
# 1024*768 screen, so the program still runs.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

quillon_install "${QUILLON_PACKAGES[@]}"
quillon_build --target quillon

if [ -z "${DISPLAY:-}" ]; then
  quillon_start_xvfb 1024x768
  trap quillon_stop_xvfb EXIT
  echo "No display found: the reader runs on a virtual 1024*768 screen (Xvfb, DISPLAY=$DISPLAY)."
fi
"$QUILLON_BUILD/quillon" "$@"
