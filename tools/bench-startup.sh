#!/usr/bin/env bash
# Start-up time of the desktop program against a bare Qt window, both on Qt's
# offscreen platform, from launch until the frame window is on screen.
# Usage: tools/bench-startup.sh [build-dir] [runs]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
runs="${2:-30}"
cmake --build "$build" --target quorvel bench_bare_window >/dev/null

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
mkdir -m 700 "$scratch/run"
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$scratch/run" XDG_CONFIG_HOME="$scratch/config"
quorvel="$build/bin/quorvel --quit-after-start"
bare="$build/bin/bench_bare_window"

if command -v hyperfine >/dev/null; then
  hyperfine --warmup 3 --runs "$runs" --export-json "$scratch/times.json" "$bare" "$quorvel" 2>/dev/null
  mapfile -t means < <(grep -o '"mean": [0-9.e-]*' "$scratch/times.json" | awk '{print $2 * 1000}')
else
  means=()
  for command in "$bare" "$quorvel"; do
    $command 2>/dev/null
    start=$(date +%s%N)
    for _ in $(seq "$runs"); do $command 2>/dev/null; done
    means+=("$(( ($(date +%s%N) - start) / runs / 1000 ))e-3")
  done
fi
awk -v bare="${means[0]}" -v quorvel="${means[1]}" 'BEGIN {
  printf "bare Qt window: %.1f ms\nquorvel:        %.1f ms\nratio:          %.2f\n", bare, quorvel, quorvel / bare }'
