#!/bin/bash
# The round trip of one sample dump packet and its ACK over JACK MIDI between
# two processes: starts a dummy JACK server at PERIOD frames (default 256,
# 44100 Hz) and quorvel-sampler-emulator --model sds, then times PACKETS
# packets (default 500) from this side. Usage: bench-jack-midi.sh [BUILD] [PERIOD] [PACKETS]
set -euo pipefail
build=${1:-build}
period=${2:-256}
packets=${3:-500}
export JACK_DEFAULT_SERVER=quorvel-bench-$$
export JACK_NO_AUDIO_RESERVATION=1
jackd -n "$JACK_DEFAULT_SERVER" -d dummy -r 44100 -p "$period" >/dev/null 2>&1 &
server=$!
emulator=
out=$(mktemp)
finish() {
    [ -n "$emulator" ] && kill "$emulator" 2>/dev/null && wait "$emulator" 2>/dev/null
    # Stopped in order, the server frees its entry in the table of servers.
    kill "$server" 2>/dev/null && wait "$server" 2>/dev/null
    rm -f "$out"
}
trap finish EXIT
for _ in $(seq 50); do jack_lsp >/dev/null 2>&1 && break; sleep 0.2; done
"$build/bin/quorvel-sampler-emulator" --model sds >"$out" &
emulator=$!
for _ in $(seq 50); do grep -q '^ready:' "$out" && break; sleep 0.1; done
echo "period $period frames at 44100 Hz ($(awk "BEGIN{printf \"%.2f\", $period*1000/44100}") ms)"
"$build/bin/bench_jack_sds_round_trip" "$packets"
