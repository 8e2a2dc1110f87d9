#include "samplers/yamaha/A3000Version.h"

#include <memory>

#include "devices/midi/MIDIExceptions.h"
#include "devices/midi/MIDIInput.h"
#include "devices/midi/MIDIOutput.h"
#include "devices/midi/MIDIService.h"
#include "devices/midi/SysexMIDIInput.h"
#include "samplers/IdentityReply.h"
#include "samplers/yamaha/A3000Recognizer.h"

namespace quorvel {

bool ReadA3000Version(const CRegisteredMIDIInput& input, const CRegisteredMIDIOutput& output, uint8_t device,
                      CVersion& version, uint32_t timeoutMs)
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
            if (!reply || reply->deviceNumber != device)
                continue; // other traffic on the cable
            const std::optional<CVersion> read = A3000VersionFromIdentity(*reply);
            if (!read)
                return false;
            version = *read;
            return true;
        }
        if (MIDIClock().Milliseconds() >= deadline)
            throw XSysexTimedOut();
        ServiceAllMIDIInputs();
    }
}

} // namespace quorvel
