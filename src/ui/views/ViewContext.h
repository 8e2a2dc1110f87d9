#pragma once
// What the views of one pane share: the document, the window's actions, the
// preferences, and the pane's time axis that keeps them on one stretch.
#include <cstdint>

namespace quorvel {

class CSoundDocument;
class CViewActions;
struct SApplicationPreferences;
struct TimeWindow;

class CTimeAxis {
public:
    virtual ~CTimeAxis() = default;
    // The main waveform's window, which every view follows.
    virtual const TimeWindow& MainWindow() const = 0;
    virtual void ShowStretch(int32_t start, int32_t end) = 0;
    virtual void ScrollMainTo(int32_t start) = 0;
    virtual void ZoomInAround(int32_t frame) = 0;
    virtual void ZoomOut() = 0;
    // A view holds the mouse button: playback does not scroll meanwhile.
    virtual void SetMouseHeld(bool held) = 0;
    // The ruler moved a locator: the waveforms redraw their locator lines.
    virtual void LocatorsEdited() = 0;
    // A view's width changed.
    virtual void ViewResized() = 0;
};

struct SViewContext {
    CSoundDocument& document;
    CViewActions& actions;
    const SApplicationPreferences& preferences;
    CTimeAxis& axis;
};

} // namespace quorvel
