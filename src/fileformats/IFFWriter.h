#pragma once
// First-generation chunk writer: one group, one chunk open at a time. Sizes
// are written as a marker and patched when the group or chunk ends. It never
// writes pad bytes: its callers write even payloads or formats without pads.
#include <cstdint>

#include "framework/Media.h"
#include "fileformats/ByteOrder.h"
#include "framework/FourCC.h"

namespace quorvel {

class CIFFWriter {
public:
    // Size field of anything begun and not yet ended; also "nothing open".
    static constexpr uint32_t kOpenMarker = 0xADDE1AB0;

    explicit CIFFWriter(CMedia* media = nullptr) : media_(media) {}
    virtual ~CIFFWriter() = default;

    void SetMedia(CMedia& media) { media_ = &media; }
    CMedia& Media();

    void BeginGroup(FourCC groupId, FourCC type);
    void EndGroup();
    void BeginChunk(FourCC id);
    void EndChunk();
    void WriteChunk(FourCC id, const void* data, int32_t length);
    void Write(int32_t length, const void* data);

    ByteOrder Order() const { return order_; }

protected:
    void SetLittleEndian() { order_ = ByteOrder::Little; }

private:
    void Patch(uint32_t& headerPosition);

    CMedia* media_;
    ByteOrder order_ = ByteOrder::Big;
    uint32_t groupPosition_ = kOpenMarker;
    uint32_t chunkPosition_ = kOpenMarker;
};

class CAIFFWriter : public CIFFWriter {
public:
    explicit CAIFFWriter(CMedia* media = nullptr) : CIFFWriter(media) {}
};

class RIFF_WRITER : public CIFFWriter {
public:
    explicit RIFF_WRITER(CMedia* media = nullptr) : CIFFWriter(media) { SetLittleEndian(); }
};

class CWaveWriter : public RIFF_WRITER {
public:
    explicit CWaveWriter(CMedia* media = nullptr) : RIFF_WRITER(media) {}
};

} // namespace quorvel
