#pragma once
// The start-up check of the installed samplers as the user meets it: its
// progress window, its alerts and notes, and the searches it offers.
#include <memory>

#include "samplers/SamplerVerification.h"

class QWidget;

namespace quorvel {

class CSamplerProgressWindow;

class CVerificationWindowUI final : public CABCVerificationUI {
public:
    CVerificationWindowUI(CInstalledSamplers& samplers, const SSamplerDevices& devices, QWidget* parent);
    ~CVerificationWindowUI() override;

    int Alert(uint32_t entry, const std::vector<std::string>& arguments) override;
    void Note(const std::string& script) override;
    void Progress(const std::string& text, size_t left) override;
    bool CancelRequested() override;
    std::vector<SFoundSampler> SearchFor(const SSamplerModel& model) override;
    void SearchAndOffer() override;

private:
    // The window is closed while an alert or a search has the user's attention.
    void CloseProgress();

    CInstalledSamplers& samplers_;
    const SSamplerDevices& devices_;
    QWidget* parent_;
    std::unique_ptr<CSamplerProgressWindow> progress_;
};

// Checks every installed sampler (and with none, offers a search when
// `offerSearch` is set).
SVerificationOutcome VerifySamplersAtStartUp(CInstalledSamplers& samplers, const SSamplerDevices& devices,
                                             QWidget* parent, bool offerSearch);

} // namespace quorvel
