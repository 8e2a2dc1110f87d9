#include "ui/samplers/SamplerSettingsDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <utility>

#include "framework/EmbeddedResources.h"
#include "framework/ResourceReference.h"
#include "framework/TextResources.h"
#include "framework/window/AlertBox.h"
#include "samplers/SamplerVerification.h"
#include "ui/samplers/FoundSamplerDialog.h"
#include "ui/samplers/SamplerPictures.h"
#include "ui/window/WindowTexts.h"

namespace quorvel {

namespace {

constexpr int kMaxSysexIds = 16;
constexpr int kScsiIds = 8;
constexpr int kMinimumListWidth = 280;
// The Add dialog's result when Find was pressed.
constexpr int kFindChosen = 100; // apart from the answers scripted runs give every dialog

QString ModelInfo(const SSamplerModel& model)
{
    if (model.infoId == 0)
        return WindowText(49); // "No information available."
    return QString::fromStdString(BuiltInTextResources().Text(StringReference(133, model.infoId)));
}

QString OSVersionText(const CPersistentInstalledSampler& sampler, const SSamplerModel& model)
{
    if (sampler.versionKnown) {
        const std::string format = BuiltInTextResources().Text(StringReference(129, 47)); // "V%1d.%02.2ld"
        char text[32];
        std::snprintf(text, sizeof text, format.c_str(), int{sampler.osVersion.major}, long{sampler.osVersion.minor});
        return text;
    }
    return WindowText(model.osVersionReadable ? 50 : 51);
}

// An empty device list: the popup says so and stays disabled.
void ShowUnavailable(QComboBox& box, uint32_t text)
{
    box.clear();
    box.addItem(WindowText(text));
    box.setEnabled(false);
}

template <typename Port>
std::vector<SDeviceName> PortNames(const std::vector<std::unique_ptr<Port>>& ports)
{
    std::vector<SDeviceName> names;
    for (const auto& port : ports)
        names.push_back({port->Name(), port->DriverKind()});
    return names;
}

// The registered ports, each with its driver kind, and the stored one
// selected. Ports are found again by name. A sampler without a port takes
// the first one; a stored port that is gone stays listed first, so the popup
// shows what the sampler uses until the user chooses another.
// `unavailable`: the text shown when there is none.
void ShowPorts(QComboBox& box, const std::vector<SDeviceName>& ports, SDeviceName& stored, uint32_t unavailable)
{
    if (ports.empty()) {
        ShowUnavailable(box, unavailable);
        return;
    }
    box.clear();
    if (stored.device.empty())
        stored = ports.front();
    const auto found = std::find_if(ports.begin(), ports.end(),
                                    [&](const SDeviceName& port) { return port.device == stored.device; });
    if (found == ports.end())
        box.addItem(QString::fromStdString(stored.device), QString::fromStdString(stored.driverKind));
    for (const SDeviceName& port : ports)
        box.addItem(QString::fromStdString(port.device), QString::fromStdString(port.driverKind));
    box.setCurrentIndex(found == ports.end() ? 0 : static_cast<int>(found - ports.begin()));
    box.setEnabled(true);
}

const CMIDIPortLists& NoMIDIPorts()
{
    static const CMIDIPortLists none;
    return none;
}

const CSCSIBusRegistry& NoSCSIBuses()
{
    static const CSCSIBusRegistry none;
    return none;
}

std::vector<SDeviceName> BusNames(const CSCSIBusRegistry& buses)
{
    std::vector<SDeviceName> names;
    for (size_t i = 0; i < buses.Count(); ++i)
        names.push_back({buses.Bus(i)->Name(), buses.Bus(i)->DriverName()});
    return names;
}

} // namespace

QStringList CSamplerSettingsDialog::SysexIdLabels(const SSamplerModel& model)
{
    QStringList labels;
    const int count = std::min<int>(model.sysexIdCount, kMaxSysexIds);
    for (int id = 0; id < count; ++id)
        labels << QString::number(model.sysexIdsFromOne ? id + 1 : id);
    return labels;
}

CSamplerSettingsDialog::CSamplerSettingsDialog(CInstalledSamplers& samplers, QWidget* parent)
    : CSamplerSettingsDialog(samplers, NoMIDIPorts(), parent)
{
}

CSamplerSettingsDialog::CSamplerSettingsDialog(CInstalledSamplers& samplers, const CMIDIPortLists& midiPorts,
                                               QWidget* parent)
    : CSamplerSettingsDialog(samplers, midiPorts, NoSCSIBuses(), parent)
{
}

CSamplerSettingsDialog::CSamplerSettingsDialog(CInstalledSamplers& samplers, const CMIDIPortLists& midiPorts,
                                               const CSCSIBusRegistry& scsiBuses, QWidget* parent)
    : CModalDialog(parent), samplers_(samplers), midiInputs_(PortNames(midiPorts.inputs)),
      midiOutputs_(PortNames(midiPorts.outputs)), scsiBuses_(BusNames(scsiBuses)), midiPorts_(midiPorts),
      scsiBusRegistry_(scsiBuses)
{
    setWindowTitle(tr("Sampler Settings"));
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    list_ = new QListWidget(this);
    row->addWidget(list_);

    auto* details = new QFormLayout;
    model_ = new QLabel(this);
    info_ = new QLabel(this);
    info_->setWordWrap(true);
    midiIn_ = new QComboBox(this);
    midiOut_ = new QComboBox(this);
    scsiBus_ = new QComboBox(this);
    scsiId_ = new QComboBox(this);
    for (int id = 0; id < kScsiIds; ++id)
        scsiId_->addItem(QString::number(id));
    sysexIds_ = new QComboBox(this);
    // Wide enough for "No MIDI available" and the longest bus names.
    for (QComboBox* box : {midiIn_, midiOut_, scsiBus_})
        box->setMinimumContentsLength(20);
    version_ = new QLabel(this);
    versionWarning_ = new QLabel(this);
    versionWarning_->setPixmap(VersionWarningPicture());
    versionWarning_->hide();
    auto* versionRow = new QHBoxLayout;
    versionRow->addWidget(version_);
    versionRow->addWidget(versionWarning_);
    versionRow->addStretch();
    picture_ = new QLabel(this);
    picture_->setMinimumSize(SamplerPicture(0).size());
    details->addRow(picture_);
    details->addRow(tr("Model:"), model_);
    details->addRow(tr("Info:"), info_);
    details->addRow(tr("MIDI In:"), midiIn_);
    details->addRow(tr("MIDI Out:"), midiOut_);
    details->addRow(tr("SysEx ID:"), sysexIds_);
    details->addRow(tr("SCSI Bus:"), scsiBus_);
    details->addRow(tr("SCSI ID:"), scsiId_);
    details->addRow(tr("OS Version:"), versionRow);
    row->addLayout(details, 1);
    layout->addLayout(row);

    auto* buttons = new QHBoxLayout;
    auto* add = new QPushButton(tr("Add..."), this);
    find_ = new QPushButton(tr("Find..."), this);
    rename_ = new QPushButton(tr("Rename..."), this);
    remove_ = new QPushButton(tr("Remove"), this);
    buttons->addWidget(add);
    buttons->addWidget(find_);
    buttons->addWidget(rename_);
    buttons->addWidget(remove_);
    buttons->addStretch();
    auto* close = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->addWidget(close);
    layout->addLayout(buttons);

    connect(add, &QPushButton::clicked, this, &CSamplerSettingsDialog::AskAdd);
    connect(find_, &QPushButton::clicked, this, &CSamplerSettingsDialog::FindSamplers);
    connect(rename_, &QPushButton::clicked, this, &CSamplerSettingsDialog::AskRename);
    connect(remove_, &QPushButton::clicked, this, &CSamplerSettingsDialog::RemoveSelected);
    connect(close, &QDialogButtonBox::rejected, this, &QDialog::accept);
    connect(list_, &QListWidget::currentRowChanged, this, &CSamplerSettingsDialog::ShowSelected);
    connect(sysexIds_, &QComboBox::activated, this, [this](int index) {
        if (CPersistentInstalledSampler* sampler = Selected())
            sampler->sysexId = static_cast<uint8_t>(index);
    });
    for (auto [box, field] : {std::pair{midiIn_, &CPersistentInstalledSampler::midiIn},
                              std::pair{midiOut_, &CPersistentInstalledSampler::midiOut},
                              std::pair{scsiBus_, &CPersistentInstalledSampler::scsiBus}}) {
        connect(box, &QComboBox::activated, this, [this, box, field](int index) {
            if (CPersistentInstalledSampler* sampler = Selected())
                sampler->*field = {box->itemText(index).toStdString(), box->itemData(index).toString().toStdString()};
        });
    }
    connect(scsiId_, &QComboBox::activated, this, [this](int index) {
        if (CPersistentInstalledSampler* sampler = Selected())
            sampler->scsiId = static_cast<uint8_t>(index);
    });
    Fill();
    Select(samplers_.CurrentIndex());
}

void CSamplerSettingsDialog::Fill()
{
    const int row = list_->currentRow();
    list_->clear();
    for (const CPersistentInstalledSampler& sampler : samplers_.Samplers())
        list_->addItem(QString::fromStdString(sampler.userName + "  (" + sampler.modelName + ")"));
    FitListToEntries();
    list_->setCurrentRow(std::min(row, list_->count() - 1));
    ShowSelected();
}

void CSamplerSettingsDialog::FitListToEntries()
{
    // Every entry whole: the longest name and model, the frame, and room for
    // a vertical scroll bar once the list grows long.
    const int entries = list_->sizeHintForColumn(0);
    const int chrome = 2 * list_->frameWidth() + list_->verticalScrollBar()->sizeHint().width() + 8;
    list_->setMinimumWidth(std::max(kMinimumListWidth, entries + chrome));
}

void CSamplerSettingsDialog::Select(size_t index)
{
    if (index < samplers_.Count())
        list_->setCurrentRow(static_cast<int>(index));
}

CPersistentInstalledSampler* CSamplerSettingsDialog::Selected()
{
    const int row = list_->currentRow();
    if (row < 0 || static_cast<size_t>(row) >= samplers_.Count())
        return nullptr;
    return const_cast<CPersistentInstalledSampler*>(&samplers_.Samplers()[static_cast<size_t>(row)]);
}

void CSamplerSettingsDialog::ShowSelected()
{
    CPersistentInstalledSampler* sampler = Selected();
    const SSamplerModel* model = sampler ? FindSamplerModel(sampler->modelTypeId) : nullptr;
    rename_->setEnabled(sampler != nullptr);
    remove_->setEnabled(sampler != nullptr);
    for (QComboBox* box : {midiIn_, midiOut_, scsiBus_, scsiId_, sysexIds_})
        box->setEnabled(false);
    sysexIds_->clear();
    versionWarning_->hide();
    if (model == nullptr) {
        model_->clear();
        info_->clear();
        version_->clear();
        picture_->clear();
        return;
    }
    picture_->setPixmap(SamplerPicture(model->picture));
    versionWarning_->setVisible(sampler->versionKnown && OSVersionTooOld(*model, sampler->osVersion));
    model_->setText(QString::fromUtf8(model->name.data(), static_cast<int>(model->name.size())));
    info_->setText(ModelInfo(*model));
    // A software destination has no system to read: it says so like any
    // model whose version cannot be detected.
    version_->setText(OSVersionText(*sampler, *model));
    if (IsSoftwareDestination(*model)) {
        midiIn_->clear();
        midiOut_->clear();
        scsiBus_->clear();
        return;
    }
    if (UsesMIDI(*model)) {
        ShowPorts(*midiIn_, midiInputs_, sampler->midiIn, 36);   // "No MIDI available"
        ShowPorts(*midiOut_, midiOutputs_, sampler->midiOut, 36);
        sysexIds_->addItems(SysexIdLabels(*model));
        sysexIds_->setCurrentIndex(std::min<int>(sampler->sysexId, sysexIds_->count() - 1));
        sysexIds_->setEnabled(true);
    } else {
        midiIn_->clear();
        midiOut_->clear();
    }
    if (UsesSCSI(*model)) {
        ShowPorts(*scsiBus_, scsiBuses_, sampler->scsiBus, 37); // "No SCSI available"
        scsiId_->setCurrentIndex(sampler->scsiId % kScsiIds);
        scsiId_->setEnabled(true);
    } else {
        scsiBus_->clear();
    }
}

bool CSamplerSettingsDialog::AddSampler(const SSamplerModel& model, const std::string& userName)
{
    try {
        samplers_.Add(model, userName);
    } catch (const XSamplerNameMissing&) {
        ShowAlert(AlertReference(129, 64), {}, this);
        return false;
    }
    Fill();
    list_->setCurrentRow(list_->count() - 1);
    return true;
}

bool CSamplerSettingsDialog::RenameSelected(const std::string& userName)
{
    const int row = list_->currentRow();
    if (row < 0)
        return false;
    try {
        samplers_.Rename(static_cast<size_t>(row), userName);
    } catch (const XSamplerNameMissing&) {
        ShowAlert(AlertReference(129, 64), {}, this);
        return false;
    }
    Fill();
    return true;
}

void CSamplerSettingsDialog::RemoveSelected()
{
    const int row = list_->currentRow();
    if (row < 0)
        return;
    if (ShowAlert(AlertReference(129, 60), {}, this) != AlertResultForSlot(0)) // "Yes"
        return;
    samplers_.Remove(static_cast<size_t>(row));
    Fill();
}

size_t CSamplerSettingsDialog::FindSamplers()
{
    const size_t before = samplers_.Count();
    const size_t installed = FindAndOfferSamplers(samplers_, SSamplerDevices{midiPorts_, scsiBusRegistry_}, this);
    if (installed > 0) {
        Fill();
        list_->setCurrentRow(static_cast<int>(before));
    }
    return installed;
}

void CSamplerSettingsDialog::AskAdd()
{
    CModalDialog chooser(this);
    chooser.setWindowTitle(tr("Add Sampler"));
    auto* form = new QFormLayout(&chooser);
    auto* models = new QComboBox(&chooser);
    for (const SSamplerModel& model : SamplerModels())
        models->addItem(QString::fromUtf8(model.name.data(), static_cast<int>(model.name.size())));
    auto* name = new QLineEdit(&chooser);
    name->setMaxLength(static_cast<int>(CInstalledSamplers::kMaxUserName));
    auto propose = [name](int index) {
        name->setText(QString::fromStdString(
            CInstalledSamplers::ProposedName(BuiltInTextResources(), SamplerModels()[static_cast<size_t>(index)])));
    };
    propose(0);
    connect(models, &QComboBox::currentIndexChanged, &chooser, propose);
    form->addRow(tr("Model:"), models);
    form->addRow(tr("Name:"), name);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &chooser);
    // Find leaves the choice to the search.
    QPushButton* find = buttons->addButton(tr("Find..."), QDialogButtonBox::ActionRole);
    connect(find, &QPushButton::clicked, &chooser, [&chooser] { chooser.Finish(kFindChosen); });
    connect(buttons, &QDialogButtonBox::accepted, &chooser, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &chooser, &QDialog::reject);
    form->addRow(buttons);
    int answer = QDialog::Rejected;
    while ((answer = chooser.RunModal()) == QDialog::Accepted) {
        if (AddSampler(SamplerModels()[static_cast<size_t>(models->currentIndex())], name->text().toStdString()))
            return;
    }
    if (answer == kFindChosen)
        FindSamplers();
}

void CSamplerSettingsDialog::AskRename()
{
    const CPersistentInstalledSampler* sampler = Selected();
    if (sampler == nullptr)
        return;
    bool ok = false;
    const QString name = QInputDialog::getText(this, tr("Rename Sampler"), tr("Name:"), QLineEdit::Normal,
                                               QString::fromStdString(sampler->userName), &ok);
    if (ok)
        RenameSelected(name.toStdString());
}

} // namespace quorvel
