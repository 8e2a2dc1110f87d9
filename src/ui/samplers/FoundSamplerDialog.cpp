#include "ui/samplers/FoundSamplerDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <cstdio>
#include <new>

#include "framework/AlertContent.h"
#include "framework/EmbeddedResources.h"
#include "framework/ResourceReference.h"
#include "framework/TextResources.h"
#include "framework/window/AlertBox.h"
#include "samplers/SamplerVerification.h"
#include "ui/samplers/SamplerPictures.h"
#include "ui/samplers/SamplerProgressWindow.h"

namespace quorvel {

namespace {

constexpr uint32_t kTexts = 129;
constexpr uint32_t kVersionFormat = 47;
constexpr uint32_t kNoneFound = 80;
constexpr uint32_t kModelNotFound = 81;
constexpr uint32_t kNameMissing = 64;
constexpr uint32_t kNoMemoryForSampler = 38;

QString VersionText(const CVersion& version)
{
    const std::string format = BuiltInTextResources().Text(StringReference(kTexts, kVersionFormat));
    char text[64];
    std::snprintf(text, sizeof text, format.c_str(), int{version.major}, long{version.minor});
    return text;
}

QString Describe(const SFoundSampler& found)
{
    const SSamplerModel* model = FindSamplerModel(found.typeId);
    QStringList lines;
    if (model)
        lines << QString::fromUtf8(model->name.data(), static_cast<int>(model->name.size()));
    if (found.foundViaMIDI) {
        const int shown = model && model->sysexIdsFromOne ? found.sysexId + 1 : found.sysexId;
        lines << CFoundSamplerDialog::tr("MIDI In: %1").arg(QString::fromStdString(found.midiIn.device));
        lines << CFoundSamplerDialog::tr("MIDI Out: %1").arg(QString::fromStdString(found.midiOut.device));
        lines << CFoundSamplerDialog::tr("SysEx ID: %1").arg(shown);
    }
    if (found.foundViaSCSI) {
        lines << CFoundSamplerDialog::tr("SCSI Bus: %1").arg(QString::fromStdString(found.scsiBus.device));
        lines << CFoundSamplerDialog::tr("SCSI ID: %1").arg(found.scsiId);
    }
    if (found.versionKnown)
        lines << CFoundSamplerDialog::tr("OS Version: %1").arg(VersionText(found.osVersion));
    return lines.join('\n');
}

bool ReportNoneFound(uint32_t entry) { return entry != kNoneFound && entry != kModelNotFound; }

} // namespace

int ShowSamplerAlert(uint32_t entry, const std::vector<std::string>& arguments, QWidget* parent)
{
    CAlertContent content = CAlertContent::FromReference(BuiltInTextResources(), AlertReference(kTexts, entry));
    for (const std::string& argument : arguments)
        content.AddArgument(argument);
    CAlertBox box(content, parent);
    return box.RunModal();
}

CFoundSamplerDialog::CFoundSamplerDialog(const SSearchFinding& finding, const std::string& proposedName,
                                         QWidget* parent)
    : CModalDialog(parent)
{
    setWindowTitle(tr("Sampler Found"));
    auto* layout = new QVBoxLayout(this);
    auto* question = new QLabel(tr("Do you want to add this sampler?"), this);
    layout->addWidget(question);
    if (const SSamplerModel* model = FindSamplerModel(finding.sampler.typeId)) {
        auto* picture = new QLabel(this);
        picture->setPixmap(SamplerPicture(model->picture));
        layout->addWidget(picture);
    }
    details_ = new QLabel(Describe(finding.sampler), this);
    layout->addWidget(details_);
    if (!finding.doubleNote.empty()) {
        auto* note = new QLabel(QString::fromStdString(finding.doubleNote), this);
        note->setWordWrap(true);
        QFont bold = note->font();
        bold.setBold(true);
        note->setFont(bold);
        layout->addWidget(note);
    }
    auto* form = new QFormLayout;
    name_ = new QLineEdit(QString::fromStdString(proposedName), this);
    name_->setMaxLength(static_cast<int>(CInstalledSamplers::kMaxUserName));
    form->addRow(tr("Name:"), name_);
    layout->addLayout(form);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Yes | QDialogButtonBox::No, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

std::string CFoundSamplerDialog::Name() const { return name_->text().toStdString(); }

SSamplerSearchResult RunSamplerSearch(const SSamplerDevices& devices, const CInstalledSamplers& installed,
                                      QWidget* parent, uint32_t onlyModel, bool reportNoneFound)
{
    const std::vector<SAlertToShow> missing = MissingTransportAlerts(devices, onlyModel);
    if (!missing.empty()) {
        for (const SAlertToShow& alert : missing)
            ShowSamplerAlert(alert.entry, alert.arguments, parent);
        return {};
    }
    SSamplerSearchResult result;
    {
        CSamplerProgressWindow progress(parent);
        result = SearchForSamplers(devices, installed, BuiltInTextResources(), progress, onlyModel);
    }
    for (const SAlertToShow& alert : SearchAlerts(result, onlyModel))
        if (reportNoneFound || ReportNoneFound(alert.entry))
            ShowSamplerAlert(alert.entry, alert.arguments, parent);
    return result;
}

size_t OfferFoundSamplers(CInstalledSamplers& samplers, const SSamplerSearchResult& result, QWidget* parent)
{
    size_t installed = 0;
    for (const SSearchFinding& finding : result.found) {
        const SSamplerModel* model = FindSamplerModel(finding.sampler.typeId);
        if (model == nullptr)
            continue;
        CFoundSamplerDialog dialog(finding, CInstalledSamplers::ProposedName(BuiltInTextResources(), *model), parent);
        while (dialog.RunModal() == QDialog::Accepted) {
            try {
                const CPersistentInstalledSampler& sampler = InstallFinding(samplers, finding.sampler, dialog.Name());
                ++installed;
                if (sampler.versionKnown && OSVersionTooOld(*model, sampler.osVersion)) {
                    CAlertBox note(CAlertContent(OSTooOldNoteByName(BuiltInTextResources(), *model,
                                                                    sampler.userName, sampler.osVersion)),
                                   parent);
                    note.RunModal();
                }
                break;
            } catch (const XSamplerNameMissing&) {
                ShowSamplerAlert(kNameMissing, {}, parent);
                if (CModalDialog::AutoAnswer())
                    break; // a scripted answer would ask forever
            } catch (const std::bad_alloc&) {
                ShowSamplerAlert(kNoMemoryForSampler, {}, parent);
                return installed;
            }
        }
    }
    return installed;
}

size_t FindAndOfferSamplers(CInstalledSamplers& samplers, const SSamplerDevices& devices, QWidget* parent)
{
    const SSamplerSearchResult result = RunSamplerSearch(devices, samplers, parent);
    return OfferFoundSamplers(samplers, result, parent);
}

} // namespace quorvel
