#pragma once
// The main waveform: slice lines, the play cursor, the Pen preview line, and
// clicks that play, zoom or draw a slice.
#include "ui/views/WaveSampleView.h"

namespace quorvel {

class CSampleSliceView : public CWaveSampleView {
    Q_OBJECT
public:
    explicit CSampleSliceView(const SViewContext& context, QWidget* parent = nullptr);

    // Moves the play cursor to `position` (repaints only the two columns).
    void ShowCursor(int32_t position);
    // The tool or the modifier keys may have changed.
    void UpdatePointer(Qt::KeyboardModifiers modifiers);
    // The column of the play cursor, or -1 when it is outside the view.
    int32_t CursorColumn() const { return cursorColumn_; }
    // The frame the Pen preview line shows, if any.
    std::optional<int32_t> PreviewFrame() const { return previewFrame_; }

protected:
    uint64_t ExtraHighlight() const override;
    void DrawOverRaster(const SRasterTarget& target) override;
    void PaintOverlay(QPainter& painter) override;

    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    int32_t ColumnOf(int32_t frame) const;
    void MovePreview(int32_t x, Qt::KeyboardModifiers modifiers);
    void HidePreview();
    void UpdateColumn(int32_t column);

    int32_t cursorColumn_ = -1;
    std::optional<int32_t> previewFrame_;
    bool penHeld_ = false;
};

} // namespace quorvel
