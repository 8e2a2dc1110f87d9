#pragma once
// The open dialog ("Open Sound File"): a file chooser with a preview panel
// beside it that describes the selected sound, lets the user choose in
// advance how a stereo file becomes mono, and plays the file (by hand or as
// soon as it is selected, for files of at most 30 seconds).
#include <QFileDialog>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "fileformats/SoundImport.h"
#include "playback/WavePlayer.h"
#include "ui/app/OpenPreview.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace quorvel {

struct SOpenChoice {
    std::string path;
    ChannelMode mode = ChannelMode::Left;
};

class COpenAudioDialog final : public QFileDialog, private CWavePlayerNotifier {
    Q_OBJECT
public:
    // `player` plays the previews when `soundAvailable`; it must outlive the
    // dialog.
    COpenAudioDialog(CWavePlayer& player, bool soundAvailable, QWidget* parent = nullptr);
    ~COpenAudioDialog() override;

    // Runs the dialog; nothing when cancelled.
    static std::optional<SOpenChoice> Ask(CWavePlayer& player, bool soundAvailable, QWidget* parent);

    // Replaces the dialog with a call while set (tests, scripted runs).
    using Responder = std::function<std::optional<SOpenChoice>()>;
    static void SetResponder(Responder responder);

    // Describes `path` in the panel as a selection change would.
    void ShowPreviewOf(const QString& path);
    // The panel's texts, one "Label: value" per line, then any message.
    QString PreviewText() const;
    bool PlayEnabled() const;
    // The channel mode the file would be opened with.
    ChannelMode ChosenMode() const;

    void accept() override;

private:
    QWidget* BuildPanel();
    void ClearPreview(const QString& message = {});
    void TogglePlay();
    void StartPlaying();
    void StopPlaying();
    void PlaybackStopped() override;
    void PlaybackStarted() override {}

    CWavePlayer& player_;
    bool soundAvailable_;
    QString previewPath_;
    std::optional<SOpenPreview> preview_;
    std::unique_ptr<WAVE_SAMPLE> previewSound_;
    QTimer idleTimer_;

    QLabel* type_ = nullptr;
    QLabel* channels_ = nullptr;
    QLabel* length_ = nullptr;
    QLabel* bits_ = nullptr;
    QLabel* rate_ = nullptr;
    QLabel* message_ = nullptr;
    QRadioButton* useLeft_ = nullptr;
    QRadioButton* useRight_ = nullptr;
    QRadioButton* mix_ = nullptr;
    QPushButton* play_ = nullptr;
    QCheckBox* autoPlay_ = nullptr;
};

} // namespace quorvel
