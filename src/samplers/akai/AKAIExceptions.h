#pragma once
// Failures of the exchange with an AKAI S1000/S3000 family sampler.
#include "devices/midi/MIDIExceptions.h"
#include "devices/scsi/SCSIExceptions.h"
#include "samplers/SamplerExceptions.h"

namespace quorvel {

QUORVEL_EXCEPTION(XAKAIException, XSamplerException);
// A message that is not one of this sampler family's (manufacturer or model byte).
QUORVEL_EXCEPTION(XAKAINonAKAISysex, XAKAIException);
// An AKAI message of another operation than the one awaited.
QUORVEL_EXCEPTION(XAKAIUnexpectedCommand, XAKAIException);
// The sample just sent is not in the sampler's name list afterwards.
QUORVEL_EXCEPTION(XAKAITransmittedSampleLost, XAKAIException);

QUORVEL_EXCEPTION(XAKAIRejected, XExternalDeviceRejected);
// The sampler answered a command with a non-zero result.
QUORVEL_EXCEPTION(XAKAIReceivedError, XAKAIRejected);

QUORVEL_EXCEPTION(XAKAIInvalidFormat, XSysexInvalidFormat);
QUORVEL_EXCEPTION(XAKAIUnexpectedSysexReceived, XSysexInvalidFormat);

// A sample of that name is on the sampler already.
QUORVEL_EXCEPTION(XAKAINameIsNotUnique, XSampleNameNotUnique);

QUORVEL_EXCEPTION(XAKAISCSICommunicationException, XSCSICommunicationException);
QUORVEL_EXCEPTION(XAKAISCSITimedOut, XAKAISCSICommunicationException);
QUORVEL_EXCEPTION(XAKAISCSINoUnreadData, XAKAISCSICommunicationException);

} // namespace quorvel
