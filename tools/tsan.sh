#!/usr/bin/env bash
# Builds the playback tests with ThreadSanitizer and runs them: the audio
# thread and the interface thread share the player and the channels.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORVEL_TSAN=ON -DQUORVEL_BENCH=OFF >/dev/null
cmake --build build-tsan -j"$(nproc)" --target test_playback
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" build-tsan/bin/test_playback
