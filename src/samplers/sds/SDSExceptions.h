#pragma once
// Failures of a sample dump exchange.
#include "samplers/SamplerExceptions.h"

namespace quorvel {

QUORVEL_EXCEPTION(XSDSException, XSamplerException);
QUORVEL_EXCEPTION(XSDSChecksumError, XSDSException);
QUORVEL_EXCEPTION(XSDSInvalidPacketIndex, XSDSException);
QUORVEL_EXCEPTION(XSDSNotAcknowledged, XSDSException);
QUORVEL_EXCEPTION(XSDSUnexpectedSysex, XSDSException);
// A dump header can announce at most 2^21 - 1 words.
QUORVEL_EXCEPTION(XSDSSampleTooLong, XSDSException);
// Sample numbers travel as 14 bits: 0 to 16383.
QUORVEL_EXCEPTION(XSDSSampleNumberOutOfRange, XSDSException);
// The dump has no message for it (deleting a sample, for one).
QUORVEL_EXCEPTION(XSDSNotInStandard, XSDSException);
// The sampler cancelled the dump.
QUORVEL_EXCEPTION(XSDSCancelled, XExternalDeviceRejected);

} // namespace quorvel
