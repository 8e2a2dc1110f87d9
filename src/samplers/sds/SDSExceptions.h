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
// The sampler cancelled the dump.
QUORVEL_EXCEPTION(XSDSCancelled, XExternalDeviceRejected);

} // namespace quorvel
