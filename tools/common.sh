# Shared by the set-up scripts: install what is missing and build. Sourced, not run.

QUILLON_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
QUILLON_BUILD="$QUILLON_ROOT/build"

# What the reader needs to build, test and show Chinese text, and to read it aloud, on Debian 12.
# (qt6-declarative-dev only for a header the speech library's own header includes.)
QUILLON_PACKAGES=(
  g++ make cmake
  qt6-base-dev qt6-base-private-dev qt6-translations-l10n libopencc-dev
  qt6-speech-dev qt6-declarative-dev qt6-speech-speechd-plugin
  speech-dispatcher speech-dispatcher-espeak-ng
  libgtest-dev libbenchmark-dev libx11-dev libxdamage-dev
  fonts-noto-cjk fonts-arphic-ukai fonts-liberation2 fonts-dejavu-core
  xvfb xauth xdotool opencc
  dpkg-dev desktop-file-utils
)

# What the checks beyond the test suite need: clang and its runtimes for the fuzz targets; a sound
# server with a sink nobody hears, and a way to look at the screen, for the reading-aloud run.
QUILLON_CHECK_PACKAGES=(clang libclang-rt-14-dev pulseaudio pulseaudio-utils imagemagick)

quillon_install() {
  local missing=()
  local package
  for package in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$package")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  echo "Installing: ${missing[*]}"
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

quillon_build() {
  if [ ! -f "$QUILLON_BUILD/CMakeCache.txt" ]; then
    cmake -S "$QUILLON_ROOT" -B "$QUILLON_BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLON_WERROR=ON
  fi
  cmake --build "$QUILLON_BUILD" -j "$(nproc)" "$@"
}

# Starts Xvfb on a free display at the given size and sets DISPLAY; the caller stops it with
# quillon_stop_xvfb.
quillon_start_xvfb() {
  local size="$1" display=90
  while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
  # -noreset: the server must not restart between one run of the reader and the next.
  Xvfb ":$display" -screen 0 "${size}x24" -nolisten tcp -noreset >/dev/null 2>&1 &
  QUILLON_XVFB_PID=$!
  export DISPLAY=":$display"
  local tries=0
  until [ -e "/tmp/.X11-unix/X$display" ] || [ $tries -ge 50 ]; do sleep 0.1; tries=$((tries + 1)); done
}

quillon_stop_xvfb() {
  if [ -n "${QUILLON_XVFB_PID:-}" ]; then
    kill "$QUILLON_XVFB_PID" 2>/dev/null || true
    wait "$QUILLON_XVFB_PID" 2>/dev/null || true
    QUILLON_XVFB_PID=""
  fi
}
