#pragma once
// The waveform of the document's sound with the two locator lines, drawn
// into the shared 8-bit image of its kind and copied to the screen.
#include "ui/views/DimensionView.h"
#include "ui/views/OffScreenCache.h"
#include "ui/views/WaveformPalette.h"
#include "ui/views/WaveformRaster.h"

namespace quorvel {

class WAVE_SAMPLE;

class CWaveSampleView : public CDimensionView {
    Q_OBJECT
public:
    static constexpr const char* kNoMemoryText = "There is too little memory left for waveform display!";

    CWaveSampleView(const SViewContext& context, COffScreenCache& cache, QWidget* parent = nullptr);

    WaveformStyle Style() const { return style_; }
    void SetStyle(WaveformStyle style);
    // The style the "Waveform Type" preference selects.
    static WaveformStyle StyleOfLook(int look);

    // Draws the whole view into the cache's image now (what a paint does when
    // something changed); false when no image could be had.
    bool DrawImage();
    // Whether the last paint showed the short-memory text.
    bool ShowsNoMemoryText() const { return showsNoMemoryText_; }

protected:
    uint64_t Highlight() const override;
    // What a subclass adds to the image (after the waveform, before the
    // locator lines) and over it on the screen.
    virtual void DrawOverRaster(const SRasterTarget&) {}
    virtual void PaintOverlay(QPainter&) {}
    virtual uint64_t ExtraHighlight() const { return 0; }

    void paintEvent(QPaintEvent* event) override;
    // A press with the magnify modifier zooms in around `frame`, or out with
    // the constrain modifier too; true when it did.
    bool MagnifyClick(Qt::KeyboardModifiers modifiers, int32_t frame);

private:
    void UpdatePalette();
    void Render(QImage& image);

    COffScreenCacheUse cacheUse_;
    WaveformStyle style_ = WaveformStyle::Shaded;
    bool showsNoMemoryText_ = false;
};

} // namespace quorvel
