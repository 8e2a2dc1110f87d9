#!/usr/bin/env bash
# Builds and opens a loop (the bundled demo loop unless a file is given): in
# the desktop program when there is a display, else as a printed analysis.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/build.sh
if [ $# -eq 0 ]; then
  if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec build/bin/quorvel examples/demo-loop.wav
  fi
  # The demo loop is two bars of 4/4.
  exec build/bin/quorvel-analyse examples/demo-loop.wav --bars 2
fi
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec build/bin/quorvel "$@"
fi
exec build/bin/quorvel-analyse "$@"
