#!/usr/bin/env bash
# Takes a screenshot of the program's main window on a virtual X display.
#
#   tools/screenshot.sh [PROGRAM] [OUTPUT]
#
# PROGRAM defaults to build/quelmora, OUTPUT to docs/screenshot.png (both
# relative to the source tree). Needs xvfb-run and ImageMagick (import,
# convert); uses xwininfo, when present, to find the window's area, and
# otherwise trims the empty screen around the window.
#
# Environment: SCREENSHOT_TIMEOUT (seconds to wait for the window, default
# 30), SCREENSHOT_SETTLE (seconds to let it paint, default 2),
# SCREENSHOT_KEYS (keys sent to the window first, with xdotool).
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
program="${1:-$root/build/quelmora}"
output="${2:-$root/docs/screenshot.png}"
timeout="${SCREENSHOT_TIMEOUT:-30}"
settle="${SCREENSHOT_SETTLE:-2}"

# Absolute paths: the program runs in a scratch directory.
case "$program" in /*) ;; *) program="$PWD/$program" ;; esac
case "$output" in /*) ;; *) output="$PWD/$output" ;; esac

if [ -z "${QUELMORA_SCREENSHOT_INNER:-}" ]; then
  if [ ! -x "$program" ]; then
    echo "screenshot: no executable program at $program (build it first)" >&2
    exit 1
  fi
  for tool in xvfb-run import convert; do
    command -v "$tool" >/dev/null || { echo "screenshot: $tool is missing" >&2; exit 1; }
  done
  mkdir -p "$(dirname "$output")"
  exec xvfb-run -a -s '-screen 0 1400x900x24' \
    env QUELMORA_SCREENSHOT_INNER=1 bash "$0" "$program" "$output"
fi

# ---- inside the virtual display ----------------------------------------
scratch="$(mktemp -d)"
pid=""
cleanup() {
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  fi
  rm -rf "$scratch"
}
trap cleanup EXIT

export QT_QPA_PLATFORM=xcb
(cd "$scratch" && exec "$program") >"$scratch/program.log" 2>&1 &
pid=$!

# Prints "WIDTHxHEIGHT+X+Y" of the program's largest viewable top-level window.
window_area() {
  command -v xwininfo >/dev/null || return 1
  local best="" best_area=0 id info w h x y
  for id in $(xwininfo -root -children 2>/dev/null | awk '/^ +0x/ {print $1}'); do
    info="$(xwininfo -id "$id" 2>/dev/null)" || continue
    grep -q 'Map State: IsViewable' <<<"$info" || continue
    w=$(awk '/^ +Width:/ {print $2}' <<<"$info")
    h=$(awk '/^ +Height:/ {print $2}' <<<"$info")
    x=$(awk '/Absolute upper-left X:/ {print $4}' <<<"$info")
    y=$(awk '/Absolute upper-left Y:/ {print $4}' <<<"$info")
    if [ "$((w * h))" -gt "$best_area" ] && [ "$w" -gt 50 ] && [ "$h" -gt 50 ]; then
      best_area=$((w * h))
      best="${w}x${h}+${x}+${y}"
    fi
  done
  [ -n "$best" ] && echo "$best"
}

# Whether anything but the empty (black) screen is shown.
screen_shows_something() {
  import -window root "$scratch/probe.png" 2>/dev/null || return 1
  [ "$(convert "$scratch/probe.png" -format '%[fx:maxima.intensity > 0 ? 1 : 0]' info:)" = 1 ]
}

area=""
deadline=$((SECONDS + timeout))
while [ "$SECONDS" -lt "$deadline" ]; do
  if ! kill -0 "$pid" 2>/dev/null; then
    echo "screenshot: the program ended before its window appeared:" >&2
    cat "$scratch/program.log" >&2
    exit 1
  fi
  if command -v xwininfo >/dev/null; then
    area="$(window_area || true)"
    [ -n "$area" ] && break
  elif screen_shows_something; then
    break
  fi
  sleep 0.5
done
if [ "$SECONDS" -ge "$deadline" ]; then
  echo "screenshot: no window after ${timeout}s" >&2
  exit 1
fi

sleep "$settle"
if [ -n "${SCREENSHOT_KEYS:-}" ]; then
  # Drive the program before the picture, e.g. "alt+b alt+w" for a wavelet
  # analysis of one signal.
  command -v xdotool >/dev/null || { echo "screenshot: SCREENSHOT_KEYS needs xdotool" >&2; exit 1; }
  win="$(xdotool search --onlyvisible --name QuelmoraDemo | head -n 1)"
  for key in $SCREENSHOT_KEYS; do
    # No window manager runs under Xvfb: give the window the focus directly.
    xdotool windowfocus --sync "$win" 2>/dev/null || true
    xdotool key "$key"
    sleep "$settle"
  done
fi
[ -n "$area" ] && area="$(window_area || echo "$area")"  # it may have been resized meanwhile

import -window root "$scratch/full.png"
if [ -n "$area" ]; then
  convert "$scratch/full.png" -crop "$area" +repage "$output"
else
  # No xwininfo: frame the screen in black and trim the black away.
  convert "$scratch/full.png" -bordercolor black -border 1 -trim +repage "$output"
fi
echo "screenshot: wrote $output ($(identify -format '%wx%h' "$output"))"
