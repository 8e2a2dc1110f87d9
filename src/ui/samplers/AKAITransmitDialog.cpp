#include "ui/samplers/AKAITransmitDialog.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>

#include "analysis/SliceSet.h"
#include "framework/ResourceReference.h"
#include "framework/window/AlertBox.h"
#include "samplers/akai/AKAICharacters.h"
#include "samplers/akai/AKAIProgramTransmission.h"
#include "ui/samplers/TransmitDialogFields.h"
#include "ui/samplers/TransmitDialogFlow.h"

namespace quorvel {

using namespace akai;

namespace {

constexpr uint32_t kDeletingProgramText = StringReference(133, 310);
constexpr uint32_t kRetrievingTemplateText = StringReference(133, 311);
constexpr uint32_t kCreatingProgramText = StringReference(133, 312);
constexpr uint32_t kProgramExistsAlert = AlertReference(132, 50);
constexpr uint32_t kSampleNameTakenAlert = AlertReference(132, 51);
constexpr uint32_t kNoProgramNameAlert = AlertReference(132, 52);
constexpr uint32_t kNoTemplateAlert = AlertReference(132, 53);
constexpr uint32_t kUnassignedSamplesAlert = AlertReference(132, 54);
constexpr uint32_t kProgramIncompleteAlert = AlertReference(132, 55);

// The questions as alerts, each stage in the progress window.
class CDialogQuestions final : public CDialogTransmitQuestions<CABCAKAITransmitQuestions> {
public:
    using CDialogTransmitQuestions::CDialogTransmitQuestions;

    bool ReplaceProgram(const std::string& name) override
    {
        return AgreedTo(kProgramExistsAlert, name);
    }
    bool UseDefaults() override { return AgreedTo(kNoTemplateAlert); }
    void Stage(EAKAITransmitStage stage) override
    {
        switch (stage) {
        case EAKAITransmitStage::RetrievingTemplate:
            ShowStage(ResourceText(kRetrievingTemplateText));
            break;
        case EAKAITransmitStage::DeletingProgram:
            ShowStage(ResourceText(kDeletingProgramText));
            break;
        case EAKAITransmitStage::SendingSamples:
            ShowStage(ResourceText(kSlicesLeftText));
            break;
        case EAKAITransmitStage::CreatingProgram:
            ShowStage(ResourceText(kCreatingProgramText));
            break;
        }
    }
};

} // namespace

CAKAITransmitDialog::CAKAITransmitDialog(const CPersistentInstalledSampler& sampler, int sampleCount,
                                         const std::vector<std::string>& programs, QWidget* parent)
    // The sampler numbers the samples itself: no start number to ask for.
    : CSamplerTransmitDialog(sampler, SamplerCapabilities{}, sampleCount, std::nullopt, parent)
{
    name_ = AddNameField(Body(), this, QStringLiteral("Program Name:"), QStringLiteral("programName"),
                         QString::fromLatin1(kDefaultProgramName), kNameLength);
    firstKey_ = AddKeyField(Body(), this, QStringLiteral("First Key:"), QStringLiteral("firstKey"), 0, 127,
                            kDefaultFirstKey);
    template_ = AddTemplatePopup(Body(), this, QStringLiteral("Template Program:"), programs);
}

std::string CAKAITransmitDialog::ProgramName() const { return AKAIName(name_->text().toStdString()); }

int CAKAITransmitDialog::FirstKey() const { return firstKey_->value(); }

std::string CAKAITransmitDialog::TemplateName() const { return ChosenTemplateName(template_); }

bool CAKAITransmitDialog::Validate()
{
    if (!ProgramName().empty())
        return CSamplerTransmitDialog::Validate();
    ShowAlert(kNoProgramNameAlert, {}, this);
    return false;
}

bool CAKAITransmitDialog::Run(const CPersistentInstalledSampler& sampler, CABCAKAIInterface& device,
                              const CExportJob& job, SSamplerFlowServices& services)
{
    CDialogQuestions questions(services);
    CAKAIProgramTransmission transmission(device, questions);
    const auto transmit = [&](int outputs) {
        SAKAITransmitSettings settings;
        {
            CAKAITransmitDialog dialog(sampler, outputs, device.ProgramNames(), services.parent);
            if (dialog.RunModal() != QDialog::Accepted)
                return false;
            settings.programName = dialog.ProgramName();
            settings.firstKey = dialog.FirstKey();
            if (!dialog.TemplateName().empty())
                settings.templateName = dialog.TemplateName();
        }
        transmission.Run(job, settings);
        return true;
    };
    const auto brandAlert = [&](const std::exception_ptr& failure) -> std::optional<STransmitAlert> {
        try {
            std::rethrow_exception(failure);
        } catch (const XAKAIProgramNameMissing&) {
            // An unattended answer skips Validate.
            return STransmitAlert{kNoProgramNameAlert, std::nullopt};
        } catch (const XAKAINameIsNotUnique&) {
            return STransmitAlert{kSampleNameTakenAlert, transmission.ClashingName()};
        } catch (...) {
            return std::nullopt;
        }
    };
    const auto afterFailure = [&] {
        if (transmission.Aftermath() == EAKAIAftermath::ProgramIncomplete)
            ShowAlert(kProgramIncompleteAlert, {}, services.parent);
        else if (transmission.Aftermath() == EAKAIAftermath::SamplesUnassigned)
            ShowAlert(kUnassignedSamplesAlert, {}, services.parent);
    };
    return RunTransmitFlow(job, questions.Progress(), services.parent, transmit, brandAlert, afterFailure);
}

} // namespace quorvel
