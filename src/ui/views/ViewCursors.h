#pragma once
// Pointer shapes of the views.
#include <QCursor>

namespace quorvel {

enum class ViewPointer {
    Arrow,       // Arrow, Hide and Lock over the waveform
    Pen,         // Pen over the waveform
    Hide,        // Hide tool over a slice handle
    Lock,        // Lock tool over a slice handle
    Grab,        // over the overview's frame
    Grabbing,    // dragging the overview's frame
    MagnifyIn,   // magnify modifier held
    MagnifyOut,  // magnify modifier with Alt
};

const QCursor& PointerShape(ViewPointer pointer);

} // namespace quorvel
