#include "samplers/IdentityExchange.h"

#include <memory>
#include <optional>
#include <vector>

#include "devices/midi/MIDIExceptions.h"
#include "devices/midi/MIDIInput.h"
#include "devices/midi/MIDIOutput.h"
#include "devices/midi/MIDIService.h"
#include "devices/midi/RawSysex.h"
#include "devices/midi/SysexMIDIInput.h"

namespace quorvel {

SIdentityReply AskIdentity(const CRegisteredMIDIInput& input, const CRegisteredMIDIOutput& output, uint8_t device,
                           uint32_t timeoutMs)
{
    CSysexMIDIInput parser;
    const std::unique_ptr<CMIDIInput> listening = input.Open(parser);
    const std::unique_ptr<CMIDIOutput> sending = output.Open();
    if (!listening || !sending)
        throw XFailedOpeningMIDIPort();
    const std::vector<uint8_t> request = IdentityRequest(device);
    sending->SendBytes(request.data(), static_cast<int32_t>(request.size()));
    const uint64_t deadline = MIDIClock().Milliseconds() + timeoutMs;
    for (;;) {
        while (const std::unique_ptr<CRawSysex> message = parser.NextSysex()) {
            const std::optional<SIdentityReply> reply = ReadIdentityReply(*message);
            if (reply && reply->deviceNumber == device)
                return *reply;
        }
        if (MIDIClock().Milliseconds() >= deadline)
            throw XSysexTimedOut();
        ServiceAllMIDIInputs();
    }
}

} // namespace quorvel
