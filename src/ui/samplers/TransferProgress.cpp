#include "ui/samplers/TransferProgress.h"

namespace quorvel {

CLengthyTransferProgress::CLengthyTransferProgress(SLengthyOperationServices services, const std::string& label)
    : operation_(services, label)
{
    operation_.SetCountRange(100);
    operation_.SetShowAtOnce(true);
}

void CLengthyTransferProgress::SetValue(int32_t value)
{
    value_ = value;
    operation_.Update(value_, static_cast<int16_t>(percent_));
}

void CLengthyTransferProgress::SetPercent(int32_t percent)
{
    percent_ = percent;
    operation_.Update(value_, static_cast<int16_t>(percent_));
}

bool CLengthyTransferProgress::CancelRequested() { return operation_.StopRequested(); }

void CLengthyTransferProgress::ShowCancelled(const std::string& message)
{
    operation_.SetDetail(message);
    operation_.SetValues(value_, static_cast<int16_t>(percent_));
}

} // namespace quorvel
