#!/usr/bin/env bash
# Starts the desktop program under a virtual X server with the given
# arguments, waits until it has settled, optionally sends keys to it, and
# saves a PNG of the whole screen.
#
#   scripts/screenshot.sh OUT.png [ARGS...]
#
# Environment:
#   KORVANE   the program (default: build/release/korvane)
#   WAIT      seconds to wait after the start (default 3)
#   KEYS      xdotool key names to press after the wait, e.g. "ctrl+v"
#   SIZE      screen size (default 1280x800)
set -euo pipefail

if [ $# -lt 1 ]; then
  echo "usage: $0 OUT.png [ARGS...]" >&2
  exit 2
fi
out=$(realpath -m "$1")
shift
program=${KORVANE:-build/release/korvane}
wait_seconds=${WAIT:-3}
keys=${KEYS:-}
size=${SIZE:-1280x800}

if [ ! -x "$program" ]; then
  echo "$0: no program at $program (set KORVANE)" >&2
  exit 1
fi

if [ "${KORVANE_SCREENSHOT_INNER:-}" != 1 ]; then
  # Again, inside a virtual X server of its own.
  KORVANE_SCREENSHOT_INNER=1 KORVANE="$program" exec xvfb-run -a -s "-screen 0 ${size}x24" "$0" "$out" "$@"
fi

# A settings folder of its own, so that the user's settings (and desktop
# registrations) stay untouched.
config=$(mktemp -d)
trap 'rm -rf "$config"' EXIT
XDG_CONFIG_HOME="$config" XDG_DATA_HOME="$config/data" QT_QPA_PLATFORM=xcb "$program" "$@" &
pid=$!
sleep "$wait_seconds"
if [ -n "$keys" ]; then
  # Without a window manager nobody gives the main window the focus.
  xdotool search --name '^Korvane' windowfocus --sync 2>/dev/null || true
  sleep 1
  for key in $keys; do
    xdotool key "$key"
    sleep 1
  done
fi
import -window root "$out"
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
echo "saved $out"
