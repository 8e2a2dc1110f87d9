#pragma once
// The transmit and receive dialogs for installed hardware samplers. Both
// show the sampler's name and picture; the transmit dialog asks where the
// samples go, the receive dialog which sample comes back. Each runs its
// transfer after it closes, with the progress window and its Stop button,
// and turns every failure of the transfer into its alert.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/window/ModalDialog.h"
#include "samplers/SamplerCapabilities.h"
#include "samplers/SampleTransfer.h"
#include "samplers/SamplerExceptions.h"
#include "ui/samplers/SamplerFlowServices.h"

class QLineEdit;
class QListWidget;
class QPushButton;
class QVBoxLayout;

namespace quorvel {

class CExportJob;

// Sampler numbers that fit a short walk: such a sampler's samples can be
// listed by asking each number for its header.
constexpr int32_t kMostNumbersToWalk = 1000;

// Samplers that take each sample at a number the user chooses (SMDI).
bool TakesNumberedSamples(const SamplerCapabilities& capabilities);

class CSamplerDialog : public CModalDialog {
    Q_OBJECT
public:
    CSamplerDialog(const CPersistentInstalledSampler& sampler, QWidget* parent);

    QPushButton* OkButton() const { return ok_; }

protected:
    // Where the derived dialog puts its fields.
    QVBoxLayout* Body() const { return body_; }
    // Asked when OK is pressed; false keeps the dialog open.
    virtual bool Validate() { return true; }

private:
    QVBoxLayout* body_;
    QPushButton* ok_;
};

class CSamplerTransmitDialog : public CSamplerDialog {
    Q_OBJECT
public:
    using XSampleTransmitCancelled = quorvel::XSampleTransmitCancelled;

    CSamplerTransmitDialog(const CPersistentInstalledSampler& sampler, const SamplerCapabilities& capabilities,
                           int sampleCount, std::optional<int32_t> startNumber, QWidget* parent);

    // The start number typed; nothing when the field is empty or out of range.
    std::optional<int32_t> StartNumber() const;
    QLineEdit* StartNumberField() const { return start_; }

    // Asks, then sends one sample per output of `job` (or the whole loop).
    // True when every sample arrived; a cancel or a failure (shown as its
    // alert) gives false.
    static bool Run(const CPersistentInstalledSampler& sampler, CABCSamplerInterface& device,
                    const CExportJob& job, SSamplerFlowServices& services);

protected:
    bool Validate() override;

private:
    SamplerCapabilities capabilities_;
    QLineEdit* start_ = nullptr;
};

// One entry of the receive dialog's list.
struct SListedSample {
    int32_t number = 0;
    std::string name;
    bool stereo = false;
    int32_t rightNumber = -1;
};

class CSamplerReceiveDialog : public CSamplerDialog {
    Q_OBJECT
public:
    using XSampleReceiveCancelled = quorvel::XSampleReceiveCancelled;

    CSamplerReceiveDialog(const CPersistentInstalledSampler& sampler, const SamplerCapabilities& capabilities,
                          std::vector<SListedSample> samples, std::optional<int32_t> number, QWidget* parent);

    // The chosen sample's number; nothing when none is chosen.
    std::optional<int32_t> SampleNumber() const;
    // The list entry of the chosen number, if it is listed.
    const SListedSample* Chosen() const;
    QLineEdit* NumberField() const { return number_; }
    QListWidget* List() const { return list_; }

    // Lists the samples, asks, then receives the chosen one into a new
    // window. True when a window opened; a cancel or a failure (shown as
    // its alert) gives false.
    static bool Run(const CPersistentInstalledSampler& sampler, CABCSamplerInterface& device,
                    SSamplerFlowServices& services);

protected:
    bool Validate() override;

private:
    SamplerCapabilities capabilities_;
    std::vector<SListedSample> samples_;
    QListWidget* list_ = nullptr;
    QLineEdit* number_ = nullptr;
};

// Opens a received sound in a new window; alert 90 and false when the
// window cannot be made.
class WAVE_SAMPLE;
bool OpenReceivedSound(std::unique_ptr<WAVE_SAMPLE> sound, SSamplerFlowServices& services);

// The samples a sampler holds, for the receive dialog: its own list, or for
// a numbered sampler without one whose numbers are few, every number that
// answers with a header. `progress` shows the number asked and may stop the
// walk (XSampleReceiveCancelled).
std::vector<SListedSample> ListSamples(CABCSamplerInterface& sampler, const SamplerCapabilities& capabilities,
                                       CABCTransferProgress& progress);

} // namespace quorvel
