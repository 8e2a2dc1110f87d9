#pragma once
// Waiting for the other side of a sample dump: WAITs hold the wait open,
// a CANCEL ends it, anything else is the answer.
#include <cstdint>
#include <memory>

#include "devices/midi/RawSysex.h"

namespace quorvel {

class CSysexConnection;

namespace sds {

// The next message other than WAIT from `connection`; XSDSCancelled for a
// CANCEL. XSysexTimedOut when nothing comes within `replyTimeoutMs`, and in
// any case 30 seconds after the call. After a WAIT the other side has asked
// for time: the wait then runs to the 30 seconds instead of the reply time-out.
std::unique_ptr<CRawSysex> AwaitMessage(CSysexConnection& connection, uint32_t replyTimeoutMs);

} // namespace sds
} // namespace quorvel
