#pragma once
// What every SCSI command returns: the result kind and, for CHECK CONDITION,
// the sense bytes.
#include <array>
#include <cstdint>

namespace quorvel {

enum ESCSIResultKind : int32_t {
    kSCSIGood = 0,
    kSCSICheckCondition = 2,
    kSCSIBusy = 8,
    kSCSIReservationConflict = 24,
    kSCSIQueueFull = 40,
    kSCSINoDevice = 256,
    kSCSITimeOut = 257,
    kSCSIAdapterFailure = 258,
    kSCSIAborted = 259,
};

// Adapters hand back 14 sense bytes; the result has room for 16.
constexpr size_t kSCSISenseLength = 14;

struct SCSIResult {
    int32_t kind = kSCSIGood;
    std::array<uint8_t, 16> sense{};
    int32_t senseLength = 0;
    int32_t extra = 0;

    bool Good() const { return kind == kSCSIGood; }
};

enum class ESCSIDirection { kNone, kIn, kOut };

} // namespace quorvel
