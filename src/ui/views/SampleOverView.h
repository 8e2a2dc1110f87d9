#pragma once
// The whole sound at a glance, with the play cursor and a frame around the
// main waveform's visible stretch; pressing and dragging moves that stretch.
#include "ui/views/WaveSampleView.h"

#include "ui/views/OverviewFrame.h"

namespace quorvel {

class CSampleOverView : public CWaveSampleView {
    Q_OBJECT
public:
    explicit CSampleOverView(const SViewContext& context, QWidget* parent = nullptr);

    // The main view's stretch moved: the frame follows.
    void FrameChanged();
    void ShowCursor(int32_t position);
    SColumnSpan FrameColumns() const;
    void UpdatePointer(int32_t x, Qt::KeyboardModifiers modifiers);

protected:
    void PaintOverlay(QPainter& painter) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool dragging_ = false;
    int32_t dragAnchorFrame_ = 0;
    int32_t dragStartVisible_ = 0;
    SColumnSpan paintedFrame_;
    int32_t cursorColumn_ = -1;
};

} // namespace quorvel
