#!/usr/bin/env bash
# Builds the Debian package of the reader (build/quillon_VERSION_ARCH.deb) with CPack: the reader
# in /usr/bin, its pictures in /usr/share/quillon, the desktop entry and the icons.
#   tools/package.sh [OUTPUT_DIR]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

quillon_install "${QUILLON_PACKAGES[@]}"
quillon_build --target quillon
out="$(realpath -m "${1:-$QUILLON_BUILD}")"
mkdir -p "$out"
(cd "$QUILLON_BUILD" && cpack -G DEB -B "$out" >/dev/null)
rm -rf "$out/_CPack_Packages"
ls "$out"/quillon_*.deb
