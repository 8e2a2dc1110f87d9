#pragma once
// What the views report to their document window. The views hit-test and
// snap; the window decides what a hit means for the document (tools,
// selection, playing).
#include <cstdint>

namespace quorvel {

struct CSlice;

class CViewActions {
public:
    virtual ~CViewActions() = default;

    // Slice handle strip: a press on a handle (already hit-tested), a press
    // on empty space, and the frames covered by a drag that started on empty
    // space (from <= to; sent while dragging and at release).
    virtual void SliceHandlePressed(CSlice& slice, bool shift) = 0;
    virtual void SliceStripEmptyPressed(bool shift) = 0;
    virtual void SliceStripDragged(int32_t from, int32_t to) = 0;

    // Waveform: a click to play with the Arrow, Hide or Lock tool (not sent
    // for magnify clicks), and a Pen release at the previewed frame.
    virtual void WaveformClicked(int32_t frame) = 0;
    virtual void PenReleased(int32_t frame) = 0;

    // The ruler moved the document's locators (already stored in the
    // document); `leftHandleDragged` when the left handle was dragged.
    virtual void LocatorsMoved(bool leftHandleDragged) = 0;

    // The visible stretch changed (zoom, scroll, overview, slider).
    virtual void VisibleRangeChanged() {}

    // Where the views draw the play cursor, and whether this window plays.
    virtual int32_t CursorPosition() = 0;
    virtual bool Playing() = 0;
};

} // namespace quorvel
