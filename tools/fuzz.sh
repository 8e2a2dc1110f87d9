#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for the given number
# of seconds (default 60). Corpora are kept in fuzz-corpus/<target>.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
tools/setup.sh fuzz
CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUORVEL_FUZZ=ON -DQUORVEL_SANITIZE=ON -DQUORVEL_BENCH=OFF >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target fuzz_sound_import fuzz_document_chunk fuzz_preferences
# Seed the import corpus with small real files (first byte: 0 AIFF, 1 WAV).
mkdir -p fuzz-corpus/fuzz_sound_import fuzz-corpus/fuzz_document_chunk fuzz-corpus/fuzz_preferences
if [ -z "$(ls -A fuzz-corpus/fuzz_sound_import)" ]; then
  seeds=$(mktemp -d)
  sox -n -r 8000 -c 2 -b 16 "$seeds/s.wav" synth 0.02 sine 440
  sox -n -r 8000 -c 1 -b 16 "$seeds/m.aiff" synth 0.02 sine 440
  { printf '\x01'; cat "$seeds/s.wav"; } > fuzz-corpus/fuzz_sound_import/stereo-wav
  { printf '\x00'; cat "$seeds/m.aiff"; } > fuzz-corpus/fuzz_sound_import/mono-aiff
  rm -rf "$seeds"
fi
for target in fuzz_sound_import fuzz_document_chunk fuzz_preferences; do
  echo "== $target: ${seconds}s"
  build-fuzz/bin/$target -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=2048 \
    "fuzz-corpus/$target" 2>&1 | tail -n 3
done
