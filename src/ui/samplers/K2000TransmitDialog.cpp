#include "ui/samplers/K2000TransmitDialog.h"

#include <algorithm>

#include <QComboBox>
#include <QIntValidator>
#include <QLineEdit>
#include <QSpinBox>

#include "analysis/SliceSet.h"
#include "framework/FileSpec.h"
#include "framework/ResourceReference.h"
#include "framework/window/AlertBox.h"
#include "samplers/kurzweil/K2000Interface.h"
#include "samplers/kurzweil/K2000ProgramTransmission.h"
#include "ui/samplers/TransmitDialogFields.h"
#include "ui/samplers/TransmitDialogFlow.h"

namespace quorvel {

using namespace k2000;

namespace {

constexpr uint32_t kDeletingProgramText = StringReference(133, 310);
constexpr uint32_t kReplaceAlert = AlertReference(132, 20);
constexpr uint32_t kTemplateUnreadableAlert = AlertReference(132, 21);
constexpr uint32_t kNoTemplateAlert = AlertReference(132, 22);
constexpr uint32_t kTemplateMissingAlert = AlertReference(132, 23);
constexpr uint32_t kNoProgramIdAlert = AlertReference(132, 24);
constexpr uint32_t kUnassignedAlert = AlertReference(132, 25);
constexpr uint32_t kNoProgramNameAlert = AlertReference(132, 26);
// RAM programs start at 200; the ones below are the factory's.
constexpr int kFirstSuggestedId = 200;
constexpr const char* kRetrievingTemplateText = "Retrieving Template Program...";
constexpr const char* kWritingKeymapText = "Writing Keymap...";
constexpr const char* kWritingProgramText = "Writing Program...";

int FirstFreeId(const std::vector<SKurzweilObjectRecord>& programs)
{
    for (int id = kFirstSuggestedId; id <= CK2000Program::kHighestId; ++id)
        if (std::none_of(programs.begin(), programs.end(), [id](const auto& p) { return p.id == id; }))
            return id;
    return kFirstSuggestedId;
}

// The questions as alerts, each stage in the progress window.
class CDialogQuestions final : public CDialogTransmitQuestions<CABCK2000TransmitQuestions> {
public:
    using CDialogTransmitQuestions::CDialogTransmitQuestions;

    bool ReplaceProgram(uint16_t, const std::string&) override { return AgreedTo(kReplaceAlert); }
    bool UseDefaults(EK2000TemplateProblem problem) override
    {
        return AgreedTo(problem == EK2000TemplateProblem::NotSpecified ? kNoTemplateAlert
                        : problem == EK2000TemplateProblem::Missing    ? kTemplateMissingAlert
                                                                       : kTemplateUnreadableAlert);
    }
    void Stage(EK2000TransmitStage stage) override
    {
        switch (stage) {
        case EK2000TransmitStage::RetrievingTemplate:
            ShowStage(kRetrievingTemplateText);
            break;
        case EK2000TransmitStage::DeletingProgram:
            ShowStage(ResourceText(kDeletingProgramText));
            break;
        case EK2000TransmitStage::SendingSamples:
            ShowStage(ResourceText(kSlicesLeftText));
            break;
        case EK2000TransmitStage::WritingKeymap:
            ShowStage(kWritingKeymapText);
            break;
        case EK2000TransmitStage::WritingProgram:
            ShowStage(kWritingProgramText);
            break;
        }
    }
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
    AddLabelledRow(Body(), this, QStringLiteral("Program ID:"), id_);
    name_ = AddNameField(Body(), this, QStringLiteral("Program Name:"), QStringLiteral("programName"),
                         QString::fromStdString(name), static_cast<int>(CABCK2000Interface::kNameLength));
    startKey_ = AddKeyField(Body(), this, QStringLiteral("Start Key:"), QStringLiteral("startKey"), kLowestStartKey,
                            kHighestKey, kDefaultStartKey);
    std::vector<QString> templates;
    for (const SKurzweilObjectRecord& program : programs_)
        templates.push_back(QStringLiteral("%1  %2").arg(program.id).arg(QString::fromStdString(program.name)));
    template_ = AddTemplatePopup(Body(), this, QStringLiteral("Template Program:"), templates);
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
    const auto transmit = [&](int outputs) {
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
        return true;
    };
    const auto brandAlert = [](const std::exception_ptr& failure) -> std::optional<STransmitAlert> {
        try {
            std::rethrow_exception(failure);
        } catch (const XK2000ProgramIdMissing&) {
            // An unattended answer skips Validate.
            return STransmitAlert{kNoProgramIdAlert, std::nullopt};
        } catch (const XK2000ProgramIdOutOfRange&) {
            return STransmitAlert{kNoProgramIdAlert, std::nullopt};
        } catch (const XK2000ProgramNameMissing&) {
            return STransmitAlert{kNoProgramNameAlert, std::nullopt};
        } catch (...) {
            return std::nullopt;
        }
    };
    const auto afterFailure = [&] {
        if (transmission.LeftUnassigned())
            ShowAlert(kUnassignedAlert, {}, services.parent);
    };
    return RunTransmitFlow(job, questions.Progress(), services.parent, transmit, brandAlert, afterFailure);
}

} // namespace quorvel
