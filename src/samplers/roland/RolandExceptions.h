#pragma once
// Failures of the exchange with a Roland sampler, and of the S-760's own
// operations on its file list and samples.
#include "devices/midi/MIDIExceptions.h"
#include "samplers/SamplerExceptions.h"

namespace quorvel {

QUORVEL_EXCEPTION(XRolandException, XExternalDeviceException);
// A reply of another command than the one awaited.
QUORVEL_EXCEPTION(XRolandUnexpectedCommand, XRolandException);
// A data message for another address than the next one awaited.
QUORVEL_EXCEPTION(XRolandUnexpectedAddress, XRolandException);
// The sampler answered with its rejection message.
QUORVEL_EXCEPTION(XRolandRejectException, XExternalDeviceRejected);

QUORVEL_EXCEPTION(XS760Exception, XRolandException);
// The sampler lists more entries than the file list holds.
QUORVEL_EXCEPTION(XS760FileListTooSmall, XS760Exception);
// The sampler listed an entry of another category than the one asked for.
QUORVEL_EXCEPTION(XS760UnexpectedCategoryReceived, XS760Exception);
// Every sample number is taken.
QUORVEL_EXCEPTION(XS760AllSamplesUsedUp, XS760Exception);
// The sample just sent has no memory behind it on the sampler.
QUORVEL_EXCEPTION(XS760SampleLostInSpace, XS760Exception);
// A sample of that name is on the sampler already.
QUORVEL_EXCEPTION(XS760SampleNameAlreadyExists, XSampleNameNotUnique);

} // namespace quorvel
