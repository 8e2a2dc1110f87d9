#include "ui/samplers/TransmitDialogFlow.h"

#include "framework/EmbeddedResources.h"
#include "analysis/SliceSet.h"
#include "samplers/SamplerExceptions.h"
#include "ui/samplers/SamplerFailureAlerts.h"

namespace quorvel {

namespace {

constexpr uint32_t kTransmitCancelledText = StringReference(129, 24);

} // namespace

std::string ResourceText(uint32_t reference) { return BuiltInTextResources().Text(reference); }

bool RunTransmitFlow(const CExportJob& job, std::optional<CLengthyTransferProgress>& progress, QWidget* parent,
                     const std::function<bool(int)>& transmit,
                     const std::function<std::optional<STransmitAlert>(const std::exception_ptr&)>& brandAlert,
                     const std::function<void()>& afterFailure)
{
    try {
        const int outputs = job.OutputCount();
        if (outputs < 1 || !transmit(outputs))
            return false;
        progress.reset();
        return true;
    } catch (const XSampleTransmitCancelled&) {
        if (progress)
            progress->ShowCancelled(ResourceText(kTransmitCancelledText));
    } catch (...) {
        progress.reset();
        const std::exception_ptr failure = std::current_exception();
        if (const std::optional<STransmitAlert> own = brandAlert(failure)) {
            if (own->argument)
                ShowAlert(own->alert, {*own->argument}, parent);
            else
                ShowAlert(own->alert, {}, parent);
        } else if (const std::optional<uint32_t> alert = DialogFailureAlert(failure, TransferDirection::Transmit)) {
            ShowAlert(*alert, {}, parent);
        }
    }
    afterFailure();
    return false;
}

} // namespace quorvel
