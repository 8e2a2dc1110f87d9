#pragma once
// The Preferences dialog: the sound card and its latency (both take effect
// at once), the waveform's colour, brightness and look, and the
// application's switches. OK keeps everything; Cancel puts the card and
// latency back as they were and leaves the settings untouched.
#include "document/ApplicationSettings.h"
#include "framework/window/ModalDialog.h"

class QCheckBox;
class QFormLayout;
class QComboBox;
class QPushButton;
class QSlider;

namespace quorvel {

class CSoundSystem;

class CPreferencesDialog : public CModalDialog {
    Q_OBJECT
public:
    // `sound` may be null (no sound system): the sound controls are disabled.
    CPreferencesDialog(SSettings& settings, CSoundSystem* sound, QWidget* parent = nullptr);

    // Runs the dialog; true when OK stored the new settings.
    bool Edit();

    // For tests: the controls by role.
    QComboBox* CardList() const { return cards_; }
    QComboBox* LatencyList() const { return latencies_; }
    QComboBox* LookList() const { return look_; }
    QSlider* BrightnessSlider() const { return brightness_; }
    QCheckBox* Switch(int index) const { return switches_[index]; }
    QPushButton* ColorButton() const { return colorButton_; }
    // What the dialog would store on OK.
    const SSettings& Edited() const { return edited_; }

private:
    void BuildSoundGroup(QFormLayout& form);
    void FillLatencies();
    void CardChosen(int index);
    void LatencyChosen(int index);
    void ChooseColor();
    void ShowColor();
    void RestoreSound();

    SSettings& settings_;
    SSettings edited_;
    CSoundSystem* sound_;
    uint16_t entryCard_;
    uint16_t entryLatency_;
    QComboBox* cards_ = nullptr;
    QComboBox* latencies_ = nullptr;
    QComboBox* look_ = nullptr;
    QSlider* brightness_ = nullptr;
    QPushButton* colorButton_ = nullptr;
    QCheckBox* switches_[4] = {};
};

} // namespace quorvel
