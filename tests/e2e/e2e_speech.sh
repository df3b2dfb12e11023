#!/usr/bin/env bash
# Reading aloud with the real speech service: PulseAudio with a null sink, speech-dispatcher started
# by the reader itself with espeak-ng's Mandarin voice. F5 on a page of the book makes a playback
# stream appear on the sink and sound come out of it, with the sentence being read marked on the
# page; Esc makes the sink silent again and takes the mark away. (speech-dispatcher keeps its
# stream open once it has one, so the end is heard, not seen in the list of streams.)
#   e2e_speech.sh QUILLON_EXECUTABLE BOOK
set -euo pipefail

executable="$1"
book="$(realpath "$2")"
source "$(dirname "${BASH_SOURCE[0]}")/e2e_common.sh"
e2e_require Xvfb xdotool pulseaudio pactl parec speech-dispatcher import convert
e2e_begin

build="$(dirname "$executable")"
program="$scratch/program"
mkdir -p "$program/Configure" "$program/Icosource"
cp "$executable" "$program/quillon"
cp "$build"/Configure/*.jpg "$program/Configure/"
cp "$build"/Icosource/* "$program/Icosource/"

# The sound server and the speech service of this run only, under its own runtime folder.
export XDG_RUNTIME_DIR="$scratch/run" HOME="$scratch/home"
mkdir -p "$XDG_RUNTIME_DIR" "$HOME"
chmod 700 "$XDG_RUNTIME_DIR"
pulseaudio --daemonize=no -n --exit-idle-time=-1 --load="module-null-sink sink_name=quiet" \
  --load="module-native-protocol-unix" >/dev/null 2>&1 &
pulse=$!
stop_services() {
  [ -f "$XDG_RUNTIME_DIR/speech-dispatcher/pid/speech-dispatcher.pid" ] &&
    kill "$(cat "$XDG_RUNTIME_DIR/speech-dispatcher/pid/speech-dispatcher.pid")" 2>/dev/null || true
  kill "$pulse" 2>/dev/null || true
  e2e_cleanup
}
trap stop_services EXIT
for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
pactl info >/dev/null 2>&1 || fail "PulseAudio did not start"
pactl set-default-sink quiet

e2e_start_display 190

# The speech service's client library reads its list of voices (thousands, with espeak-ng's
# variants) with a strstr from each line to the end of the reply; the sanitizer's checked strstr
# measures that rest every time, which makes the list take minutes in a sanitized build.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}intercept_strstr=0"

# The loudest sample on the sink over a second.
loudness() {
  timeout 1 parec -d quiet.monitor --raw --format=s16le --channels=1 --rate=8000 2>/dev/null |
    od -An -v -td2 | awk '{ for (i = 1; i <= NF; i++) { v = $i < 0 ? -$i : $i; if (v > m) m = v } } END { print m + 0 }'
}
# How many pixels of the screen have the colour found text and the sentence read are marked on.
marked_pixels() {
  import -window root png:- | convert - -fill black +opaque "rgb(255,214,80)" -fill white -opaque "rgb(255,214,80)" \
    -format "%[fx:round(mean*w*h)]" info:
}

[ "$(pactl list short sink-inputs | wc -l)" -eq 0 ] || fail "the sink has a stream before the reader speaks"
"$program/quillon" "$book" >/dev/null 2>&1 &
reader=$!
main=""
for _ in $(seq 100); do
  main="$(xdotool search --all --onlyvisible --pid "$reader" 2>/dev/null | head -n 1 || true)"
  [ -n "$main" ] && [ "$(xdotool getwindowname "$main" 2>/dev/null)" != "Quillon" ] && break
  sleep 0.1
done
[ -n "$main" ] || fail "the reader's window did not appear"
sleep 0.5
[ "$(marked_pixels)" -eq 0 ] || fail "something is marked before reading"
xdotool windowfocus --sync "$main" 2>/dev/null || true
xdotool key F5

# The service may have to start first: some seconds.
heard=0
for _ in $(seq 30); do
  if [ "$(pactl list short sink-inputs | wc -l)" -gt 0 ] && [ "$(loudness)" -gt 1000 ]; then
    heard=1
    break
  fi
  sleep 0.5
done
[ "$heard" -eq 1 ] || fail "F5 made no sound on the sink"
[ "$(marked_pixels)" -gt 100 ] || fail "the sentence being read is not marked"

xdotool key Escape
sleep 1
[ "$(loudness)" -eq 0 ] || fail "the sink still sounds after Esc"
[ "$(marked_pixels)" -eq 0 ] || fail "the mark stayed after Esc"

echo "e2e passed: F5 read the page aloud through speech-dispatcher into PulseAudio, marked, and Esc stopped it"
