#!/usr/bin/env bash
# Builds and examines a loop (the bundled demo loop unless a file is given).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/build.sh
if [ $# -eq 0 ]; then
  # The demo loop is two bars of 4/4.
  exec build/bin/quorvel-analyse examples/demo-loop.wav --bars 2
fi
exec build/bin/quorvel-analyse "$@"
