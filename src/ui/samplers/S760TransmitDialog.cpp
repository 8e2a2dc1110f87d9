#include "ui/samplers/S760TransmitDialog.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "analysis/SliceSet.h"
#include "framework/EmbeddedResources.h"
#include "framework/ResourceReference.h"
#include "framework/window/AlertBox.h"
#include "samplers/roland/S760PatchTransmission.h"
#include "ui/samplers/HardwareTransfer.h"
#include "ui/samplers/SamplerFailureAlerts.h"
#include "ui/samplers/TransferProgress.h"

namespace quorvel {

using namespace s760;

namespace {

constexpr uint32_t kSlicesLeftText = StringReference(129, 21);
constexpr uint32_t kTransmitCancelledText = StringReference(129, 24);
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

// The questions as alerts, the samples in the progress window.
class CDialogQuestions final : public CABCS760TransmitQuestions {
public:
    explicit CDialogQuestions(SSamplerFlowServices& services) : services_(services) {}

    int ConfirmSliceCount(int count, int maximum) override
    {
        return quorvel::ConfirmSliceCount(count, maximum, services_.parent);
    }
    bool ReplacePatch(const std::string& name) override
    {
        progress_.reset();
        if (ShowAlert(kPatchExistsAlert, {name}, services_.parent) != kLastButton)
            throw CS760TransmitDialog::XS760DeleteCancelled();
        return true;
    }
    bool UseDefaults() override
    {
        progress_.reset();
        return ShowAlert(kNoTemplateAlert, {}, services_.parent) == kLastButton;
    }
    void TemplateIncomplete() override
    {
        progress_.reset();
        ShowAlert(kTemplateIncompleteAlert, {}, services_.parent);
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
    name_ = new QLineEdit(QString::fromLatin1(kDefaultPatchName), this);
    name_->setObjectName(QStringLiteral("patchName"));
    name_->setMaxLength(static_cast<int>(kNameLength));
    Body()->addLayout(LabelledRow(QStringLiteral("Patch Name:"), name_, this));
    template_ = new QComboBox(this);
    template_->setObjectName(QStringLiteral("template"));
    template_->addItem(QStringLiteral("None"));
    for (const std::string& patch : patches)
        template_->addItem(QString::fromStdString(patch));
    Body()->addLayout(LabelledRow(QStringLiteral("Template Patch:"), template_, this));
    auto* hint = new QLabel(QString::fromStdString(Text(kPerformanceModeHint)), this);
    hint->setObjectName(QStringLiteral("hint"));
    hint->setWordWrap(true);
    Body()->addWidget(hint);
}

std::string CS760TransmitDialog::PatchName() const { return DisplayName(name_->text().toStdString()); }

std::string CS760TransmitDialog::TemplateName() const
{
    return template_->currentIndex() <= 0 ? std::string() : template_->currentText().toStdString();
}

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
    try {
        const int outputs = job.OutputCount();
        if (outputs < 1)
            return false;
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
        questions.Progress().reset();
        return true;
    } catch (const XSampleTransmitCancelled&) {
        if (questions.Progress())
            questions.Progress()->ShowCancelled(Text(kTransmitCancelledText));
    } catch (const XS760PatchNameMissing&) {
        questions.Progress().reset();
        ShowAlert(kNoPatchNameAlert, {}, services.parent);
    } catch (const XS760PartialNameTaken&) {
        questions.Progress().reset();
        ShowAlert(kPartialNameTakenAlert, {transmission.ClashingName()}, services.parent);
    } catch (const XS760SampleNameAlreadyExists&) {
        questions.Progress().reset();
        ShowAlert(kSampleNameTakenAlert, {transmission.ClashingName()}, services.parent);
    } catch (const XS760NoFreePatch&) {
        questions.Progress().reset();
        ShowAlert(kNoFreePatchAlert, {}, services.parent);
    } catch (const XS760NotEnoughPartials&) {
        questions.Progress().reset();
        ShowAlert(kTooFewPartialsAlert, {std::to_string(transmission.Shortfall())}, services.parent);
    } catch (const XS760NotEnoughSamples&) {
        questions.Progress().reset();
        ShowAlert(kTooFewSamplesAlert, {std::to_string(transmission.Shortfall())}, services.parent);
    } catch (...) {
        questions.Progress().reset();
        if (const std::optional<uint32_t> alert =
                DialogFailureAlert(std::current_exception(), TransferDirection::Transmit))
            ShowAlert(*alert, {}, services.parent);
    }
    if (transmission.Aftermath() == ES760Aftermath::PatchIncomplete)
        ShowAlert(kPatchIncompleteAlert, {}, services.parent);
    return false;
}

} // namespace quorvel
