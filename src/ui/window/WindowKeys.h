#pragma once
// Which document-window command a key press stands for.
#include <Qt>

namespace quorvel {

enum class KeyCommand {
    None,
    ChooseTool,       // value: the tool
    SetSensitivity,   // value: 0 .. 990
    SensitivityUp,
    SensitivityDown,
    ZoomIn,
    ZoomOut,
    ToggleScrollDuringPlayback,
    PreviousSlice,
    NextSlice,
    JumpToLeftLocator,
    JumpToRightLocator,
    // Pressing a transport button: the first key-down only.
    StopOrPlayLoop,
    PlayCurrentSlice,
    PlayPreviousSlice,
    PlaySliceAndMoveToNext,
    Stop,
    PlayLoop,
};

struct SKeyBinding {
    KeyCommand command = KeyCommand::None;
    int value = 0;
    // Auto-repeat of the key does nothing.
    bool firstPressOnly = false;
};

// Ctrl means either Control key; the numeric pad is told apart by Qt's
// keypad modifier (with Num Lock off its keys arrive as cursor keys).
SKeyBinding BindingForKey(int key, Qt::KeyboardModifiers modifiers);

} // namespace quorvel
