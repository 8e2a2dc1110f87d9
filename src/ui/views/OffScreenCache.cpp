#include "ui/views/OffScreenCache.h"

#include <new>

namespace quorvel {

namespace {
qsizetype byteLimit = 0;
}

void COffScreenCache::SetByteLimit(qsizetype bytes) { byteLimit = bytes; }

void COffScreenCache::RemoveUse()
{
    if (uses_ > 0 && --uses_ == 0)
        Discard();
}

void COffScreenCache::Discard()
{
    image_ = QImage();
    holder_ = nullptr;
}

QImage* COffScreenCache::Image(QSize size)
{
    if (size.isEmpty())
        return nullptr;
    if (!image_.isNull() && image_.width() >= size.width() && image_.height() >= size.height())
        return &image_;
    Discard();
    const qsizetype bytesPerPixel = depth_ == Depth::Indexed8 ? 1 : 4;
    if (byteLimit > 0 && qsizetype(size.width()) * size.height() * bytesPerPixel > byteLimit)
        return nullptr;
    try {
        image_ = QImage(size, depth_ == Depth::Indexed8 ? QImage::Format_Indexed8 : QImage::Format_RGB32);
    } catch (const std::bad_alloc&) {
        image_ = QImage();
    }
    if (image_.isNull())
        return nullptr;
    if (depth_ == Depth::Indexed8 && !palette_.isEmpty())
        image_.setColorTable(palette_);
    return &image_;
}

void COffScreenCache::SetPalette(const QList<QRgb>& palette)
{
    if (palette == palette_)
        return;
    palette_ = palette;
    Discard();
}

COffScreenCache& WaveformImageCache()
{
    static COffScreenCache cache(COffScreenCache::Depth::Indexed8);
    return cache;
}

COffScreenCache& OverviewImageCache()
{
    static COffScreenCache cache(COffScreenCache::Depth::Indexed8);
    return cache;
}

COffScreenCache& RulerImageCache()
{
    static COffScreenCache cache(COffScreenCache::Depth::Rgb32);
    return cache;
}

COffScreenCache& SliceStripImageCache()
{
    static COffScreenCache cache(COffScreenCache::Depth::Rgb32);
    return cache;
}

} // namespace quorvel
