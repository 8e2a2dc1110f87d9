#pragma once
// Reading an A3000's operating-system version over MIDI: the identity
// request for its device number, and the version its reply carries.
#include <cstdint>

#include "devices/midi/RegisteredMIDIPorts.h"
#include "fileformats/PreferenceObjects.h"

namespace quorvel {

// How long the A3000 has to answer.
constexpr uint32_t kA3000IdentityTimeoutMs = 1000;

// True with the version when an A3000 answered for `device`; false when
// something else did. XSysexTimedOut when nothing answered in time (on
// MIDIClock()); XFailedOpeningMIDIPort when a port cannot be opened.
bool ReadA3000Version(const CRegisteredMIDIInput& input, const CRegisteredMIDIOutput& output, uint8_t device,
                      CVersion& version, uint32_t timeoutMs = kA3000IdentityTimeoutMs);

} // namespace quorvel
