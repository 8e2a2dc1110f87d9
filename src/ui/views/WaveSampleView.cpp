#include "ui/views/WaveSampleView.h"

#include <QPaintEvent>
#include <QPainter>

#include "document/SoundDocument.h"
#include "ui/ApplicationPreferences.h"

namespace quorvel {

CWaveSampleView::CWaveSampleView(const SViewContext& context, COffScreenCache& cache, QWidget* parent)
    : CDimensionView(context, parent), cacheUse_(cache)
{
}

void CWaveSampleView::SetStyle(WaveformStyle style)
{
    style_ = style;
    Refresh();
}

WaveformStyle CWaveSampleView::StyleOfLook(int look)
{
    switch (static_cast<WaveformLook>(look)) {
    case WaveformLook::Plain:
        return WaveformStyle::Plain;
    case WaveformLook::ThreeD:
        return WaveformStyle::ThreeD;
    case WaveformLook::Shaded:
        break;
    }
    return WaveformStyle::Shaded;
}

uint64_t CWaveSampleView::Highlight() const
{
    CDigest digest;
    if (const WAVE_SAMPLE* sound = context_.document.Sound()) {
        digest.Add(uint64_t(uint32_t(sound->LoopStart())) << 32 | uint32_t(sound->LoopEnd()));
        digest.Add(uint64_t(uint32_t(sound->Length())));
    }
    digest.Add(static_cast<uint64_t>(style_));
    const SRGBColor& color = context_.preferences.waveformColor;
    digest.Add(uint64_t(color.red) << 32 | uint64_t(color.green) << 16 | color.blue);
    digest.Add(context_.preferences.brightness);
    digest.Add(ExtraHighlight());
    return digest.Value();
}

void CWaveSampleView::UpdatePalette()
{
    const WaveformPalette palette =
        BuildWaveformPalette(context_.preferences.waveformColor, context_.preferences.brightness);
    cacheUse_.Cache().SetPalette(QList<QRgb>(palette.begin(), palette.end()));
}

void CWaveSampleView::Render(QImage& image)
{
    const SRasterTarget target{image.bits(), static_cast<int32_t>(image.bytesPerLine()), width(), height()};
    FillRaster(target, palette_index::kBackground);
    WAVE_SAMPLE* sound = context_.document.Sound();
    if (sound)
        DrawWaveform(target, window_, *sound, style_);
    DrawOverRaster(target);
    if (sound) {
        for (int32_t locator : {sound->LoopStart(), sound->LoopEnd()})
            if (locator >= window_.visibleStart && locator <= window_.visibleEnd)
                DrawRasterLine(target, window_.PixelOfFrame(locator) - window_.leftPixel, palette_index::kLocatorLine);
    }
}

bool CWaveSampleView::DrawImage()
{
    UpdatePalette();
    QImage* image = cacheUse_.Cache().Image(size());
    if (!image)
        return false;
    Render(*image);
    cacheUse_.Cache().SetHolder(this);
    MarkDrawn();
    return true;
}

void CWaveSampleView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    UpdatePalette();
    COffScreenCache& cache = cacheUse_.Cache();
    QImage* image = cache.Image(size());
    showsNoMemoryText_ = image == nullptr;
    if (!image) {
        painter.fillRect(rect(), QColor::fromRgb(kViewBackground));
        painter.setPen(QColor::fromRgb(kViewLineColor));
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, QString::fromUtf8(kNoMemoryText));
        return;
    }
    if (!cache.HeldBy(this) || NeedsDrawing()) {
        Render(*image);
        cache.SetHolder(this);
        MarkDrawn();
    }
    painter.drawImage(event->rect(), *image, event->rect());
    PaintOverlay(painter);
}

bool CWaveSampleView::MagnifyClick(Qt::KeyboardModifiers modifiers, int32_t frame)
{
    if (!MagnifyHeld(modifiers))
        return false;
    if (ConstrainHeld(modifiers))
        context_.axis.ZoomOut();
    else
        context_.axis.ZoomInAround(frame);
    return true;
}

} // namespace quorvel
