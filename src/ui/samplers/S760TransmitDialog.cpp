#include "ui/samplers/S760TransmitDialog.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "analysis/SliceSet.h"
#include "framework/ResourceReference.h"
#include "framework/window/AlertBox.h"
#include "samplers/roland/S760PatchTransmission.h"
#include "ui/samplers/TransmitDialogFields.h"
#include "ui/samplers/TransmitDialogFlow.h"

namespace quorvel {

using namespace s760;

namespace {

constexpr uint32_t kPerformanceModeHint = StringReference(133, 650);
constexpr uint32_t kPatchExistsAlert = AlertReference(132, 30);
constexpr uint32_t kPartialNameTakenAlert = AlertReference(132, 31);
constexpr uint32_t kSampleNameTakenAlert = AlertReference(132, 32);
constexpr uint32_t kNoTemplateAlert = AlertReference(132, 34);
constexpr uint32_t kNoPatchNameAlert = AlertReference(132, 35);
constexpr uint32_t kTemplateIncompleteAlert = AlertReference(132, 36);
constexpr uint32_t kPatchIncompleteAlert = AlertReference(132, 37);
constexpr uint32_t kNoFreePatchAlert = AlertReference(132, 38);
constexpr uint32_t kTooFewPartialsAlert = AlertReference(132, 39);
constexpr uint32_t kTooFewSamplesAlert = AlertReference(132, 40);

// The questions as alerts, the samples in the progress window.
class CDialogQuestions final : public CDialogTransmitQuestions<CABCS760TransmitQuestions> {
public:
    using CDialogTransmitQuestions::CDialogTransmitQuestions;

    bool ReplacePatch(const std::string& name) override
    {
        if (!AgreedTo(kPatchExistsAlert, name))
            throw CS760TransmitDialog::XS760DeleteCancelled();
        return true;
    }
    bool UseDefaults() override { return AgreedTo(kNoTemplateAlert); }
    void TemplateIncomplete() override
    {
        progress_.reset();
        ShowAlert(kTemplateIncompleteAlert, {}, services_.parent);
    }
};

std::vector<std::string> PatchNames(CABCS760Interface& device)
{
    std::vector<std::string> names;
    const CS760FileList patches = device.ReadFileList(kPatchCategory);
    for (const SS760FileEntry& entry : patches.Entries())
        names.push_back(DisplayName(entry.name));
    return names;
}

} // namespace

CS760TransmitDialog::CS760TransmitDialog(const CPersistentInstalledSampler& sampler, int sampleCount,
                                         const std::vector<std::string>& patches, QWidget* parent)
    // The sampler numbers the samples itself: no start number to ask for.
    : CSamplerTransmitDialog(sampler, SamplerCapabilities{}, sampleCount, std::nullopt, parent)
{
    name_ = AddNameField(Body(), this, QStringLiteral("Patch Name:"), QStringLiteral("patchName"),
                         QString::fromLatin1(kDefaultPatchName), static_cast<int>(kNameLength));
    template_ = AddTemplatePopup(Body(), this, QStringLiteral("Template Patch:"), patches);
    auto* hint = new QLabel(QString::fromStdString(ResourceText(kPerformanceModeHint)), this);
    hint->setObjectName(QStringLiteral("hint"));
    hint->setWordWrap(true);
    Body()->addWidget(hint);
}

std::string CS760TransmitDialog::PatchName() const { return DisplayName(name_->text().toStdString()); }

std::string CS760TransmitDialog::TemplateName() const { return ChosenTemplateName(template_); }

bool CS760TransmitDialog::Validate()
{
    if (!PatchName().empty())
        return CSamplerTransmitDialog::Validate();
    ShowAlert(kNoPatchNameAlert, {}, this);
    return false;
}

bool CS760TransmitDialog::Run(const CPersistentInstalledSampler& sampler, CABCS760Interface& device,
                              const CExportJob& job, SSamplerFlowServices& services)
{
    CDialogQuestions questions(services);
    CS760PatchTransmission transmission(device, questions);
    const auto transmit = [&](int outputs) {
        SS760TransmitSettings settings;
        {
            CS760TransmitDialog dialog(sampler, outputs, PatchNames(device), services.parent);
            if (dialog.RunModal() != QDialog::Accepted)
                return false;
            settings.patchName = dialog.PatchName();
            if (!dialog.TemplateName().empty())
                settings.templateName = dialog.TemplateName();
        }
        transmission.Run(job, settings);
        return true;
    };
    const auto brandAlert = [&](const std::exception_ptr& failure) -> std::optional<STransmitAlert> {
        try {
            std::rethrow_exception(failure);
        } catch (const XS760PatchNameMissing&) {
            return STransmitAlert{kNoPatchNameAlert, std::nullopt};
        } catch (const XS760PartialNameTaken&) {
            return STransmitAlert{kPartialNameTakenAlert, transmission.ClashingName()};
        } catch (const XS760SampleNameAlreadyExists&) {
            return STransmitAlert{kSampleNameTakenAlert, transmission.ClashingName()};
        } catch (const XS760NoFreePatch&) {
            return STransmitAlert{kNoFreePatchAlert, std::nullopt};
        } catch (const XS760NotEnoughPartials&) {
            return STransmitAlert{kTooFewPartialsAlert, std::to_string(transmission.Shortfall())};
        } catch (const XS760NotEnoughSamples&) {
            return STransmitAlert{kTooFewSamplesAlert, std::to_string(transmission.Shortfall())};
        } catch (...) {
            return std::nullopt;
        }
    };
    const auto afterFailure = [&] {
        if (transmission.Aftermath() == ES760Aftermath::PatchIncomplete)
            ShowAlert(kPatchIncompleteAlert, {}, services.parent);
    };
    return RunTransmitFlow(job, questions.Progress(), services.parent, transmit, brandAlert, afterFailure);
}

} // namespace quorvel
