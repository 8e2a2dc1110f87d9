#include "devices/scsi/SGStatus.h"

#include <algorithm>
#include <cstring>

namespace quorvel {

namespace {

// Host statuses of the Linux SCSI mid level.
constexpr uint16_t kHostOk = 0x00;
constexpr uint16_t kHostNoConnect = 0x01;
constexpr uint16_t kHostTimeOut = 0x03;
constexpr uint16_t kHostBadTarget = 0x04;
constexpr uint16_t kHostAbort = 0x05;

// Driver statuses: the low nibble is the error, 0x08 says sense is valid.
constexpr uint16_t kDriverErrorMask = 0x07;
constexpr uint16_t kDriverTimeOut = 0x06;
constexpr uint16_t kDriverBusy = 0x01;
constexpr uint16_t kDriverSoft = 0x02;

SCSIResult Kind(int32_t kind)
{
    SCSIResult result;
    result.kind = kind;
    return result;
}

void CopySense(SCSIResult& result, const SSGStatus& status)
{
    if (!status.sense)
        return;
    const size_t length = std::min(status.senseWritten, kSCSISenseLength);
    std::memcpy(result.sense.data(), status.sense, length);
    result.senseLength = static_cast<int32_t>(length);
}

} // namespace

SCSIResult DecodeSGStatus(const SSGStatus& status)
{
    switch (status.hostStatus) {
    case kHostOk:
        break;
    case kHostNoConnect:
    case kHostBadTarget:
        return Kind(kSCSINoDevice);
    case kHostTimeOut:
        return Kind(kSCSITimeOut);
    case kHostAbort:
        return Kind(kSCSIAborted);
    default:
        return Kind(kSCSIAdapterFailure);
    }
    const uint16_t driverError = status.driverStatus & kDriverErrorMask;
    if (driverError == kDriverTimeOut)
        return Kind(kSCSITimeOut);

    // Only the status code bits; the oldest targets also set the vendor bits.
    const int32_t target = status.status & 0x3E;
    SCSIResult result = Kind(target);
    if (target == kSCSIGood || target == kSCSICheckCondition)
        CopySense(result, status);
    if (target == kSCSIGood && driverError != 0 && driverError != kDriverBusy && driverError != kDriverSoft)
        return Kind(kSCSIAdapterFailure);
    return result;
}

} // namespace quorvel
