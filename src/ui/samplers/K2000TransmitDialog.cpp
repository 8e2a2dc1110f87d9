#include "ui/samplers/K2000TransmitDialog.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

#include "analysis/SliceSet.h"
#include "framework/EmbeddedResources.h"
#include "framework/FileSpec.h"
#include "framework/ResourceReference.h"
#include "framework/window/AlertBox.h"
#include "samplers/kurzweil/K2000Interface.h"
#include "samplers/kurzweil/K2000ProgramTransmission.h"
#include "ui/samplers/HardwareTransfer.h"
#include "ui/samplers/SamplerFailureAlerts.h"
#include "ui/samplers/TransferProgress.h"

namespace quorvel {

using namespace k2000;

namespace {

constexpr uint32_t kSlicesLeftText = StringReference(129, 21);
constexpr uint32_t kTransmitCancelledText = StringReference(129, 24);
constexpr uint32_t kDeletingProgramText = StringReference(133, 310);
constexpr uint32_t kReplaceAlert = AlertReference(132, 20);
constexpr uint32_t kTemplateUnreadableAlert = AlertReference(132, 21);
constexpr uint32_t kNoTemplateAlert = AlertReference(132, 22);
constexpr uint32_t kTemplateMissingAlert = AlertReference(132, 23);
constexpr uint32_t kNoProgramIdAlert = AlertReference(132, 24);
constexpr uint32_t kUnassignedAlert = AlertReference(132, 25);
constexpr uint32_t kNoProgramNameAlert = AlertReference(132, 26);
// The last button listed ("Replace", "Yes").
constexpr int kLastButton = AlertResultForSlot(0);
// RAM programs start at 200; the ones below are the factory's.
constexpr int kFirstSuggestedId = 200;
constexpr const char* kRetrievingTemplateText = "Retrieving Template Program...";
constexpr const char* kWritingKeymapText = "Writing Keymap...";
constexpr const char* kWritingProgramText = "Writing Program...";

std::string Text(uint32_t reference) { return BuiltInTextResources().Text(reference); }

QHBoxLayout* LabelledRow(const QString& label, QWidget* field, QWidget* parent)
{
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(label, parent));
    row->addWidget(field, 1);
    return row;
}

int FirstFreeId(const std::vector<SKurzweilObjectRecord>& programs)
{
    for (int id = kFirstSuggestedId; id <= CK2000Program::kHighestId; ++id)
        if (std::none_of(programs.begin(), programs.end(), [id](const auto& p) { return p.id == id; }))
            return id;
    return kFirstSuggestedId;
}

// The questions as alerts, each stage in the progress window.
class CDialogQuestions final : public CABCK2000TransmitQuestions {
public:
    explicit CDialogQuestions(SSamplerFlowServices& services) : services_(services) {}

    int ConfirmSliceCount(int count, int maximum) override
    {
        return quorvel::ConfirmSliceCount(count, maximum, services_.parent);
    }
    bool ReplaceProgram(uint16_t, const std::string&) override
    {
        progress_.reset();
        return ShowAlert(kReplaceAlert, {}, services_.parent) == kLastButton;
    }
    bool UseDefaults(EK2000TemplateProblem problem) override
    {
        progress_.reset();
        const uint32_t alert = problem == EK2000TemplateProblem::NotSpecified ? kNoTemplateAlert
                               : problem == EK2000TemplateProblem::Missing    ? kTemplateMissingAlert
                                                                              : kTemplateUnreadableAlert;
        return ShowAlert(alert, {}, services_.parent) == kLastButton;
    }
    void Stage(EK2000TransmitStage stage) override
    {
        progress_.reset();
        switch (stage) {
        case EK2000TransmitStage::RetrievingTemplate:
            progress_.emplace(services_.lengthy, kRetrievingTemplateText);
            break;
        case EK2000TransmitStage::DeletingProgram:
            progress_.emplace(services_.lengthy, Text(kDeletingProgramText));
            break;
        case EK2000TransmitStage::SendingSamples:
            progress_.emplace(services_.lengthy, Text(kSlicesLeftText));
            break;
        case EK2000TransmitStage::WritingKeymap:
            progress_.emplace(services_.lengthy, kWritingKeymapText);
            break;
        case EK2000TransmitStage::WritingProgram:
            progress_.emplace(services_.lengthy, kWritingProgramText);
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

CK2000TransmitDialog::CK2000TransmitDialog(const CPersistentInstalledSampler& sampler, int sampleCount,
                                           const std::string& name, const std::vector<SKurzweilObjectRecord>& programs,
                                           QWidget* parent)
    // The sampler numbers the sound blocks itself: no start number to ask for.
    : CSamplerTransmitDialog(sampler, SamplerCapabilities{}, sampleCount, std::nullopt, parent), programs_(programs)
{
    id_ = new QLineEdit(QString::number(FirstFreeId(programs_)), this);
    id_->setObjectName(QStringLiteral("programId"));
    id_->setValidator(new QIntValidator(CK2000Program::kLowestId, CK2000Program::kHighestId, id_));
    Body()->addLayout(LabelledRow(QStringLiteral("Program ID:"), id_, this));
    name_ = new QLineEdit(QString::fromStdString(name), this);
    name_->setObjectName(QStringLiteral("programName"));
    name_->setMaxLength(static_cast<int>(CABCK2000Interface::kNameLength));
    Body()->addLayout(LabelledRow(QStringLiteral("Program Name:"), name_, this));
    startKey_ = new QSpinBox(this);
    startKey_->setObjectName(QStringLiteral("startKey"));
    startKey_->setRange(kLowestStartKey, kHighestKey);
    startKey_->setValue(kDefaultStartKey);
    Body()->addLayout(LabelledRow(QStringLiteral("Start Key:"), startKey_, this));
    template_ = new QComboBox(this);
    template_->setObjectName(QStringLiteral("template"));
    template_->addItem(QStringLiteral("None"));
    for (const SKurzweilObjectRecord& program : programs_)
        template_->addItem(QStringLiteral("%1  %2").arg(program.id).arg(QString::fromStdString(program.name)));
    Body()->addLayout(LabelledRow(QStringLiteral("Template Program:"), template_, this));
}

std::optional<int> CK2000TransmitDialog::ProgramId() const
{
    bool ok = false;
    const int id = id_->text().trimmed().toInt(&ok);
    if (!ok || id < CK2000Program::kLowestId || id > CK2000Program::kHighestId)
        return std::nullopt;
    return id;
}

std::string CK2000TransmitDialog::ProgramName() const { return name_->text().trimmed().toStdString(); }

int CK2000TransmitDialog::StartKey() const { return startKey_->value(); }

std::optional<uint16_t> CK2000TransmitDialog::TemplateId() const
{
    const int index = template_->currentIndex();
    if (index <= 0 || index > static_cast<int>(programs_.size()))
        return std::nullopt;
    return programs_[static_cast<size_t>(index - 1)].id;
}

bool CK2000TransmitDialog::Validate()
{
    if (!ProgramId()) {
        ShowAlert(kNoProgramIdAlert, {}, this);
        return false;
    }
    if (ProgramName().empty()) {
        ShowAlert(kNoProgramNameAlert, {}, this);
        return false;
    }
    return CSamplerTransmitDialog::Validate();
}

bool CK2000TransmitDialog::Run(const CPersistentInstalledSampler& sampler, CABCK2000Interface& device,
                               const CExportJob& job, SSamplerFlowServices& services)
{
    CDialogQuestions questions(services);
    CK2000ProgramTransmission transmission(device, device.Objects(), questions);
    try {
        const int outputs = job.OutputCount();
        if (outputs < 1)
            return false;
        SK2000TransmitSettings settings;
        {
            const std::vector<SKurzweilObjectRecord> programs =
                CK2000ProgramTransmission::ListPrograms(device.Objects());
            CK2000TransmitDialog dialog(sampler, outputs, CFileSpec::BaseName(job.Sound().Name()), programs,
                                        services.parent);
            if (dialog.RunModal() != QDialog::Accepted)
                return false;
            settings.programId = dialog.ProgramId();
            settings.programName = dialog.ProgramName();
            settings.startKey = dialog.StartKey();
            settings.templateId = dialog.TemplateId();
        }
        transmission.Run(job, settings);
        questions.Progress().reset();
        return true;
    } catch (const XSampleTransmitCancelled&) {
        if (questions.Progress())
            questions.Progress()->ShowCancelled(Text(kTransmitCancelledText));
    } catch (const XK2000ProgramIdMissing&) {
        // An unattended answer skips Validate.
        questions.Progress().reset();
        ShowAlert(kNoProgramIdAlert, {}, services.parent);
    } catch (const XK2000ProgramIdOutOfRange&) {
        questions.Progress().reset();
        ShowAlert(kNoProgramIdAlert, {}, services.parent);
    } catch (const XK2000ProgramNameMissing&) {
        questions.Progress().reset();
        ShowAlert(kNoProgramNameAlert, {}, services.parent);
    } catch (...) {
        questions.Progress().reset();
        if (const std::optional<uint32_t> alert =
                DialogFailureAlert(std::current_exception(), TransferDirection::Transmit))
            ShowAlert(*alert, {}, services.parent);
    }
    if (transmission.LeftUnassigned())
        ShowAlert(kUnassignedAlert, {}, services.parent);
    return false;
}

} // namespace quorvel
