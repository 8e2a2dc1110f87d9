#pragma once
// Root of every failure of an external device (MIDI, SCSI, samplers). The
// transport and sampler layers hang their own branches below it.
#include "framework/XBase.h"

namespace quorvel {

QUORVEL_EXCEPTION(XExternalDeviceException, XBase);
// The link to the device failed: nothing came back, or what came back was
// not a proper message.
QUORVEL_EXCEPTION(XExternalDeviceCommunicationError, XExternalDeviceException);
// The device understood and refused (or cancelled) the operation.
QUORVEL_EXCEPTION(XExternalDeviceRejected, XExternalDeviceException);
// The device has no room for what it was sent.
QUORVEL_EXCEPTION(XExternalDeviceOutOfMemory, XExternalDeviceException);

} // namespace quorvel
