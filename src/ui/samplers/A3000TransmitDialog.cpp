#include "ui/samplers/A3000TransmitDialog.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>

#include "analysis/SliceSet.h"
#include "framework/ResourceReference.h"
#include "framework/window/AlertBox.h"
#include "samplers/yamaha/A3000BankTransmission.h"
#include "ui/samplers/TransmitDialogFields.h"
#include "ui/samplers/TransmitDialogFlow.h"

namespace quorvel {

using namespace a3000;

namespace {

constexpr uint32_t kNoBankNameAlert = AlertReference(132, 60);
constexpr uint32_t kBankExistsAlert = AlertReference(132, 61);
constexpr uint32_t kSampleExistsAlert = AlertReference(132, 62);
constexpr uint32_t kUnassignedSamplesAlert = AlertReference(132, 63);
constexpr uint32_t kBankIncompleteAlert = AlertReference(132, 64);
constexpr uint32_t kNoTemplateAlert = AlertReference(132, 65);

class CDialogQuestions final : public CDialogTransmitQuestions<CABCA3000TransmitQuestions> {
public:
    using CDialogTransmitQuestions::CDialogTransmitQuestions;

    bool UseDefaults() override { return AgreedTo(kNoTemplateAlert); }
};

} // namespace

CA3000TransmitDialog::CA3000TransmitDialog(const CPersistentInstalledSampler& sampler, int sampleCount,
                                           const std::vector<std::string>& banks, QWidget* parent)
    // The sampler numbers the samples itself: no start number to ask for.
    : CSamplerTransmitDialog(sampler, SamplerCapabilities{}, sampleCount, std::nullopt, parent)
{
    name_ = AddNameField(Body(), this, QStringLiteral("Sample Bank Name:"), QStringLiteral("bankName"),
                         QString::fromLatin1(kUnnamedBank), static_cast<int>(kNameLength));
    firstKey_ = AddKeyField(Body(), this, QStringLiteral("First Key:"), QStringLiteral("firstKey"), 0, 127,
                            kDefaultFirstKey);
    template_ = AddTemplatePopup(Body(), this, QStringLiteral("Template Sample Bank:"), banks);
}

std::string CA3000TransmitDialog::BankName() const { return SamplerName(name_->text().toStdString()); }

int CA3000TransmitDialog::FirstKey() const { return firstKey_->value(); }

std::string CA3000TransmitDialog::TemplateName() const { return ChosenTemplateName(template_); }

bool CA3000TransmitDialog::Validate()
{
    if (!BankName().empty())
        return CSamplerTransmitDialog::Validate();
    ShowAlert(kNoBankNameAlert, {}, this);
    return false;
}

bool CA3000TransmitDialog::Run(const CPersistentInstalledSampler& sampler, CABCA3000Interface& device,
                               const CExportJob& job, SSamplerFlowServices& services)
{
    CDialogQuestions questions(services);
    CA3000BankTransmission transmission(device, questions);
    const auto transmit = [&](int outputs) {
        SA3000TransmitSettings settings;
        {
            CA3000TransmitDialog dialog(sampler, outputs, device.ObjectList(true).NamesOf(kSampleBankObject),
                                        services.parent);
            if (dialog.RunModal() != QDialog::Accepted)
                return false;
            settings.bankName = dialog.BankName();
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
        } catch (const XA3000BankNameMissing&) {
            return STransmitAlert{kNoBankNameAlert, std::nullopt};
        } catch (const XA3000BankNameNotUnique&) {
            return STransmitAlert{kBankExistsAlert, transmission.ClashingName()};
        } catch (const XA3000SampleNameNotUnique&) {
            return STransmitAlert{kSampleExistsAlert, transmission.ClashingName()};
        } catch (...) {
            return std::nullopt;
        }
    };
    const auto afterFailure = [&] {
        if (transmission.Aftermath() == EA3000Aftermath::BankIncomplete)
            ShowAlert(kBankIncompleteAlert, {}, services.parent);
        else if (transmission.Aftermath() == EA3000Aftermath::SamplesUnassigned)
            ShowAlert(kUnassignedSamplesAlert, {}, services.parent);
    };
    return RunTransmitFlow(job, questions.Progress(), services.parent, transmit, brandAlert, afterFailure);
}

} // namespace quorvel
