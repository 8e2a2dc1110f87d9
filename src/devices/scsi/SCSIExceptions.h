#pragma once
// SCSI failures. XSCSI: the interface itself failed (no driver, the adapter
// refused a request, a command stayed pending). XSCSICommunicationException:
// a target answered badly; the sampler protocols derive their own from it.
#include "devices/DeviceExceptions.h"

namespace quorvel {

QUORVEL_EXCEPTION(XSCSI, XBase);
QUORVEL_EXCEPTION(XSCSICommunicationException, XExternalDeviceCommunicationError);

} // namespace quorvel
