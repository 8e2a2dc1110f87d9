#!/usr/bin/env bash
# Takes the user manual's screenshots of the real program under Xvfb and
# writes them into docs/manual/. Needs xvfb, xdotool and imagemagick (not
# part of tools/setup.sh: only this script uses them).
set -euo pipefail
cd "$(dirname "$0")/.."
out=docs/manual
program=build/bin/quorvel
loop=examples/demo-loop.wav
display=:71
work=$(mktemp -d)
Xvfb "$display" -screen 0 1100x720x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
export DISPLAY=$display QT_QPA_PLATFORM=xcb
sleep 1

# A preferences file with the application chunk (the waveform look: 0 Plain,
# 1 3D, 2 Shaded; no questions at start, no open dialog) and two installed
# transmit destinations.
preferences() {
  python3 - "$1" "$2" <<'PY'
import struct, sys
folder, look = sys.argv[1], int(sys.argv[2])
parp = struct.pack('<BHHHBBHHBBBB', 1, 35453, 32114, 65535, 1, 1, 0, look, 1, 0, 50, 0)
def chunk(name, data):
    return name + struct.pack('>I', len(data)) + data + (b'\0' if len(data) % 2 else b'')
def field(text, size):
    return text.encode().ljust(size, b'\0')
# Two installed destinations, so that the Sampler Settings picture shows one.
def sampler(type_id, model, name):
    return (struct.pack('<BI', 1, type_id) + field(model, 32) + field('', 33) * 6 + bytes([0, 0]) +
            field(name, 41) + bytes(60) + bytes(5))
samplers = chunk(b'SPLR', sampler(1, 'New Window', 'Slices in windows')) + \
           chunk(b'SPLR', sampler(4100, 'AKAI S3000 via MIDI', 'Studio S3000'))
isrg = b'CAT ' + struct.pack('>I', len(samplers) + 4) + b'ISRG' + samplers
body = b'PREF' + chunk(b'PARP', parp) + isrg
open(folder + '/Quorvel Preferences.prf', 'wb').write(b'CAT ' + struct.pack('>I', len(body)) + body)
PY
}

# Starts the program on the demo loop (mixing its two channels), runs the
# given xdotool key sequences and saves the frame window as $1, or the
# window titled $TITLE when that is set (a dialog is a window of its own).
shot() {
  local name=$1 look=$2
  shift 2
  local run="$work/$name"
  mkdir -p "$run/config" "$run/runtime"
  preferences "$run/config" "$look"
  QUORVEL_CONFIG_DIR="$run/config" XDG_RUNTIME_DIR="$run/runtime" XDG_CONFIG_HOME="$run/xdg" \
    bash -c 'cd examples && exec "$0" "$1"' "$PWD/$program" "$PWD/$loop" >/dev/null 2>&1 &
  local pid=$!
  sleep 2
  xdotool key Return # "Mix"
  sleep 1
  # Without a window manager nothing activates the frame: a click does.
  xdotool mousemove 900 600 click 1
  sleep 0.3
  local frame
  frame=$(xdotool search --onlyvisible --name '^Quorvel' | head -n 1)
  for keys in "$@"; do
    if [ "${keys%% *}" = click ]; then
      xdotool mousemove ${keys#click } click 1
      sleep 1
      continue
    fi
    if [ "$keys" = maximise ]; then
      # A double click on the document window's title bar.
      eval "$(xdotool getwindowgeometry --shell "$frame")"
      xdotool mousemove $((X + 200)) $((Y + 33)) click --repeat 2 --delay 80 1
      sleep 0.6
      continue
    fi
    # shellcheck disable=SC2086
    xdotool $keys
    sleep 0.6
  done
  local window=${frame:-root}
  if [ -n "${TITLE:-}" ]; then
    window=$(xdotool search --onlyvisible --name "^$TITLE\$" | head -n 1)
  fi
  import -window "${window:-root}" "$out/$name.png"
  kill -9 "$pid" 2>/dev/null || true # it would ask to save the document
  wait "$pid" 2>/dev/null || true
}

# The sampler chapter: an emulated E-mu E4K on the Loopback SCSI bus, found
# by the search the program offers when no sampler is installed, the demo
# loop transmitted to it and a slice received back into a window. Each
# dialog is titled like the frame, so the newest window of that title is
# the one taken.
sampler_shots() {
  local run="$work/samplers"
  mkdir -p "$run/config" "$run/runtime"
  QUORVEL_EMULATED_SAMPLERS=5121 QUORVEL_CONFIG_DIR="$run/config" XDG_RUNTIME_DIR="$run/runtime" \
    XDG_CONFIG_HOME="$run/xdg" bash -c 'cd examples && exec "$0" "$1"' "$PWD/$program" "$PWD/$loop" >/dev/null 2>&1 &
  local pid=$!
  newest() { xdotool search --onlyvisible --name "^$1\$" | tail -n 1; }
  sleep 2
  xdotool key Return # "No samplers installed!": Yes, search
  sleep 2
  import -window "$(newest 'Sampler Found')" "$out/sampler-found.png"
  xdotool key Return # add it
  sleep 2
  xdotool key Return # the demo loop's "Mix"
  sleep 1
  xdotool mousemove 900 600 click 1
  sleep 0.3
  xdotool key 6
  xdotool mousemove 160 134 click 1 # Bars: 2, so the tempo reads
  sleep 0.3
  xdotool key End BackSpace BackSpace BackSpace
  xdotool type 2
  xdotool key Return
  sleep 0.5
  xdotool mousemove 206 57 click 1 # Sampler
  sleep 0.8
  xdotool mousemove 300 78 click 1 # Transmit to ...
  sleep 1.5
  import -window "$(newest Quorvel)" "$out/sampler-transmit.png"
  xdotool key Return
  sleep 3
  xdotool mousemove 206 57 click 1
  sleep 0.8
  xdotool mousemove 300 100 click 1 # Receive from ...
  sleep 2.5
  import -window "$(newest Quorvel)" "$out/sampler-receive.png"
  xdotool key Return # the first slice
  sleep 2.5
  import -window "$(xdotool search --onlyvisible --name '^Quorvel' | head -n 1)" "$out/sampler-received.png"
  kill -9 "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}

# The loop as a musician has it: its two bars typed, so the tempo reads
# (typed last: the field keeps the keyboard afterwards; Ctrl+A there selects
# the slices, as everywhere in the window, so the old text is deleted).
bars_small=("click 160 134" "key End BackSpace BackSpace BackSpace" "type 2" "key Return")
bars_full=("click 155 110" "key End BackSpace BackSpace BackSpace" "type 2" "key Return")
if [ "${1:-}" = samplers ]; then
  sampler_shots
  echo "sampler screenshots written to $out"
  exit 0
fi
shot window-full 2 maximise "key 6" "${bars_full[@]}"
shot window-small 2 "key 6" "${bars_small[@]}"
shot window-zoomed 2 "key 6" "key ctrl+equal" "key ctrl+equal" "key ctrl+equal" "key ctrl+equal" "${bars_small[@]}"
shot style-plain 0 "key 6" "key ctrl+equal" "${bars_small[@]}"
shot style-3d 1 "key 6" "key ctrl+equal" "${bars_small[@]}"
shot style-shaded 2 "key 6" "key ctrl+equal" "${bars_small[@]}"
# The dialog starts in the program's folder (examples/, holding only the
# demo loop); its first row is clicked where it stands on this screen size.
TITLE="Open Sound File" shot open-dialog 2 "key ctrl+o" "click 400 184"
# The Edit menu's title, then its items from the bottom.
TITLE=Preferences shot preferences 2 "click 155 57" "key Up Up Return"
TITLE="Sampler Settings" shot sampler-settings 2 "click 155 57" "key Up Return" "key Down"
sampler_shots
echo "screenshots written to $out"
