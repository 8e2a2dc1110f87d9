#pragma once
// The time ruler with the left and right locator handles: dragging a handle
// or clicking with a locator modifier moves a locator of the document.
#include <optional>

#include "ui/views/ABCScaleView.h"
#include "ui/views/LocatorEdit.h"

namespace quorvel {

class CRangeScaleView : public CABCScaleView {
    Q_OBJECT
public:
    explicit CRangeScaleView(const SViewContext& context, QWidget* parent = nullptr);

    // The locator handle under a pointer, if any.
    std::optional<LocatorSide> HandleAt(QPoint point) const;
    // Where a locator's handle is drawn; null when the locator is out of view.
    QRect HandleRect(LocatorSide side) const;

protected:
    std::vector<SRulerMark> Marks() const override;
    void DrawOver(QPainter& painter) override;
    uint64_t Highlight() const override;

    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void MoveLocatorTo(LocatorSide side, int32_t x, Qt::KeyboardModifiers modifiers, LocatorMove move);

    std::optional<LocatorSide> dragged_;
};

} // namespace quorvel
