#!/usr/bin/env bash
# Rebuilds examples/demo-loop.wav from the synthetic drum-loop generator.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/build.sh
build/bin/make-demo-loop examples/demo-loop.wav
