#pragma once
// The pictures on the document window's buttons, drawn in the palette's
// button-text colour so they suit light and dark themes alike.
#include <QIcon>

namespace quorvel {

enum class ControlPicture {
    Stop,
    PlayLoop,
    PlayPrevious,
    PlayCurrent,
    PlayNext,
    ArrowTool,
    HideTool,
    LockTool,
    PenTool,
    OneSample,
    Normalize,
    SilenceSelected,
    PitchMode,
    Transmit,
};

QIcon ControlIcon(ControlPicture picture, const QColor& ink);

} // namespace quorvel
