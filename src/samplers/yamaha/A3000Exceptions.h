#pragma once
// Failures of the exchange with a Yamaha A3000.
#include "devices/midi/MIDIExceptions.h"
#include "devices/scsi/SCSIExceptions.h"
#include "samplers/SamplerExceptions.h"

namespace quorvel {

QUORVEL_EXCEPTION(XA3000Exception, XSamplerException);
// A stereo half asked of a sample that has no second half.
QUORVEL_EXCEPTION(XA3000SampleIsNotStereo, XA3000Exception);
// Over MIDI alone the A3000 offers no way to remove an object.
QUORVEL_EXCEPTION(XA3000CannotDelete, XA3000Exception);
QUORVEL_EXCEPTION(XA3000SampleNameNotUnique, XSampleNameNotUnique);
// A bulk dump that is malformed, or not the one asked for.
QUORVEL_EXCEPTION(XA3000ReceivedInvalidSysex, XSysexInvalidFormat);
// A block whose XOR does not match its checksum byte.
QUORVEL_EXCEPTION(XA3000ChecksumIncorrect, XSysexChecksumFailure);
QUORVEL_EXCEPTION(XA3000WaveDumpCancelled, XExternalDeviceRejected);
// The sampler refused or aborted a sample transfer over SCSI.
QUORVEL_EXCEPTION(XA3000SCSIRejected, XExternalDeviceRejected);

} // namespace quorvel
