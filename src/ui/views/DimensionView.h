#pragma once
// A view laid out along the time axis: it owns a time window and a highlight
// (a digest of whatever else it draws) and remembers both as last drawn, so
// an unchanged view is copied to the screen without being drawn again.
#include <cstdint>
#include <functional>

#include "framework/window/View.h"
#include "ui/views/TimeWindow.h"
#include "ui/views/ViewCursors.h"
#include "ui/views/ViewContext.h"

namespace quorvel {

class COffScreenCache;

class CDimensionView : public CControlView {
    Q_OBJECT
public:
    CDimensionView(const SViewContext& context, QWidget* parent = nullptr);

    const TimeWindow& Window() const { return window_; }
    // Takes the stretch (the pixel extent stays the view's own); repaints
    // when anything changed.
    void ShowStretch(const TimeWindow& stretch);
    void SetTotal(int32_t start, int32_t end);

    // Repaints when the time window or the highlight differs from the last
    // drawing.
    void Refresh();
    bool NeedsDrawing() const;

    // How many times the view was drawn (not merely copied); for tests and
    // diagnostics.
    int DrawCount() const { return drawCount_; }

protected:
    // A digest of what the view draws besides the time axis itself.
    virtual uint64_t Highlight() const { return 0; }
    void MarkDrawn();
    // Paints through the shared image of `cache`: drawn with `render` when
    // this view does not hold the image or something changed, else only
    // copied. Without an image the view draws straight onto the screen.
    void PaintCached(QPaintEvent* event, COffScreenCache& cache, const std::function<void(QImage&)>& render);
    // Changes the pointer only when the shape differs (called every idle pass).
    void SetPointer(ViewPointer pointer);

    void resizeEvent(QResizeEvent* event) override;
    // The modifier keys of a mouse event as the views read them.
    static bool MagnifyHeld(Qt::KeyboardModifiers modifiers) { return modifiers & Qt::ControlModifier; }
    static bool ConstrainHeld(Qt::KeyboardModifiers modifiers) { return modifiers & Qt::AltModifier; }

    const SViewContext context_;
    TimeWindow window_;

private:
    TimeWindow drawnWindow_;
    uint64_t drawnHighlight_ = 0;
    bool drawnOnce_ = false;
    ViewPointer pointer_ = ViewPointer::Arrow;
    int drawCount_ = 0;
};

// Folds values into a digest (64-bit FNV-1a).
class CDigest {
public:
    void Add(uint64_t value)
    {
        for (int i = 0; i < 8; ++i, value >>= 8) {
            hash_ ^= value & 0xFF;
            hash_ *= 0x100000001B3ull;
        }
    }
    uint64_t Value() const { return hash_; }

private:
    uint64_t hash_ = 0xCBF29CE484222325ull;
};

} // namespace quorvel
