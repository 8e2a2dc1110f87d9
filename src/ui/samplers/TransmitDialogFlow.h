#pragma once
// What the transmit dialogs that build something on the sampler share
// around their transmission: the questions as alerts with the slices in the
// progress window, and the run that turns a cancel or a failure into what
// the user sees.
#include <exception>
#include <functional>
#include <optional>
#include <string>

#include "framework/AlertScript.h"
#include "framework/ResourceReference.h"
#include "framework/window/AlertBox.h"
#include "ui/samplers/HardwareTransfer.h"
#include "ui/samplers/SamplerFlowServices.h"
#include "ui/samplers/TransferProgress.h"

namespace quorvel {

class CExportJob;

// The text of a built-in string resource.
std::string ResourceText(uint32_t reference);

// Answers a brand's transmit questions (`Questions`, its interface) the
// brand does not answer itself. Each question closes the progress window
// before its alert.
template <class Questions>
class CDialogTransmitQuestions : public Questions {
public:
    explicit CDialogTransmitQuestions(SSamplerFlowServices& services) : services_(services) {}

    int ConfirmSliceCount(int count, int maximum) override
    {
        return quorvel::ConfirmSliceCount(count, maximum, services_.parent);
    }
    CABCTransferProgress& SampleProgress(int left) override
    {
        if (!progress_)
            progress_.emplace(services_.lengthy, ResourceText(kSlicesLeftText));
        progress_->SetPercent(0);
        progress_->SetValue(left);
        return *progress_;
    }

    std::optional<CLengthyTransferProgress>& Progress() { return progress_; }

protected:
    static constexpr uint32_t kSlicesLeftText = StringReference(129, 21);

    // True for the last button listed ("Replace", "Yes").
    bool AgreedTo(uint32_t alert)
    {
        progress_.reset();
        return ShowAlert(alert, {}, services_.parent) == AlertResultForSlot(0);
    }
    bool AgreedTo(uint32_t alert, const std::string& argument)
    {
        progress_.reset();
        return ShowAlert(alert, {argument}, services_.parent) == AlertResultForSlot(0);
    }
    // A new stage under way, labelled `text` in the progress window.
    void ShowStage(const std::string& text)
    {
        progress_.reset();
        progress_.emplace(services_.lengthy, text);
    }

    SSamplerFlowServices& services_;
    std::optional<CLengthyTransferProgress> progress_;
};

// An alert of a brand's own, with its one argument if any.
struct STransmitAlert {
    uint32_t alert = 0;
    std::optional<std::string> argument;
};

// Runs `transmit` with the job's slice count (the dialog, then the
// transmission; false when the user gave up before anything was sent).
// True when everything arrived. A cancel is left in the progress window; a
// failure closes it and shows the brand's alert for it (`brandAlert`, which
// rethrows and names its own), else the general one. After either,
// `afterFailure` warns of what was left behind.
bool RunTransmitFlow(const CExportJob& job, std::optional<CLengthyTransferProgress>& progress, QWidget* parent,
                     const std::function<bool(int)>& transmit,
                     const std::function<std::optional<STransmitAlert>(const std::exception_ptr&)>& brandAlert,
                     const std::function<void()>& afterFailure);

} // namespace quorvel
