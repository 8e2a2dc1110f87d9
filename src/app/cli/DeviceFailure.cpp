#include "app/cli/DeviceFailure.h"

#include "devices/midi/MIDIExceptions.h"
#include "devices/scsi/SCSIExceptions.h"
#include "fileformats/FileAlerts.h"
#include "samplers/SamplerExceptions.h"
#include "samplers/sds/SDSExceptions.h"
#include "samplers/smdi/SMDIExceptions.h"

namespace quorvel::cli {

namespace {

constexpr int kRejectedAlert = 91;
constexpr int kNoSuchSampleAlert = 92;
constexpr int kInternalErrorAlert = 94;
constexpr int kSamplerErrorAlert = 95;
constexpr int kSCSIFailedAlert = 96;
constexpr int kMIDIFailedAlert = 97;
constexpr int kOutOfMemoryAlert = 0; // of the application's table

// The cause, for the exceptions a user can act on.
std::string Cause()
{
    try {
        throw;
    } catch (const XSDSCancelled&) {
        return "the sampler cancelled the dump";
    } catch (const XSysexTimedOut&) {
        return "the sampler did not answer in time";
    } catch (const XSysexOverrun&) {
        return "MIDI input came faster than it could be read";
    } catch (const XSDSNotAcknowledged&) {
        return "the sampler refused a data packet twice";
    } catch (const XSDSChecksumError&) {
        return "a data packet arrived damaged twice";
    } catch (const XSDSInvalidPacketIndex&) {
        return "an answer named the wrong data packet";
    } catch (const XSDSUnexpectedSysex&) {
        return "the sampler answered with a message that does not belong there";
    } catch (const XSDSSampleTooLong&) {
        return "a sample dump holds at most 2097151 frames";
    } catch (const XSDSSampleNumberOutOfRange&) {
        return "sample numbers run from 0 to 16383";
    } catch (const XSDSNotInStandard&) {
        return "the Sample Dump Standard has no message for that";
    } catch (const XMIDIWriteFailed&) {
        return "the MIDI output refused the data";
    } catch (const XMIDIInputGone&) {
        return "the MIDI input went away";
    } catch (const XSMDIMessageInvalid&) {
        return "the sampler answered with something that is not an SMDI message";
    } catch (const XSMDISCSIErrorSenseKeyAborted&) {
        return "the sampler aborted the SCSI command";
    } catch (const XSMDIWaitTimedOut&) {
        return "the sampler asked to wait and stayed busy for more than 20 seconds";
    } catch (const XSMDIUnexpectedMessage&) {
        return "the sampler answered with a message that does not belong there";
    } catch (const XSMDIHeaderRejected&) {
        return "the sampler refused the sample header";
    } catch (const XSMDITransferRejected&) {
        return "the sampler refused to begin the transfer";
    } catch (const XSMDIPacketRejected&) {
        return "the sampler refused a data packet";
    } catch (const XSMDIEOPRejected&) {
        return "the sampler refused the end of the transfer";
    } catch (const XSMDIAborted&) {
        return "the sampler aborted the transfer";
    } catch (const XSMDIUnexpectedPacketIndex&) {
        return "an answer named the wrong data packet";
    } catch (const XSMDIInvalidPacketLength&) {
        return "a data packet had the wrong length";
    } catch (const XSMDIUnsupportedPacketLength&) {
        return "the sampler chose a packet length that does not hold whole frames";
    } catch (const XSMDISCSICommunicationException&) {
        return "the sampler did not take the SCSI command";
    } catch (const XSCSI&) {
        return "the SCSI interface failed";
    } catch (const std::exception& other) {
        return other.what();
    } catch (...) {
        return "unknown failure";
    }
}

int AlertOf()
{
    try {
        throw;
    } catch (const XSampleDoesNotExist&) {
        return kNoSuchSampleAlert;
    } catch (const XExternalDeviceRejected&) {
        return kRejectedAlert;
    } catch (const XMIDICommunicationException&) {
        return kMIDIFailedAlert;
    } catch (const XSCSICommunicationException&) {
        return kSCSIFailedAlert;
    } catch (const XSCSI&) {
        return kSCSIFailedAlert;
    } catch (const XExternalDeviceException&) {
        return kSamplerErrorAlert;
    } catch (const XMIDI&) {
        return kMIDIFailedAlert;
    } catch (...) {
        return kInternalErrorAlert;
    }
}

} // namespace

CliError DeviceFailure(const std::string& where)
{
    std::string alert;
    try {
        throw;
    } catch (const XOutOfMemory&) {
        alert = ApplicationAlertText(kOutOfMemoryAlert);
    } catch (...) {
        alert = FileAlertText(AlertOf());
    }
    const std::string context = where.empty() ? Cause() : where + ": " + Cause();
    return CliError(kDeviceRefused, alert + " (" + context + ")");
}

} // namespace quorvel::cli
