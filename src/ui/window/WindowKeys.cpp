#include "ui/window/WindowKeys.h"

namespace quorvel {

namespace {

constexpr int kSensitivityStep = 110;

SKeyBinding Transport(KeyCommand command)
{
    return {command, 0, true};
}

// The numeric pad, Num Lock on or off.
SKeyBinding PadBinding(int key)
{
    switch (key) {
    case Qt::Key_1:
    case Qt::Key_End:
        return {KeyCommand::JumpToLeftLocator};
    case Qt::Key_2:
    case Qt::Key_Down:
        return {KeyCommand::JumpToRightLocator};
    case Qt::Key_4:
    case Qt::Key_Left:
        return {KeyCommand::PreviousSlice};
    case Qt::Key_6:
    case Qt::Key_Right:
        return {KeyCommand::NextSlice};
    case Qt::Key_7:
    case Qt::Key_Home:
        return Transport(KeyCommand::PlayPreviousSlice);
    case Qt::Key_8:
    case Qt::Key_Up:
        return Transport(KeyCommand::PlayCurrentSlice);
    case Qt::Key_9:
    case Qt::Key_PageUp:
        return Transport(KeyCommand::PlaySliceAndMoveToNext);
    case Qt::Key_0:
    case Qt::Key_Insert:
        return Transport(KeyCommand::Stop);
    case Qt::Key_Enter:
        return Transport(KeyCommand::PlayLoop);
    default:
        return {};
    }
}

} // namespace

SKeyBinding BindingForKey(int key, Qt::KeyboardModifiers modifiers)
{
    const bool ctrl = modifiers.testFlag(Qt::ControlModifier);
    const bool pad = modifiers.testFlag(Qt::KeypadModifier);

    if (pad && (key == Qt::Key_Plus || key == Qt::Key_Minus)) {
        const bool up = key == Qt::Key_Plus;
        if (ctrl)
            return {up ? KeyCommand::ZoomIn : KeyCommand::ZoomOut};
        return {up ? KeyCommand::SensitivityUp : KeyCommand::SensitivityDown};
    }
    if (pad)
        return PadBinding(key);

    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        const int digit = key - Qt::Key_0;
        if (ctrl)
            return digit >= 1 && digit <= 4 ? SKeyBinding{KeyCommand::ChooseTool, digit - 1} : SKeyBinding{};
        return {KeyCommand::SetSensitivity, digit * kSensitivityStep};
    }
    switch (key) {
    case Qt::Key_Equal:
        return {ctrl ? KeyCommand::ZoomIn : KeyCommand::SensitivityUp};
    case Qt::Key_Slash:
        return {ctrl ? KeyCommand::ZoomOut : KeyCommand::SensitivityDown};
    case Qt::Key_F:
        return {KeyCommand::ToggleScrollDuringPlayback};
    case Qt::Key_Left:
        return {KeyCommand::PreviousSlice};
    case Qt::Key_Right:
        return {KeyCommand::NextSlice};
    case Qt::Key_Space:
        return Transport(KeyCommand::StopOrPlayLoop);
    case Qt::Key_Up:
        return Transport(KeyCommand::PlayCurrentSlice);
    default:
        return {};
    }
}

} // namespace quorvel
