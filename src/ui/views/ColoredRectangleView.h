#pragma once
// A plain filled rectangle in a colour of the views' colour table; the pane
// uses them as rules between its strips.
#include <cstdint>

#include "framework/window/View.h"

namespace quorvel {

enum class ViewColor { Rule, Background, Ruler };

uint32_t ViewColorRgb(ViewColor color);

class CColoredRectangleView : public CControlView {
    Q_OBJECT
public:
    explicit CColoredRectangleView(ViewColor color, QWidget* parent = nullptr);
    ViewColor Color() const { return color_; }

protected:
    void Draw(QPainter& painter) override;

private:
    ViewColor color_;
};

} // namespace quorvel
