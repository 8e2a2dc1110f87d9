#pragma once
// The MIDI failures: port failures below XMIDI, and the communication
// branch of the device tree for system-exclusive traffic.
#include "devices/DeviceExceptions.h"

namespace quorvel {

QUORVEL_EXCEPTION(XMIDI, XBase);
QUORVEL_EXCEPTION(XMIDIWriteFailed, XMIDI);
QUORVEL_EXCEPTION(XFailedOpeningMIDIPort, XMIDI);
// Which of a sampler's two ports did not open, for the alert that names it.
QUORVEL_EXCEPTION(XFailedOpeningMIDIIn, XFailedOpeningMIDIPort);
QUORVEL_EXCEPTION(XFailedOpeningMIDIOut, XFailedOpeningMIDIPort);

QUORVEL_EXCEPTION(XMIDICommunicationException, XExternalDeviceCommunicationError);
// The input an answer was awaited on can deliver nothing more: its server
// went away in the middle of the conversation.
QUORVEL_EXCEPTION(XMIDIInputGone, XMIDICommunicationException);
QUORVEL_EXCEPTION(XSysexCommunicationException, XMIDICommunicationException);
QUORVEL_EXCEPTION(XSysexTimedOut, XSysexCommunicationException);
QUORVEL_EXCEPTION(XSysexInvalidFormat, XSysexCommunicationException);
// Incoming data arrived faster than it was read and the input ring filled
// up: what was held is dropped rather than spliced with later bytes.
QUORVEL_EXCEPTION(XSysexOverrun, XSysexCommunicationException);
QUORVEL_EXCEPTION(XSysexInvalidSize, XSysexInvalidFormat);
QUORVEL_EXCEPTION(XSysexChecksumFailure, XSysexInvalidFormat);
QUORVEL_EXCEPTION(XSysexTooSmall, XSysexInvalidSize);
QUORVEL_EXCEPTION(XSysexTooBig, XSysexInvalidSize);

} // namespace quorvel
