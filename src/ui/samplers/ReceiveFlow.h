#pragma once
// What the receive dialogs share around the transfer itself: the sample
// coming in under the progress window, and the run that turns a cancel or a
// failure into what the user sees.
#include <functional>
#include <memory>
#include <optional>

#include "samplers/SampleReceiver.h"
#include "samplers/SampleTransfer.h"
#include "ui/samplers/TransferProgress.h"

class QWidget;

namespace quorvel {

class CSamplerReceiveDialog;
struct SSamplerFlowServices;

// Shows `dialog`: the sample number chosen, kept for the next time, or
// nothing when the user gave up (an unattended answer without a number
// shows its alert).
std::optional<int32_t> AskSampleNumber(CSamplerReceiveDialog& dialog, SSamplerFlowServices& services);

// Receives sample `number` with `progress` showing it; the receiver goes,
// then the window. XSamplerException without a receiver,
// XSampleDoesNotExist when nothing came.
SReceivedSample ReceiveWithProgress(std::unique_ptr<CABCSampleReceiver> receiver, int32_t number,
                                    std::optional<CLengthyTransferProgress>& progress,
                                    const SLengthyOperationServices& lengthy);

// Runs `receive` (the listing, the dialog, the transfer; true when the
// sound opened). A cancel is left in the progress window; a failure closes
// it and shows its alert.
bool RunReceiveFlow(std::optional<CLengthyTransferProgress>& progress, QWidget* parent,
                    const std::function<bool()>& receive);

} // namespace quorvel
