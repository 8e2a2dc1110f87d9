#include "samplers/yamaha/A3000Version.h"

#include <optional>

#include "samplers/IdentityExchange.h"
#include "samplers/yamaha/A3000Recognizer.h"

namespace quorvel {

bool ReadA3000Version(const CRegisteredMIDIInput& input, const CRegisteredMIDIOutput& output, uint8_t device,
                      CVersion& version, uint32_t timeoutMs)
{
    const std::optional<CVersion> read = A3000VersionFromIdentity(AskIdentity(input, output, device, timeoutMs));
    if (!read)
        return false;
    version = *read;
    return true;
}

} // namespace quorvel
