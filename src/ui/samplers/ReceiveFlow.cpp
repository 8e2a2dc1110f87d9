#include "ui/samplers/ReceiveFlow.h"

#include "framework/EmbeddedResources.h"
#include "framework/ResourceReference.h"
#include "framework/window/AlertBox.h"
#include "samplers/SamplerExceptions.h"
#include "samplers/SampleTransfer.h"
#include "ui/samplers/SamplerDialogs.h"
#include "ui/samplers/SamplerFailureAlerts.h"
#include "ui/samplers/SamplerFlowServices.h"

namespace quorvel {

namespace {

constexpr uint32_t kReceiveCancelledText = StringReference(129, 25);
constexpr uint32_t kReceivingDataText = StringReference(129, 27);
constexpr uint32_t kNoSampleNumberAlert = AlertReference(132, 72);

} // namespace

std::optional<int32_t> AskSampleNumber(CSamplerReceiveDialog& dialog, SSamplerFlowServices& services)
{
    if (dialog.RunModal() != QDialog::Accepted)
        return std::nullopt;
    const std::optional<int32_t> picked = dialog.SampleNumber();
    if (!picked) {
        ShowAlert(kNoSampleNumberAlert, {}, services.parent);
        return std::nullopt;
    }
    services.memory.receiveNumber = *picked;
    return picked;
}

SReceivedSample ReceiveWithProgress(std::unique_ptr<CABCSampleReceiver> receiver, int32_t number,
                                    std::optional<CLengthyTransferProgress>& progress,
                                    const SLengthyOperationServices& lengthy)
{
    if (!receiver)
        throw XSamplerException();
    progress.emplace(lengthy, BuiltInTextResources().Text(kReceivingDataText));
    progress->SetValue(number);
    const SReceivedSample received = ReceiveSample(*receiver, kWantedFramesPerPacket, *progress);
    receiver.reset();
    progress.reset();
    if (received.info.length == 0)
        throw XSampleDoesNotExist();
    return received;
}

bool RunReceiveFlow(std::optional<CLengthyTransferProgress>& progress, QWidget* parent,
                    const std::function<bool()>& receive)
{
    try {
        return receive();
    } catch (const XSampleReceiveCancelled&) {
        if (progress)
            progress->ShowCancelled(BuiltInTextResources().Text(kReceiveCancelledText));
    } catch (...) {
        progress.reset();
        if (const std::optional<uint32_t> alert =
                DialogFailureAlert(std::current_exception(), TransferDirection::Receive))
            ShowAlert(*alert, {}, parent);
    }
    return false;
}

} // namespace quorvel
