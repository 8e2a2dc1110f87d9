#include "samplers/kurzweil/K2000SoundBlockReservation.h"

#include "devices/DeviceExceptions.h"
#include "samplers/kurzweil/K2000SoundBlock.h"

namespace quorvel {

uint16_t CK2000SoundBlockReservation::Reserve(CABCKurzweilObjectProtocol& objects, int32_t bank)
{
    const int32_t hint = bank < 0 ? 0 : bank * kIdsPerBank;
    CK2000SoundBlock empty(static_cast<uint16_t>(hint > 0xFFFF ? 0 : hint));
    return objects.Write(empty, EKurzweilWriteMode::NewObject, kHighestSoundBlockId,
                         CABCKurzweilObjectProtocol::kObjectTimeoutMs);
}

CK2000SoundBlockReservation::~CK2000SoundBlockReservation()
{
    if (completed_)
        return;
    try {
        objects_.Delete(static_cast<uint16_t>(EKurzweilObjectType::SoundBlock), id_,
                        CABCKurzweilObjectProtocol::kSoundBlockDeleteTimeoutMs);
    } catch (...) {
        // The transfer has already failed; that failure is the one to report.
    }
}

void CK2000SoundBlockReservation::Complete(const std::string& name)
{
    objects_.Rename(static_cast<uint16_t>(EKurzweilObjectType::SoundBlock), id_, id_, name,
                    CABCKurzweilObjectProtocol::kObjectTimeoutMs);
    completed_ = true;
}

SampleInfo WithLoopEndAsLastFrame(const SampleInfo& info)
{
    SampleInfo shortened = info;
    if (shortened.sustainLoop.end > shortened.sustainLoop.start)
        --shortened.sustainLoop.end;
    return shortened;
}

} // namespace quorvel
