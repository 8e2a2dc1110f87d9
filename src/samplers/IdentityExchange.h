#pragma once
// Asking one sampler on its own ports who it is: the Identity Request out,
// then the first identity reply from that device number back.
#include <cstdint>

#include "devices/midi/RegisteredMIDIPorts.h"
#include "samplers/IdentityReply.h"

namespace quorvel {

// Other traffic on the cable is passed over. XFailedOpeningMIDIPort when a
// port does not open; XSysexTimedOut when no reply comes within `timeoutMs`.
SIdentityReply AskIdentity(const CRegisteredMIDIInput& input, const CRegisteredMIDIOutput& output, uint8_t device,
                           uint32_t timeoutMs);

} // namespace quorvel
