#pragma once
// Failures of the exchange with a Kurzweil K2000/K2500 and of reading its object bodies.
#include "devices/DeviceExceptions.h"
#include "devices/midi/MIDIExceptions.h"

namespace quorvel {

QUORVEL_EXCEPTION(XKurzweilException, XExternalDeviceException);
// A reply of another message number than the one awaited.
QUORVEL_EXCEPTION(XKurzweilUnexpectedMessage, XKurzweilException);
// An object body that does not come in the bit-stream form.
QUORVEL_EXCEPTION(XKurzweilNotBitStream, XKurzweilException);
QUORVEL_EXCEPTION(XKurzweilObjectInEdit, XKurzweilException);
QUORVEL_EXCEPTION(XKurzweilIDOutOfRange, XKurzweilException);
QUORVEL_EXCEPTION(XKurzweilObjectNotFound, XKurzweilException);
QUORVEL_EXCEPTION(XKurzweilOutOfMemory, XExternalDeviceOutOfMemory);
QUORVEL_EXCEPTION(XKurzweilRejected, XExternalDeviceRejected);

// A body that cannot be one of the object it is read into.
QUORVEL_EXCEPTION(XK2000Exception, XKurzweilException);
QUORVEL_EXCEPTION(XK2000InvalidFormat, XK2000Exception);
QUORVEL_EXCEPTION(XK2000InvalidTag, XK2000Exception);

} // namespace quorvel
