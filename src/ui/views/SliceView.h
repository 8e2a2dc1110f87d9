#pragma once
// The strip of slice handles above the waveform: one bitmap per Shown slice.
// Presses and drags are hit-tested here and reported to the window.
#include <optional>

#include "ui/views/DimensionView.h"
#include "ui/views/OffScreenCache.h"

namespace quorvel {

struct CSlice;

class CSliceView : public CDimensionView {
    Q_OBJECT
public:
    explicit CSliceView(const SViewContext& context, QWidget* parent = nullptr);

    void UpdatePointer(QPoint point);

protected:
    uint64_t Highlight() const override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void Render(QImage& image);
    const CSlice* HandleAt(QPoint point) const;
    void ReportDrag(int32_t x);

    COffScreenCacheUse cacheUse_;
    std::optional<int32_t> dragFrom_;
};

} // namespace quorvel
