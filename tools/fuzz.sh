#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each (or the targets named
# after the seconds), one after the other, for the given number of seconds
# (default 60). A crash, leak, time-out or
# sanitizer report does not end a run: every target fuzzes for its whole time
# (fork mode, ignoring crashes), and what it found is kept in
# fuzz-artifacts/<target>/ and counted at the end. Corpora are kept in
# fuzz-corpus/<target>. Exit status 1 when any target found something.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
targets=(fuzz_sound_import fuzz_document_chunk fuzz_preferences)
[ $# -gt 1 ] && targets=("${@:2}")
tools/setup.sh fuzz
CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUORVEL_FUZZ=ON -DQUORVEL_SANITIZE=ON -DQUORVEL_BENCH=OFF >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target "${targets[@]}"
# Seed the import corpus with small real files (first byte: 0 AIFF, 1 WAV).
for target in "${targets[@]}"; do
  mkdir -p "fuzz-corpus/$target" "fuzz-artifacts/$target"
done
if [ -z "$(ls -A fuzz-corpus/fuzz_sound_import)" ]; then
  seeds=$(mktemp -d)
  sox -n -r 8000 -c 2 -b 16 "$seeds/s.wav" synth 0.02 sine 440
  sox -n -r 8000 -c 1 -b 16 "$seeds/m.aiff" synth 0.02 sine 440
  { printf '\x01'; cat "$seeds/s.wav"; } > fuzz-corpus/fuzz_sound_import/stereo-wav
  { printf '\x00'; cat "$seeds/m.aiff"; } > fuzz-corpus/fuzz_sound_import/mono-aiff
  rm -rf "$seeds"
fi
# A sanitizer report ends the process it happens in; in fork mode that is a
# child, and the parent starts the next one.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS="suppressions=$PWD/tools/lsan.supp"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
found=0
summary=()
for target in "${targets[@]}"; do
  echo "== $target: ${seconds}s"
  log="fuzz-artifacts/$target.log"
  before=$(mktemp)
  find "fuzz-artifacts/$target" -type f -printf '%f\n' | sort >"$before"
  set +e
  build-fuzz/bin/$target -fork=1 -ignore_crashes=1 -ignore_ooms=1 -ignore_timeouts=1 \
    -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=2048 -timeout=10 \
    -artifact_prefix="fuzz-artifacts/$target/" "fuzz-corpus/$target" >"$log" 2>&1
  status=$?
  set -e
  # The fork-mode status line: runs, coverage, corpus, crash counts, time.
  grep -E '^#[0-9]+: ' "$log" | tail -n 1 || tail -n 3 "$log"
  # Findings are named crash-, leak-, timeout-, oom- or slow-unit-<hash>.
  fresh=$(find "fuzz-artifacts/$target" -type f -printf '%f\n' | sort | comm -13 "$before" -)
  rm -f "$before"
  new=$(printf '%s' "$fresh" | grep -c . || true)
  kinds=$(printf '%s' "$fresh" | sed -E 's/-[0-9a-f]+$//' | sort | uniq -c | xargs)
  summary+=("$target: exit $status, $new new finding(s)${kinds:+ ($kinds)}")
  [ "$new" -gt 0 ] && found=1
done
echo "== summary (findings in fuzz-artifacts/<target>/, logs in fuzz-artifacts/<target>.log)"
printf '%s\n' "${summary[@]}"
exit "$found"
