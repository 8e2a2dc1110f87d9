#pragma once
// Failures of an SMDI exchange. Everything that went wrong on the link hangs
// below the SCSI communication branch; everything the sampler refused or
// cancelled below XSMDIRejected.
#include "devices/scsi/SCSIExceptions.h"

namespace quorvel {

QUORVEL_EXCEPTION(XSMDIException, XSCSICommunicationException);
// No "SMDI" tag, or a message that contradicts its own length.
QUORVEL_EXCEPTION(XSMDIMessageInvalid, XSMDIException);
QUORVEL_EXCEPTION(XSMDIWaitTimedOut, XSMDIException);
// A well-formed message of the wrong kind (or the right kind, malformed).
QUORVEL_EXCEPTION(XSMDIUnexpectedMessage, XSMDIException);
QUORVEL_EXCEPTION(XSMDIInvalidPacketLength, XSMDIException);
QUORVEL_EXCEPTION(XSMDIUnexpectedPacketIndex, XSMDIException);
// The packet length a sampler accepts does not hold whole frames.
QUORVEL_EXCEPTION(XSMDIUnsupportedPacketLength, XSMDIException);
// A message could not be sent: the target stayed busy or the command failed.
QUORVEL_EXCEPTION(XSMDISCSICommunicationException, XSMDIException);
QUORVEL_EXCEPTION(XSMDISCSIErrorSenseKeyAborted, XSMDISCSICommunicationException);

QUORVEL_EXCEPTION(XSMDIRejected, XExternalDeviceRejected);
QUORVEL_EXCEPTION(XSMDIHeaderRejected, XSMDIRejected);
QUORVEL_EXCEPTION(XSMDITransferRejected, XSMDIRejected);
QUORVEL_EXCEPTION(XSMDIPacketRejected, XSMDIRejected);
// The sampler refused the end of a procedure (a transfer, a deletion, an abort).
QUORVEL_EXCEPTION(XSMDIEOPRejected, XSMDIRejected);
// The sampler answered with Abort Procedure.
QUORVEL_EXCEPTION(XSMDIAborted, XSMDIRejected);

} // namespace quorvel
