#include "ui/preferences/PreferencesDialog.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include "framework/EmbeddedResources.h"
#include "framework/MenuScript.h"
#include "framework/ResourceReference.h"
#include "framework/TextResources.h"
#include "playback/SoundSystem.h"
#include "ui/window/WindowTexts.h"

namespace quorvel {

namespace {

constexpr uint32_t kWaveformTypeMenu = 600128008;

QColor ToQColor(const SRGBColor& color) { return QColor::fromRgba64(color.red, color.green, color.blue); }
SRGBColor FromQColor(const QColor& color)
{
    const QRgba64 rgba = color.rgba64();
    return {rgba.red(), rgba.green(), rgba.blue()};
}

QString CardLabel(const CRegisteredSoundCard& card)
{
    return QString::fromStdString(card.Type() + ": " + card.Name());
}

} // namespace

CPreferencesDialog::CPreferencesDialog(SSettings& settings, CSoundSystem* sound, QWidget* parent)
    : CModalDialog(parent), settings_(settings), edited_(settings), sound_(sound),
      entryCard_(sound ? sound->SelectedCardIndex() : CSoundSystem::kNoCard),
      entryLatency_(sound ? sound->SelectedLatency() : 0)
{
    setWindowTitle(tr("Preferences"));
    auto* layout = new QVBoxLayout(this);

    auto* soundGroup = new QGroupBox(tr("Sound Output"), this);
    auto* soundForm = new QFormLayout(soundGroup);
    BuildSoundGroup(*soundForm);
    layout->addWidget(soundGroup);

    auto* waveGroup = new QGroupBox(tr("Waveform"), this);
    auto* waveForm = new QFormLayout(waveGroup);
    colorButton_ = new QPushButton(waveGroup);
    colorButton_->setMinimumWidth(96);
    connect(colorButton_, &QPushButton::clicked, this, &CPreferencesDialog::ChooseColor);
    waveForm->addRow(tr("Colour:"), colorButton_);
    brightness_ = new QSlider(Qt::Horizontal, waveGroup);
    brightness_->setRange(0, 100);
    brightness_->setValue(edited_.application.brightness);
    connect(brightness_, &QSlider::valueChanged, this,
            [this](int value) { edited_.application.brightness = static_cast<uint8_t>(value); });
    waveForm->addRow(tr("Brightness:"), brightness_);
    look_ = new QComboBox(waveGroup);
    const MenuRecord looks = ParseMenuScript(BuiltInTextResources().MenuScript(kWaveformTypeMenu));
    for (const MenuItemRecord& item : looks.items)
        look_->addItem(QString::fromStdString(item.text));
    look_->setCurrentIndex(static_cast<int>(edited_.application.waveformLook));
    connect(look_, &QComboBox::currentIndexChanged, this,
            [this](int index) { edited_.application.waveformLook = static_cast<WaveformLook>(index); });
    waveForm->addRow(QString::fromStdString(looks.title) + ":", look_);
    layout->addWidget(waveGroup);
    ShowColor();

    auto* switchGroup = new QGroupBox(tr("Documents"), this);
    auto* switchLayout = new QVBoxLayout(switchGroup);
    struct Switch {
        const char* text;
        bool SApplicationPreferences::*field;
    };
    const Switch switches[] = {
        {"Scroll During Playback (Press \"F\" to toggle)", &SApplicationPreferences::scrollDuringPlayback},
        {"Always Move Left Locator to First Slice Point", &SApplicationPreferences::alwaysMoveLeftLocator},
        {"Set \"Bars\" to 1 in New Documents", &SApplicationPreferences::barsToOneInNewDocuments},
        {"Show Open Dialog on Startup", &SApplicationPreferences::showOpenDialogOnStartup},
    };
    for (int i = 0; i < 4; ++i) {
        auto* box = new QCheckBox(QString::fromUtf8(switches[i].text), switchGroup);
        const auto field = switches[i].field;
        box->setChecked(edited_.application.*field);
        connect(box, &QCheckBox::toggled, this, [this, field](bool on) { edited_.application.*field = on; });
        switchLayout->addWidget(box);
        switches_[i] = box;
    }
    layout->addWidget(switchGroup);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void CPreferencesDialog::BuildSoundGroup(QFormLayout& form)
{
    cards_ = new QComboBox(this);
    latencies_ = new QComboBox(this);
    form.addRow(tr("Sound Card:"), cards_);
    form.addRow(tr("Latency:"), latencies_);
    if (sound_ == nullptr || sound_->SoundDisabled()) {
        cards_->addItem(tr("Sound is disabled"));
        cards_->setEnabled(false);
        latencies_->setEnabled(false);
        return;
    }
    const CSoundCardRegistry& registry = sound_->Registry();
    for (uint16_t i = 0; i < registry.Count(); ++i)
        cards_->addItem(CardLabel(*registry.CardAt(i)));
    if (entryCard_ != CSoundSystem::kNoCard)
        cards_->setCurrentIndex(entryCard_);
    FillLatencies();
    connect(cards_, &QComboBox::activated, this, &CPreferencesDialog::CardChosen);
    connect(latencies_, &QComboBox::activated, this, &CPreferencesDialog::LatencyChosen);
}

void CPreferencesDialog::FillLatencies()
{
    latencies_->clear();
    const uint16_t count = sound_->LatencyCount();
    for (uint16_t i = 0; i < count; ++i)
        latencies_->addItem(QString::fromStdString(CSoundSystem::LatencyLabel(sound_->LatencyMs(i))));
    latencies_->setCurrentIndex(count > 0 ? sound_->SelectedLatency() : -1);
    latencies_->setEnabled(count > 0);
}

void CPreferencesDialog::CardChosen(int index)
{
    // Taking effect at once lets the user hear the card before committing.
    sound_->OpenCard(static_cast<uint16_t>(index));
    FillLatencies();
}

void CPreferencesDialog::LatencyChosen(int index) { sound_->SelectLatency(static_cast<uint16_t>(index)); }

void CPreferencesDialog::ChooseColor()
{
    for (int i = 0; i < QColorDialog::customCount() && i < static_cast<int>(edited_.customColors.size()); ++i)
        QColorDialog::setCustomColor(i, ToQColor(edited_.customColors[static_cast<size_t>(i)]));
    QColorDialog picker(ToQColor(edited_.application.waveformColor), this);
    picker.setWindowTitle(WindowText(windowtext::kPickColorTitle));
    const QColor chosen = picker.exec() == QDialog::Accepted ? picker.selectedColor() : QColor();
    for (int i = 0; i < QColorDialog::customCount() && i < static_cast<int>(edited_.customColors.size()); ++i)
        edited_.customColors[static_cast<size_t>(i)] = FromQColor(QColorDialog::customColor(i));
    if (chosen.isValid()) {
        edited_.application.waveformColor = FromQColor(chosen);
        ShowColor();
    }
}

void CPreferencesDialog::ShowColor()
{
    QPixmap swatch(64, 16);
    swatch.fill(ToQColor(edited_.application.waveformColor));
    colorButton_->setIcon(QIcon(swatch));
    colorButton_->setIconSize(swatch.size());
}

void CPreferencesDialog::RestoreSound()
{
    if (sound_ == nullptr || sound_->SoundDisabled() || entryCard_ == CSoundSystem::kNoCard)
        return;
    if (sound_->SelectedCardIndex() != entryCard_ || sound_->SelectedLatency() != entryLatency_)
        sound_->OpenCard(entryCard_, entryLatency_);
}

bool CPreferencesDialog::Edit()
{
    if (RunModal() == QDialog::Accepted) {
        // Only what this dialog edits; windows may have written the other
        // settings (document defaults, recent list) meanwhile.
        settings_.application = edited_.application;
        settings_.customColors = edited_.customColors;
        return true;
    }
    RestoreSound();
    return false;
}

} // namespace quorvel
