#pragma once
// A ruler along the time axis: ticks and labels at steps chosen from a table
// to suit the magnification, drawn into the shared 32-bit image of its kind.
#include <string>
#include <vector>

#include <QRect>
#include <QString>

#include "ui/views/DimensionView.h"
#include "ui/views/OffScreenCache.h"
#include "ui/views/RulerMarks.h"

namespace quorvel {

class CABCScaleView : public CDimensionView {
    Q_OBJECT
public:
    CABCScaleView(const SViewContext& context, COffScreenCache& cache, QWidget* parent = nullptr);

    // The label texts of the last drawing, where they went; for tests and
    // diagnostics.
    struct SDrawnLabel {
        QRect rect;
        QString text;
    };
    const std::vector<SDrawnLabel>& DrawnLabels() const { return drawnLabels_; }

protected:
    // The ticks in drawing order, each label with its text.
    virtual std::vector<SRulerMark> Marks() const = 0;
    // What a subclass draws over the ticks.
    virtual void DrawOver(QPainter&) {}

    void paintEvent(QPaintEvent* event) override;

private:
    void Render(QImage& image);

    COffScreenCacheUse cacheUse_;
    std::vector<SDrawnLabel> drawnLabels_;
};

} // namespace quorvel
