#pragma once
// Asks which channel of a stereo file becomes the mono sound: "Left", "Mix"
// (the default) or "Right". Used where no channel was chosen in advance (the
// command line, a second copy's hand-over, the recent-documents list).
#include <optional>

#include "fileformats/SoundImport.h"
#include "framework/window/ModalDialog.h"

namespace quorvel {

class CLeftMixRightDialog : public CModalDialog {
    Q_OBJECT
public:
    // RunModal's results; 0 when the box was closed without a choice.
    static constexpr int kLeft = 1;
    static constexpr int kMix = 2;
    static constexpr int kRight = 3;

    explicit CLeftMixRightDialog(QWidget* parent = nullptr);
    // The same three buttons under another question.
    CLeftMixRightDialog(const QString& prompt, QWidget* parent);

    // The chosen mode, or nothing when the box was closed without a choice
    // (the file is then not opened).
    static std::optional<ChannelMode> Ask(QWidget* parent);
};

} // namespace quorvel
