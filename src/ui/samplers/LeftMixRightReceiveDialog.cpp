#include "ui/samplers/LeftMixRightReceiveDialog.h"

namespace quorvel {

CLeftMixRightReceiveDialog::CLeftMixRightReceiveDialog(QWidget* parent)
    : CLeftMixRightDialog(QStringLiteral("This is a stereo sample.\nWhich channel do you want to receive?"), parent)
{
}

std::optional<ChannelMode> CLeftMixRightReceiveDialog::AskChannel(QWidget* parent)
{
    CLeftMixRightReceiveDialog dialog(parent);
    switch (dialog.RunModal()) {
    case kLeft:
        return ChannelMode::Left;
    case kMix:
        return ChannelMode::Mix;
    case kRight:
        return ChannelMode::Right;
    default:
        return std::nullopt;
    }
}

} // namespace quorvel
