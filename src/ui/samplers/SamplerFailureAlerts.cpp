#include "ui/samplers/SamplerFailureAlerts.h"

#include <new>

#include "devices/midi/MIDIExceptions.h"
#include "devices/scsi/SCSIExceptions.h"
#include "framework/ResourceReference.h"
#include "samplers/SamplerExceptions.h"

namespace quorvel {

namespace {

constexpr uint32_t kOutOfMemory = AlertReference(kFrameworkTable, 0);
constexpr uint32_t kSamplerFull = AlertReference(132, 3);
constexpr uint32_t kNoSuchSample = AlertReference(129, 92);
constexpr uint32_t kRejected = AlertReference(129, 91);
constexpr uint32_t kInternalError = AlertReference(129, 94);
constexpr uint32_t kSamplerError = AlertReference(129, 95);
constexpr uint32_t kSCSIFailed = AlertReference(129, 96);
constexpr uint32_t kMIDIFailed = AlertReference(129, 97);

} // namespace

std::optional<uint32_t> DialogFailureAlert(const std::exception_ptr& failure, TransferDirection direction)
{
    try {
        std::rethrow_exception(failure);
    } catch (const XSampleTransmitCancelled&) {
        return std::nullopt;
    } catch (const XSampleReceiveCancelled&) {
        return std::nullopt;
    } catch (const XOutOfMemory&) {
        return kOutOfMemory;
    } catch (const std::bad_alloc&) {
        return kOutOfMemory;
    } catch (const XExternalDeviceOutOfMemory&) {
        // A full sampler only matters while sending to it.
        return direction == TransferDirection::Transmit ? kSamplerFull : kSamplerError;
    } catch (const XSampleDoesNotExist&) {
        return direction == TransferDirection::Receive ? kNoSuchSample : kSamplerError;
    } catch (const XExternalDeviceRejected&) {
        return kRejected;
    } catch (const XSCSICommunicationException&) {
        return kSCSIFailed;
    } catch (const XMIDICommunicationException&) {
        return kMIDIFailed;
    } catch (const XExternalDeviceException&) {
        return kSamplerError;
    } catch (const XSCSI&) {
        // A target that stays busy or vanishes in the middle of a transfer
        // is a failed connection, not an internal error.
        return kSCSIFailed;
    } catch (const XMIDI&) {
        return kMIDIFailed;
    } catch (...) {
        return kInternalError;
    }
}

std::optional<uint32_t> HandlerFailureAlert(const std::exception_ptr& failure)
{
    try {
        std::rethrow_exception(failure);
    } catch (const XOutOfMemory&) {
        return kOutOfMemory;
    } catch (const std::bad_alloc&) {
        return kOutOfMemory;
    } catch (const XExternalDeviceRejected&) {
        return kRejected;
    } catch (const XSCSICommunicationException&) {
        return kSCSIFailed;
    } catch (const XMIDICommunicationException&) {
        return kMIDIFailed;
    } catch (const XExternalDeviceException&) {
        return kSamplerError;
    } catch (const XSCSI&) {
        return kSCSIFailed;
    } catch (const XMIDI&) {
        return std::nullopt;
    }
}

} // namespace quorvel
