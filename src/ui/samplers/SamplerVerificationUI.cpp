#include "ui/samplers/SamplerVerificationUI.h"

#include "framework/AlertContent.h"
#include "framework/EmbeddedResources.h"
#include "framework/window/AlertBox.h"
#include "ui/samplers/FoundSamplerDialog.h"
#include "ui/samplers/SamplerProgressWindow.h"

namespace quorvel {

namespace {

// The search for one model found nothing: the check says so itself
// (alert 82), so the search's own "not found" is left out.
constexpr bool kReportNoneFound = false;

} // namespace

CVerificationWindowUI::CVerificationWindowUI(CInstalledSamplers& samplers, const SSamplerDevices& devices,
                                             QWidget* parent)
    : samplers_(samplers), devices_(devices), parent_(parent)
{
}

CVerificationWindowUI::~CVerificationWindowUI() = default;

void CVerificationWindowUI::CloseProgress() { progress_.reset(); }

int CVerificationWindowUI::Alert(uint32_t entry, const std::vector<std::string>& arguments)
{
    CloseProgress();
    return ShowSamplerAlert(entry, arguments, parent_) - AlertResultForSlot(0);
}

void CVerificationWindowUI::Note(const std::string& script)
{
    CloseProgress();
    CAlertBox(CAlertContent(script), parent_).RunModal();
}

void CVerificationWindowUI::Progress(const std::string& text, size_t left)
{
    if (!progress_)
        progress_ = std::make_unique<CSamplerProgressWindow>(parent_);
    progress_->SetCount(left);
    progress_->SetText(text);
}

bool CVerificationWindowUI::CancelRequested() { return progress_ && progress_->CancelRequested(); }

std::vector<SFoundSampler> CVerificationWindowUI::SearchFor(const SSamplerModel& model)
{
    CloseProgress();
    std::vector<SFoundSampler> found;
    for (const SSearchFinding& finding :
         RunSamplerSearch(devices_, samplers_, parent_, model.typeId, kReportNoneFound).found)
        found.push_back(finding.sampler);
    return found;
}

void CVerificationWindowUI::SearchAndOffer()
{
    CloseProgress();
    FindAndOfferSamplers(samplers_, devices_, parent_);
}

SVerificationOutcome VerifySamplersAtStartUp(CInstalledSamplers& samplers, const SSamplerDevices& devices,
                                             QWidget* parent, bool offerSearch)
{
    CVerificationWindowUI ui(samplers, devices, parent);
    return VerifyInstalledSamplers(samplers, devices, BuiltInTextResources(), ui, offerSearch);
}

} // namespace quorvel
