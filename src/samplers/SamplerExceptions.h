#pragma once
// Failures a sampler reports about its samples, and the user's cancel of a
// transfer. Every brand hangs its own exceptions below XSamplerException.
#include "devices/DeviceExceptions.h"

namespace quorvel {

QUORVEL_EXCEPTION(XSamplerException, XExternalDeviceException);
QUORVEL_EXCEPTION(XSampleDoesNotExist, XSamplerException);
QUORVEL_EXCEPTION(XSampleNameNotUnique, XSamplerException);
QUORVEL_EXCEPTION(XSampleLocationCannotHoldStereo, XSamplerException);

// The user stopped a transfer: no alert follows.
QUORVEL_EXCEPTION(XSampleTransmitCancelled, XBase);
QUORVEL_EXCEPTION(XSampleReceiveCancelled, XBase);

} // namespace quorvel
