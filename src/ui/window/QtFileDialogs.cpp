#include "ui/window/QtFileDialogs.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>

#include "document/SampleRateText.h"
#include "fileformats/FileTypes.h"
#include "ui/window/WindowTexts.h"

namespace quorvel {

namespace {

// "Audio IFF (*.aif *.aiff)" from a type's ".aif;.aiff".
QString NameFilter(const std::string& description, const std::string& extensions)
{
    QStringList patterns;
    for (const QString& extension : QString::fromStdString(extensions).split(';', Qt::SkipEmptyParts))
        patterns << "*" + extension;
    return QString("%1 (%2)").arg(QString::fromStdString(description), patterns.join(' '));
}

QString NameFilter(const FileTypeSpec& type)
{
    return NameFilter(type.description, type.extensions);
}

QString WithoutDot(const std::string& extension)
{
    return QString::fromStdString(extension).remove(0, extension.starts_with('.') ? 1 : 0);
}

void PrepareSaveDialog(QFileDialog& dialog, const std::string& folder, const std::string& defaultName)
{
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (!folder.empty())
        dialog.setDirectory(QString::fromStdString(folder));
    if (!defaultName.empty())
        dialog.selectFile(QString::fromStdString(defaultName));
}

} // namespace

CExportSoundDialog::CExportSoundDialog(const std::string& defaultName, int32_t soundRate, const std::string& folder,
                                       QWidget* parent)
    : QFileDialog(parent, WindowText(windowtext::kExportSoundTitle))
{
    setObjectName("Export sound");
    setNameFilters({NameFilter(filetypes::kAIFF), NameFilter(filetypes::kWave), NameFilter(filetypes::kFLAC)});
    PrepareSaveDialog(*this, folder, defaultName);
    FollowFileType(selectedNameFilter());
    connect(this, &QFileDialog::filterSelected, this, &CExportSoundDialog::FollowFileType);

    rates_ = new QComboBox(this);
    rates_->addItem(WindowText(windowtext::kRate44Label), 44100);
    rates_->addItem(WindowText(windowtext::kRate48Label), 48000);
    int own = rates_->findData(soundRate);
    if (own < 0) {
        rates_->insertItem(0, QString::fromStdString(SampleRateText(soundRate)), soundRate);
        own = 0;
    }
    rates_->setCurrentIndex(own);

    // Qt's own dialog lays itself out on a grid: the list joins its last row.
    auto* label = new QLabel("Sample Rate:", this);
    label->setBuddy(rates_);
    if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
        const int row = grid->rowCount();
        grid->addWidget(label, row, 0);
        grid->addWidget(rates_, row, 1, Qt::AlignLeft);
    }
}

void CExportSoundDialog::FollowFileType(const QString& filter)
{
    const FileTypeSpec& type = filter == NameFilter(filetypes::kWave)   ? filetypes::kWave
                               : filter == NameFilter(filetypes::kFLAC) ? filetypes::kFLAC
                                                                        : filetypes::kAIFF;
    setDefaultSuffix(WithoutDot(FirstExtension(type)));
}

SSoundExportChoice CExportSoundDialog::Choice() const
{
    SSoundExportChoice choice;
    const QStringList files = selectedFiles();
    if (!files.isEmpty())
        choice.path = files.first().toStdString();
    choice.wave = selectedNameFilter() == NameFilter(filetypes::kWave);
    choice.flac = selectedNameFilter() == NameFilter(filetypes::kFLAC);
    choice.sampleRate = rates_->currentData().toInt();
    return choice;
}

std::optional<std::string> CQtFileDialogs::AskSaveFile(const SSaveFileRequest& request)
{
    QFileDialog dialog(parent_, QString::fromStdString(request.title));
    dialog.setNameFilter(NameFilter(request.typeName, request.extension));
    dialog.setDefaultSuffix(WithoutDot(request.extension));
    PrepareSaveDialog(dialog, request.folder, request.defaultName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first().toStdString();
}

std::optional<SSoundExportChoice> CQtFileDialogs::AskExportSound(const std::string& defaultName, int32_t soundRate,
                                                                 const std::string& folder)
{
    CExportSoundDialog dialog(defaultName, soundRate, folder, parent_);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    SSoundExportChoice choice = dialog.Choice();
    if (choice.path.empty())
        return std::nullopt;
    return choice;
}

} // namespace quorvel
