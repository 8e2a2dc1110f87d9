#pragma once
// A transfer's progress in the lengthy-operation window: a label ("Slices
// left:", "Receiving Sample data:"), a number beside it, the bar for the
// sample on its way and the Stop button. The window appears at once: a
// sampler transfer is never short enough to hide it.
#include <optional>
#include <string>

#include "framework/LengthyOperation.h"
#include "samplers/SampleTransfer.h"

namespace quorvel {

class CLengthyTransferProgress final : public CABCTransferProgress {
public:
    CLengthyTransferProgress(SLengthyOperationServices services, const std::string& label);

    // The number beside the label (slices left, a sample number).
    void SetValue(int32_t value);
    void SetPercent(int32_t percent) override;
    bool CancelRequested() override;
    // Leaves `message` in the window ("Sample Transmit cancelled!").
    void ShowCancelled(const std::string& message);

private:
    CLengthyOperation operation_;
    int32_t value_ = 0;
    int32_t percent_ = 0;
};

} // namespace quorvel
