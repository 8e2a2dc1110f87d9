#include "ui/samplers/AKAITransmitDialog.h"

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
#include "samplers/akai/AKAICharacters.h"
#include "samplers/akai/AKAIProgramTransmission.h"
#include "ui/samplers/HardwareTransfer.h"
#include "ui/samplers/SamplerFailureAlerts.h"
#include "ui/samplers/TransferProgress.h"

namespace quorvel {

using namespace akai;

namespace {

constexpr uint32_t kSlicesLeftText = StringReference(129, 21);
constexpr uint32_t kTransmitCancelledText = StringReference(129, 24);
constexpr uint32_t kDeletingProgramText = StringReference(133, 310);
constexpr uint32_t kRetrievingTemplateText = StringReference(133, 311);
constexpr uint32_t kCreatingProgramText = StringReference(133, 312);
constexpr uint32_t kProgramExistsAlert = AlertReference(132, 50);
constexpr uint32_t kSampleNameTakenAlert = AlertReference(132, 51);
constexpr uint32_t kNoProgramNameAlert = AlertReference(132, 52);
constexpr uint32_t kNoTemplateAlert = AlertReference(132, 53);
constexpr uint32_t kUnassignedSamplesAlert = AlertReference(132, 54);
constexpr uint32_t kProgramIncompleteAlert = AlertReference(132, 55);
// The last button listed ("Replace", "Yes").
constexpr int kLastButton = AlertResultForSlot(0);

std::string Text(uint32_t reference) { return BuiltInTextResources().Text(reference); }

QHBoxLayout* LabelledRow(const QString& label, QWidget* field, QWidget* parent)
{
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(label, parent));
    row->addWidget(field, 1);
    return row;
}

// The questions as alerts, each stage in the progress window.
class CDialogQuestions final : public CABCAKAITransmitQuestions {
public:
    explicit CDialogQuestions(SSamplerFlowServices& services) : services_(services) {}

    int ConfirmSliceCount(int count, int maximum) override
    {
        return quorvel::ConfirmSliceCount(count, maximum, services_.parent);
    }
    bool ReplaceProgram(const std::string& name) override
    {
        progress_.reset();
        return ShowAlert(kProgramExistsAlert, {name}, services_.parent) == kLastButton;
    }
    bool UseDefaults() override
    {
        progress_.reset();
        return ShowAlert(kNoTemplateAlert, {}, services_.parent) == kLastButton;
    }
    void Stage(EAKAITransmitStage stage) override
    {
        progress_.reset();
        switch (stage) {
        case EAKAITransmitStage::RetrievingTemplate:
            progress_.emplace(services_.lengthy, Text(kRetrievingTemplateText));
            break;
        case EAKAITransmitStage::DeletingProgram:
            progress_.emplace(services_.lengthy, Text(kDeletingProgramText));
            break;
        case EAKAITransmitStage::SendingSamples:
            progress_.emplace(services_.lengthy, Text(kSlicesLeftText));
            break;
        case EAKAITransmitStage::CreatingProgram:
            progress_.emplace(services_.lengthy, Text(kCreatingProgramText));
            break;
        }
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

CAKAITransmitDialog::CAKAITransmitDialog(const CPersistentInstalledSampler& sampler, int sampleCount,
                                         const std::vector<std::string>& programs, QWidget* parent)
    // The sampler numbers the samples itself: no start number to ask for.
    : CSamplerTransmitDialog(sampler, SamplerCapabilities{}, sampleCount, std::nullopt, parent)
{
    name_ = new QLineEdit(QString::fromLatin1(kDefaultProgramName), this);
    name_->setObjectName(QStringLiteral("programName"));
    name_->setMaxLength(kNameLength);
    Body()->addLayout(LabelledRow(QStringLiteral("Program Name:"), name_, this));
    firstKey_ = new QSpinBox(this);
    firstKey_->setObjectName(QStringLiteral("firstKey"));
    firstKey_->setRange(0, 127);
    firstKey_->setValue(kDefaultFirstKey);
    Body()->addLayout(LabelledRow(QStringLiteral("First Key:"), firstKey_, this));
    template_ = new QComboBox(this);
    template_->setObjectName(QStringLiteral("template"));
    template_->addItem(QStringLiteral("None"));
    for (const std::string& program : programs)
        template_->addItem(QString::fromStdString(program));
    Body()->addLayout(LabelledRow(QStringLiteral("Template Program:"), template_, this));
}

std::string CAKAITransmitDialog::ProgramName() const { return AKAIName(name_->text().toStdString()); }

int CAKAITransmitDialog::FirstKey() const { return firstKey_->value(); }

std::string CAKAITransmitDialog::TemplateName() const
{
    return template_->currentIndex() <= 0 ? std::string() : template_->currentText().toStdString();
}

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
    try {
        const int outputs = job.OutputCount();
        if (outputs < 1)
            return false;
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
        questions.Progress().reset();
        return true;
    } catch (const XSampleTransmitCancelled&) {
        if (questions.Progress())
            questions.Progress()->ShowCancelled(Text(kTransmitCancelledText));
    } catch (const XAKAIProgramNameMissing&) {
        // An unattended answer skips Validate.
        questions.Progress().reset();
        ShowAlert(kNoProgramNameAlert, {}, services.parent);
    } catch (const XAKAINameIsNotUnique&) {
        questions.Progress().reset();
        ShowAlert(kSampleNameTakenAlert, {transmission.ClashingName()}, services.parent);
    } catch (...) {
        questions.Progress().reset();
        if (const std::optional<uint32_t> alert =
                DialogFailureAlert(std::current_exception(), TransferDirection::Transmit))
            ShowAlert(*alert, {}, services.parent);
    }
    if (transmission.Aftermath() == EAKAIAftermath::ProgramIncomplete)
        ShowAlert(kProgramIncompleteAlert, {}, services.parent);
    else if (transmission.Aftermath() == EAKAIAftermath::SamplesUnassigned)
        ShowAlert(kUnassignedSamplesAlert, {}, services.parent);
    return false;
}

} // namespace quorvel
