// What the views report, turned into tools, selection and playing.
#include "ui/views/WaveformPane.h"
#include "document/CurrentSliceRules.h"
#include "ui/window/QuorvelWindowParts.h"
#include "document/SliceTools.h"
#include "ui/window/WindowServices.h"

namespace quorvel {

// ---- What the views report ---------------------------------------------------

void CQuorvelWindow::ViewActions::SliceHandlePressed(CSlice& slice, bool shift)
{
    CSoundDocument& d = *window_.parts_->document;
    window_.SlicesEdited(ApplyToolToHandle(d.Tool(), d.Slices(), slice, shift));
}

void CQuorvelWindow::ViewActions::SliceStripEmptyPressed(bool shift)
{
    CSoundDocument& d = *window_.parts_->document;
    if (d.Tool() == DocumentTool::Arrow && !shift)
        window_.SlicesEdited(ClearSelection(d.Slices()));
}

void CQuorvelWindow::ViewActions::SliceStripDragged(int32_t from, int32_t to)
{
    CSoundDocument& d = *window_.parts_->document;
    if (d.Tool() == DocumentTool::Arrow)
        window_.SlicesEdited(SelectRange(d.Slices(), from, to));
}

void CQuorvelWindow::ViewActions::WaveformClicked(int32_t frame)
{
    Parts& parts = *window_.parts_;
    if (parts.document->Tool() == DocumentTool::Pen)
        return;
    parts.commands.SetSoundEnabled(parts.services.SoundAvailable());
    if (CSlice* slice = parts.document->Slices().SliceAt(frame))
        parts.commands.PlayFromSlice(*slice);
    else
        parts.commands.PlayFromPosition(frame);
    parts.pane->IdleStep();
    window_.RefreshTransport();
}

void CQuorvelWindow::ViewActions::PenReleased(int32_t frame)
{
    CSoundDocument& d = *window_.parts_->document;
    if (d.Tool() != DocumentTool::Pen || !InsertPenSlice(d, frame))
        return;
    window_.parts_->pane->SlicesChanged();
    window_.Refresh();
}

void CQuorvelWindow::ViewActions::LocatorsMoved(bool leftHandleDragged)
{
    if (leftHandleDragged)
        window_.parts_->commands.JumpToLeftLocator();
    window_.Refresh();
}

int32_t CQuorvelWindow::ViewActions::CursorPosition()
{
    return window_.parts_->commands.CursorPosition();
}

bool CQuorvelWindow::ViewActions::Playing()
{
    return window_.parts_->commands.IsPlaying();
}

} // namespace quorvel
