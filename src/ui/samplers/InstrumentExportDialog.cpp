#include "ui/samplers/InstrumentExportDialog.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quorvel {

CInstrumentExportDialog::CInstrumentExportDialog(const QString& title, const QString& text, bool withName,
                                                 bool withMidiFile, QWidget* parent)
    : CModalDialog(parent)
{
    setWindowTitle(title);
    rows_ = new QVBoxLayout(this);
    auto* label = new QLabel(text, this);
    label->setWordWrap(true);
    rows_->addWidget(label);
    if (withName) {
        auto* form = new QFormLayout;
        name_ = new QLineEdit(this);
        form->addRow(QStringLiteral("Name:"), name_);
        rows_->addLayout(form);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    if (withMidiFile) {
        auto* both = new QPushButton(QStringLiteral("MIDI File + Export..."), this);
        connect(both, &QPushButton::clicked, this, [this] { Finish(kMidiFileAndExport); });
        buttons->addWidget(both);
    }
    auto* exportButton = new QPushButton(QStringLiteral("Export..."), this);
    exportButton->setDefault(true);
    connect(exportButton, &QPushButton::clicked, this, [this] { Finish(kExport); });
    buttons->addWidget(exportButton);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    connect(cancel, &QPushButton::clicked, this, [this] { Finish(kCancel); });
    buttons->addWidget(cancel);
    rows_->addStretch();
    rows_->addLayout(buttons);
    setMinimumWidth(360);
}

void CInstrumentExportDialog::AddRow(QWidget* row) { rows_->insertWidget(rows_->count() - 2, row); }

std::string CInstrumentExportDialog::Name() const { return name_ ? name_->text().toStdString() : std::string(); }

CSoundFontExportDialog::CSoundFontExportDialog(const std::string& name, QWidget* parent)
    : CInstrumentExportDialog(QStringLiteral("Export SoundFont File"),
                              tr("Writes the slices as a SoundFont bank, one key per slice from C1 upward."), true,
                              true, parent)
{
    findChild<QLineEdit*>()->setText(QString::fromStdString(name));
}

CMixmanExportDialog::CMixmanExportDialog(const std::string& name, QWidget* parent)
    : CInstrumentExportDialog(QStringLiteral("Export Mixman TRK File"),
                              tr("Writes the loop with its groove and every slice as one track file."), true,
                              false, parent)
{
    findChild<QLineEdit*>()->setText(QString::fromStdString(name));
}

CSfzExportDialog::CSfzExportDialog(const std::string& name, QWidget* parent)
    : CInstrumentExportDialog(QStringLiteral("Export SFZ Instrument"),
                              tr("Writes the slices as WAV files and an SFZ instrument that plays them, one key per "
                                 "slice from C1 upward. \"MIDI File + Export...\" puts the groove beside it."),
                              true, true, parent)
{
    findChild<QLineEdit*>()->setText(QString::fromStdString(name));
}

CHydrogenKitExportDialog::CHydrogenKitExportDialog(const std::string& name, QWidget* parent)
    : CInstrumentExportDialog(QStringLiteral("Export Hydrogen Drum Kit"),
                              tr("Writes the slices as a drum kit archive, one instrument per slice (at most 32)."),
                              true, false, parent)
{
    findChild<QLineEdit*>()->setText(QString::fromStdString(name));
}

CSampleCellExportDialog::CSampleCellExportDialog(SampleCellExportSettings& settings, QWidget* parent)
    : CInstrumentExportDialog(QStringLiteral("Export SampleCell Instrument"),
                              tr("Writes the slices as WAV files and an instrument that maps them to keys from C1 "
                                 "upward."),
                              false, true, parent),
      settings_(settings)
{
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    useTemplate_ = new QCheckBox(QStringLiteral("Use Template:"), row);
    templateName_ = new QLabel(row);
    auto* browse = new QPushButton(QStringLiteral("Browse..."), row);
    layout->addWidget(useTemplate_);
    layout->addWidget(templateName_, 1);
    layout->addWidget(browse);
    AddRow(row);
    connect(browse, &QPushButton::clicked, this, &CSampleCellExportDialog::Browse);
    connect(useTemplate_, &QCheckBox::toggled, this, [this](bool on) { settings_.useTemplate = on; });
    ShowTemplate();
}

void CSampleCellExportDialog::Browse()
{
    const QString chosen = QFileDialog::getOpenFileName(this, QStringLiteral("Choose Template File"), QString(),
                                                        QStringLiteral("SampleCell instrument file (*)"), nullptr,
                                                        QFileDialog::DontUseNativeDialog);
    if (chosen.isEmpty())
        return;
    settings_.templateFile = CFileSpec(chosen.toStdString());
    settings_.useTemplate = true;
    ShowTemplate();
}

void CSampleCellExportDialog::ShowTemplate()
{
    const bool hasTemplate = !settings_.templateFile.Name().empty();
    templateName_->setText(hasTemplate ? QString::fromStdString(settings_.templateFile.Name()) : tr("(none)"));
    useTemplate_->setEnabled(hasTemplate);
    useTemplate_->setChecked(hasTemplate && settings_.useTemplate);
}

} // namespace quorvel
