#include "ui/samplers/A3000TransmitDialog.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

#include "analysis/SliceSet.h"
#include "framework/EmbeddedResources.h"
#include "framework/ResourceReference.h"
#include "framework/window/AlertBox.h"
#include "samplers/yamaha/A3000BankTransmission.h"
#include "ui/samplers/HardwareTransfer.h"
#include "ui/samplers/SamplerFailureAlerts.h"
#include "ui/samplers/TransferProgress.h"

namespace quorvel {

using namespace a3000;

namespace {

constexpr uint32_t kSlicesLeftText = StringReference(129, 21);
constexpr uint32_t kTransmitCancelledText = StringReference(129, 24);
constexpr uint32_t kNoBankNameAlert = AlertReference(132, 60);
constexpr uint32_t kBankExistsAlert = AlertReference(132, 61);
constexpr uint32_t kSampleExistsAlert = AlertReference(132, 62);
constexpr uint32_t kUnassignedSamplesAlert = AlertReference(132, 63);
constexpr uint32_t kBankIncompleteAlert = AlertReference(132, 64);
constexpr uint32_t kNoTemplateAlert = AlertReference(132, 65);
// The last button listed ("Yes").
constexpr int kLastButton = AlertResultForSlot(0);

std::string Text(uint32_t reference) { return BuiltInTextResources().Text(reference); }

QHBoxLayout* LabelledRow(const QString& label, QWidget* field, QWidget* parent)
{
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(label, parent));
    row->addWidget(field, 1);
    return row;
}

class CDialogQuestions final : public CABCA3000TransmitQuestions {
public:
    explicit CDialogQuestions(SSamplerFlowServices& services) : services_(services) {}

    int ConfirmSliceCount(int count, int maximum) override
    {
        return quorvel::ConfirmSliceCount(count, maximum, services_.parent);
    }
    bool UseDefaults() override
    {
        progress_.reset();
        return ShowAlert(kNoTemplateAlert, {}, services_.parent) == kLastButton;
    }
    CABCTransferProgress& SampleProgress(int left) override
    {
        if (!progress_)
            progress_.emplace(services_.lengthy, Text(kSlicesLeftText));
        progress_->SetPercent(0);
        progress_->SetValue(left);
        return *progress_;
    }

    std::optional<CLengthyTransferProgress>& Progress() { return progress_; }

private:
    SSamplerFlowServices& services_;
    std::optional<CLengthyTransferProgress> progress_;
};

} // namespace

CA3000TransmitDialog::CA3000TransmitDialog(const CPersistentInstalledSampler& sampler, int sampleCount,
                                           const std::vector<std::string>& banks, QWidget* parent)
    // The sampler numbers the samples itself: no start number to ask for.
    : CSamplerTransmitDialog(sampler, SamplerCapabilities{}, sampleCount, std::nullopt, parent)
{
    name_ = new QLineEdit(QString::fromLatin1(kUnnamedBank), this);
    name_->setObjectName(QStringLiteral("bankName"));
    name_->setMaxLength(static_cast<int>(kNameLength));
    Body()->addLayout(LabelledRow(QStringLiteral("Sample Bank Name:"), name_, this));
    firstKey_ = new QSpinBox(this);
    firstKey_->setObjectName(QStringLiteral("firstKey"));
    firstKey_->setRange(0, 127);
    firstKey_->setValue(kDefaultFirstKey);
    Body()->addLayout(LabelledRow(QStringLiteral("First Key:"), firstKey_, this));
    template_ = new QComboBox(this);
    template_->setObjectName(QStringLiteral("template"));
    template_->addItem(QStringLiteral("None"));
    for (const std::string& bank : banks)
        template_->addItem(QString::fromStdString(bank));
    Body()->addLayout(LabelledRow(QStringLiteral("Template Sample Bank:"), template_, this));
}

std::string CA3000TransmitDialog::BankName() const { return SamplerName(name_->text().toStdString()); }

int CA3000TransmitDialog::FirstKey() const { return firstKey_->value(); }

std::string CA3000TransmitDialog::TemplateName() const
{
    return template_->currentIndex() <= 0 ? std::string() : template_->currentText().toStdString();
}

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
    try {
        const int outputs = job.OutputCount();
        if (outputs < 1)
            return false;
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
        questions.Progress().reset();
        return true;
    } catch (const XSampleTransmitCancelled&) {
        if (questions.Progress())
            questions.Progress()->ShowCancelled(Text(kTransmitCancelledText));
    } catch (const XA3000BankNameMissing&) {
        questions.Progress().reset();
        ShowAlert(kNoBankNameAlert, {}, services.parent);
    } catch (const XA3000BankNameNotUnique&) {
        questions.Progress().reset();
        ShowAlert(kBankExistsAlert, {transmission.ClashingName()}, services.parent);
    } catch (const XA3000SampleNameNotUnique&) {
        questions.Progress().reset();
        ShowAlert(kSampleExistsAlert, {transmission.ClashingName()}, services.parent);
    } catch (...) {
        questions.Progress().reset();
        if (const std::optional<uint32_t> alert =
                DialogFailureAlert(std::current_exception(), TransferDirection::Transmit))
            ShowAlert(*alert, {}, services.parent);
    }
    if (transmission.Aftermath() == EA3000Aftermath::BankIncomplete)
        ShowAlert(kBankIncompleteAlert, {}, services.parent);
    else if (transmission.Aftermath() == EA3000Aftermath::SamplesUnassigned)
        ShowAlert(kUnassignedSamplesAlert, {}, services.parent);
    return false;
}

} // namespace quorvel
