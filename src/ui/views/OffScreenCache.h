#pragma once
// Off-screen images shared by every view of one kind: the views draw into
// the image and copy it to the screen once. The images live while at least
// one view of the kind exists.
#include <QImage>
#include <QList>
#include <QSize>

namespace quorvel {

class COffScreenCache {
public:
    enum class Depth { Indexed8, Rgb32 };

    explicit COffScreenCache(Depth depth) : depth_(depth) {}
    COffScreenCache(const COffScreenCache&) = delete;
    COffScreenCache& operator=(const COffScreenCache&) = delete;

    // Each view adds a use when created and removes it when destroyed; the
    // image goes with the last use.
    void AddUse() { ++uses_; }
    void RemoveUse();
    int Uses() const { return uses_; }

    // An image at least `size` large, or null when none can be had. The cached
    // one is kept when large enough, else replaced by one of exactly `size`.
    QImage* Image(QSize size);
    // Which view drew the image last, so a view knows whether the image
    // still holds its own drawing.
    bool HeldBy(const void* view) const { return holder_ == view && !image_.isNull(); }
    void SetHolder(const void* view) { holder_ = view; }

    // A new palette (8-bit images) discards the image.
    void SetPalette(const QList<QRgb>& palette);
    const QList<QRgb>& Palette() const { return palette_; }

    // Images above this many bytes are refused as if memory had run out;
    // 0 lifts the limit. Lets the short-memory display be exercised.
    static void SetByteLimit(qsizetype bytes);

private:
    void Discard();

    Depth depth_;
    int uses_ = 0;
    QImage image_;
    QList<QRgb> palette_;
    const void* holder_ = nullptr;
};

// The caches of the view kinds that draw off screen.
COffScreenCache& WaveformImageCache();
COffScreenCache& OverviewImageCache();
COffScreenCache& RulerImageCache();
COffScreenCache& SliceStripImageCache();

// Holds one use of a cache for its lifetime.
class COffScreenCacheUse {
public:
    explicit COffScreenCacheUse(COffScreenCache& cache) : cache_(cache) { cache_.AddUse(); }
    ~COffScreenCacheUse() { cache_.RemoveUse(); }
    COffScreenCacheUse(const COffScreenCacheUse&) = delete;
    COffScreenCacheUse& operator=(const COffScreenCacheUse&) = delete;
    COffScreenCache& Cache() const { return cache_; }

private:
    COffScreenCache& cache_;
};

} // namespace quorvel
