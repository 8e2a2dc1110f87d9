#pragma once
// The groove as the track file embeds it: the note track of a groove MIDI
// file rewritten with absolute times and explicit note-offs.
#include <cstdint>
#include <vector>

#include "fileformats/FormatExceptions.h"

namespace quorvel {

// The groove could not be converted (a status the track file cannot hold,
// or MIDI data cut short).
QUORVEL_EXCEPTION(XMixmanGroove, XBase);

// Takes the second track of a Standard MIDI File without its end-of-track
// event. Every event gets its absolute tick count as a variable-length
// quantity and its status byte; a note-on of velocity 0 becomes a note-off
// of velocity 100.
std::vector<uint8_t> ConvertMixmanGroove(const std::vector<uint8_t>& midiFile);

} // namespace quorvel
