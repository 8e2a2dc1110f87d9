#pragma once
// Asks which channel of a stereo sample on the sampler to receive: Left,
// Mix (preselected) or Right.
#include "ui/app/LeftMixRightDialog.h"

namespace quorvel {

class CLeftMixRightReceiveDialog final : public CLeftMixRightDialog {
    Q_OBJECT
public:
    explicit CLeftMixRightReceiveDialog(QWidget* parent = nullptr);

    // The channel, or nothing when the box was closed without a choice.
    static std::optional<ChannelMode> AskChannel(QWidget* parent);
};

} // namespace quorvel
