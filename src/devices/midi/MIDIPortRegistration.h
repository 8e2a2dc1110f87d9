#pragma once
// The MIDI ports a process registers at start-up, in the desktop program and
// the command-line tool alike: every hardware port of the platform (ALSA raw
// MIDI) and, when a JACK server answers, the other JACK clients' MIDI ports.
// Emulated samplers add their Loopback ports to the same lists.
#include "devices/midi/RegisteredMIDIPorts.h"

namespace quorvel {

CMIDIPortLists RegisterMIDIPorts();

} // namespace quorvel
