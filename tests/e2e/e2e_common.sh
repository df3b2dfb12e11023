# What the end-to-end runs share, sourced by each: the tools they need, a scratch folder and an
# X display of their own that go when the run ends, and clicks placed in twips as the forms are.
# After e2e_begin: `scratch` is the folder, `reader` the pid of the reader to end with the run.

# Skips the run (exit 77, which CTest counts as skipped) unless every tool named is installed.
e2e_require() {
  local tool
  for tool in "$@"; do
    if ! command -v "$tool" >/dev/null; then
      echo "e2e skipped: $tool is not installed (the README's test command installs it)"
      exit 77
    fi
  done
}

e2e_cleanup() {
  [ -n "$reader" ] && kill "$reader" 2>/dev/null || true
  # The reader keeps the place read as it ends: its folder is removed once it has.
  for _ in $(seq 50); do
    [ -n "$reader" ] && kill -0 "$reader" 2>/dev/null || break
    sleep 0.1
  done
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$scratch"
}

e2e_begin() {
  scratch="$(mktemp -d)"
  xvfb=""
  reader=""
  trap e2e_cleanup EXIT
}

fail() {
  echo "e2e FAILED: $*" >&2
  # A picture of the screen at the failure, when asked for.
  if [ -n "${E2E_SHOT:-}" ] && command -v import >/dev/null; then import -window root "$E2E_SHOT"; fi
  exit 1
}

# Starts Xvfb (1024*768, or the size given as $2) on the first free display from $1 on, and points
# DISPLAY at it; a display started before is stopped first.
e2e_start_display() {
  local display=$1
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null || true
  while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
  Xvfb ":$display" -screen 0 "${2:-1024x768}x24" -nolisten tcp -noreset >/dev/null 2>&1 &
  xvfb=$!
  export DISPLAY=":$display"
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
}

# Clicks at a point of the window's inside given in twips (15 to the pixel, each pixel drawn
# $e2e_scale screen pixels wide when the reader fills a larger screen).
e2e_scale=1
click_twips() {
  eval "$(xdotool getwindowgeometry --shell "$1" | grep -E '^(X|Y)=')"
  xdotool mousemove --sync "$(awk -v o="$X" -v t="$2" -v s="$e2e_scale" 'BEGIN { printf "%d", o + t / 15 * s }')" \
    "$(awk -v o="$Y" -v t="$3" -v s="$e2e_scale" 'BEGIN { printf "%d", o + t / 15 * s }')" click 1
}

# Clicks toolbar button n (numbered from 1, separators included): the toolbar starts its buttons
# 45 twips from the left, each 810 twips wide and each separator 90, along a bar 705 twips high.
click_toolbar() {
  local x=45 i
  for ((i = 1; i < $2; i++)); do
    case $i in 5 | 8 | 10 | 12) x=$((x + 90)) ;; *) x=$((x + 810)) ;; esac
  done
  click_twips "$1" $((x + 405)) 352
}
