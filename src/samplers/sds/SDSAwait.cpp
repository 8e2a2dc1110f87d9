#include "samplers/sds/SDSAwait.h"

#include <algorithm>

#include "devices/midi/MIDIExceptions.h"
#include "devices/midi/MIDIService.h"
#include "devices/midi/SysexConnection.h"
#include "samplers/sds/SDSExceptions.h"
#include "samplers/sds/SDSMessages.h"

namespace quorvel::sds {

std::unique_ptr<CRawSysex> AwaitMessage(CSysexConnection& connection, uint32_t replyTimeoutMs)
{
    const uint64_t deadline = MIDIClock().Milliseconds() + kMaxWaitMs;
    bool waitSeen = false;
    for (;;) {
        const uint64_t now = MIDIClock().Milliseconds();
        if (now >= deadline)
            throw XSysexTimedOut();
        const uint64_t left = deadline - now;
        const uint32_t timeout = static_cast<uint32_t>(waitSeen ? left : std::min<uint64_t>(replyTimeoutMs, left));
        std::unique_ptr<CRawSysex> message = connection.Receive(timeout);
        if (IsHandshake(*message) && MessageType(*message) == kWait) {
            waitSeen = true;
            continue;
        }
        if (IsHandshake(*message) && MessageType(*message) == kCancel)
            throw XSDSCancelled();
        return message;
    }
}

} // namespace quorvel::sds
