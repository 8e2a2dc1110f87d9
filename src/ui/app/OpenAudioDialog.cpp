#include "ui/app/OpenAudioDialog.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "fileformats/FileAlerts.h"
#include "fileformats/ImportLimits.h"
#include "framework/ResourceReference.h"
#include "framework/window/AlertBox.h"
#include "ui/window/WindowTexts.h"

namespace quorvel {

namespace {

constexpr uint32_t kTable = 129;
constexpr uint32_t kPreviewUnreadable = 24;
// Often enough that a finished preview comes to rest without a visible lag.
constexpr int kIdleIntervalMs = 50;

COpenAudioDialog::Responder responder;
// Where the next dialog starts: the folder of the last file chosen.
QString lastFolder;

QString Text(const std::string& text) { return QString::fromStdString(text); }

} // namespace

COpenAudioDialog::COpenAudioDialog(CWavePlayer& player, bool soundAvailable, QWidget* parent)
    : QFileDialog(parent), player_(player), soundAvailable_(soundAvailable)
{
    // The preview panel needs Qt's own dialog; a desktop's native one cannot
    // take extra widgets.
    setOption(QFileDialog::DontUseNativeDialog);
    setWindowTitle(WindowText(windowtext::kOpenSoundTitle));
    setFileMode(QFileDialog::ExistingFile);
    setAcceptMode(QFileDialog::AcceptOpen);
    setNameFilters({QStringLiteral("Sound Files (*.aif *.aiff *.wav *.wave *.qvl)"), QStringLiteral("All Files (*)")});
    if (!lastFolder.isEmpty())
        setDirectory(lastFolder);

    if (auto* grid = qobject_cast<QGridLayout*>(layout()))
        grid->addWidget(BuildPanel(), 0, grid->columnCount(), grid->rowCount(), 1);
    else
        layout()->addWidget(BuildPanel());

    connect(this, &QFileDialog::currentChanged, this, &COpenAudioDialog::ShowPreviewOf);
    idleTimer_.setInterval(kIdleIntervalMs);
    connect(&idleTimer_, &QTimer::timeout, this, [this] { player_.IdleStep(); });
    ClearPreview();
}

COpenAudioDialog::~COpenAudioDialog() { StopPlaying(); }

QWidget* COpenAudioDialog::BuildPanel()
{
    auto* panel = new QGroupBox(QStringLiteral("Preview"), this);
    auto* layout = new QVBoxLayout(panel);
    auto* facts = new QFormLayout;
    for (auto [label, field] : {std::pair{"Type:", &type_}, {"Channels:", &channels_}, {"Length:", &length_},
                                {"Bits:", &bits_}, {"Sample Rate:", &rate_}}) {
        *field = new QLabel(panel);
        facts->addRow(QString::fromLatin1(label), *field);
    }
    layout->addLayout(facts);
    message_ = new QLabel(panel);
    message_->setWordWrap(true);
    layout->addWidget(message_);

    useLeft_ = new QRadioButton(QStringLiteral("Use Left Channel"), panel);
    useRight_ = new QRadioButton(QStringLiteral("Use Right Channel"), panel);
    mix_ = new QRadioButton(QStringLiteral("Mix Left+Right"), panel);
    mix_->setChecked(true);
    for (QRadioButton* button : {useLeft_, useRight_, mix_})
        layout->addWidget(button);

    play_ = new QPushButton(QStringLiteral("Play"), panel);
    play_->setAutoDefault(false);
    connect(play_, &QPushButton::clicked, this, &COpenAudioDialog::TogglePlay);
    layout->addWidget(play_);
    autoPlay_ = new QCheckBox(QStringLiteral("Auto Play"), panel);
    layout->addWidget(autoPlay_);
    layout->addStretch(1);
    return panel;
}

std::optional<SOpenChoice> COpenAudioDialog::Ask(CWavePlayer& player, bool soundAvailable, QWidget* parent)
{
    if (responder)
        return responder();
    COpenAudioDialog dialog(player, soundAvailable, parent);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const QString path = dialog.selectedFiles().constFirst();
    lastFolder = QFileInfo(path).absolutePath();
    return SOpenChoice{path.toStdString(), dialog.ChosenMode()};
}

void COpenAudioDialog::SetResponder(Responder r) { responder = std::move(r); }

void COpenAudioDialog::ClearPreview(const QString& message)
{
    preview_.reset();
    for (QLabel* field : {type_, channels_, length_, bits_, rate_})
        field->clear();
    message_->setText(message);
    for (QRadioButton* button : {useLeft_, useRight_, mix_})
        button->setEnabled(false);
    play_->setEnabled(false);
}

void COpenAudioDialog::ShowPreviewOf(const QString& path)
{
    if (path == previewPath_)
        return;
    StopPlaying();
    previewSound_.reset();
    previewPath_ = path;

    const std::string file = path.toStdString();
    const std::optional<std::string> type = QFileInfo(path).isFile() ? PreviewedTypeOf(file) : std::nullopt;
    if (!type) {
        ClearPreview();
        return;
    }
    try {
        preview_ = DescribeSoundFile(*type, ReadSoundInfo(CFileSpec(file)));
    } catch (...) {
        ClearPreview(Text(FileAlertText(kPreviewUnreadable)));
        return;
    }
    type_->setText(Text(preview_->type));
    channels_->setText(Text(preview_->channels));
    length_->setText(Text(preview_->length));
    bits_->setText(Text(preview_->bits));
    rate_->setText(Text(preview_->sampleRate));
    message_->setText(preview_->Usable() ? QString() : Text(FileAlertText(preview_->limitAlert)));
    for (QRadioButton* button : {useLeft_, useRight_, mix_})
        button->setEnabled(preview_->Usable() && preview_->stereo);
    play_->setEnabled(PlayEnabled());

    if (autoPlay_->isChecked() && PlayEnabled()) {
        if (preview_->autoPlayAllowed)
            StartPlaying();
        else
            ShowAlert(AlertReference(kTable, kAutoPlayAlert), {}, this);
    }
}

QString COpenAudioDialog::PreviewText() const
{
    QStringList lines;
    if (preview_) {
        lines << QStringLiteral("Type: ") + type_->text() << QStringLiteral("Channels: ") + channels_->text()
              << QStringLiteral("Length: ") + length_->text() << QStringLiteral("Bits: ") + bits_->text()
              << QStringLiteral("Sample Rate: ") + rate_->text();
    }
    if (!message_->text().isEmpty())
        lines << message_->text();
    return lines.join(QLatin1Char('\n'));
}

bool COpenAudioDialog::PlayEnabled() const { return soundAvailable_ && preview_ && preview_->Usable(); }

ChannelMode COpenAudioDialog::ChosenMode() const
{
    if (!preview_ || !preview_->stereo)
        return ChannelMode::Left;
    return useLeft_->isChecked() ? ChannelMode::Left : useRight_->isChecked() ? ChannelMode::Right : ChannelMode::Mix;
}

void COpenAudioDialog::TogglePlay()
{
    if (previewSound_ && player_.IsPlaying(previewSound_.get()))
        StopPlaying();
    else
        StartPlaying();
}

void COpenAudioDialog::StartPlaying()
{
    if (!PlayEnabled())
        return;
    StopPlaying();
    try {
        previewSound_ = LoadSound(CFileSpec(previewPath_.toStdString()), ChosenMode());
    } catch (...) {
        previewSound_.reset();
        ShowAlert(AlertReference(kTable, kPreviewUnreadable), {}, this);
        return;
    }
    if (previewSound_->Length() == 0)
        return;
    player_.PlayAll(*previewSound_, this);
    play_->setText(QStringLiteral("Stop"));
    idleTimer_.start();
}

void COpenAudioDialog::StopPlaying()
{
    if (previewSound_ && player_.IsPlaying(previewSound_.get()))
        player_.Stop();
    PlaybackStopped();
}

void COpenAudioDialog::PlaybackStopped()
{
    idleTimer_.stop();
    if (play_)
        play_->setText(QStringLiteral("Play"));
}

void COpenAudioDialog::accept()
{
    // A file the import would refuse is not opened: say which limit it breaks.
    const QStringList chosen = selectedFiles();
    if (chosen.size() == 1 && QFileInfo(chosen.constFirst()).isFile()) {
        ShowPreviewOf(chosen.constFirst());
        if (preview_ && !preview_->Usable()) {
            ShowAlert(AlertReference(kTable, static_cast<uint32_t>(preview_->limitAlert)), {}, this);
            return;
        }
    }
    StopPlaying();
    QFileDialog::accept();
}

} // namespace quorvel
