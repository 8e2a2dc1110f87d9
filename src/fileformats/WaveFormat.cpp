#include "fileformats/WaveFormat.h"

#include <climits>
#include <cstdint>
#include <cstring>

#include "fileformats/ByteOrder.h"
#include "fileformats/FormatExceptions.h"
#include "fileformats/IFFReader.h"
#include "fileformats/ImportLimits.h"

namespace quorvel {

WaveFormat WaveFormat::Decode(const uint8_t bytes[kSize])
{
    WaveFormat f;
    f.formatTag = GetLE16(bytes);
    f.channels = GetLE16(bytes + 2);
    f.sampleRate = GetLE32(bytes + 4);
    f.bytesPerSecond = GetLE32(bytes + 8);
    f.blockAlign = GetLE16(bytes + 12);
    f.bits = GetLE16(bytes + 14);
    return f;
}

WaveFormat WaveFormat::PCM16(int channels, int64_t sampleRate)
{
    const int64_t blockAlign = int64_t(channels) * 2;
    if (channels < 1 || blockAlign > UINT16_MAX || sampleRate < 1 || sampleRate * blockAlign > int64_t(UINT32_MAX))
        throw XHeaderOverflow();
    WaveFormat format;
    format.channels = static_cast<uint16_t>(channels);
    format.sampleRate = static_cast<uint32_t>(sampleRate);
    format.bytesPerSecond = static_cast<uint32_t>(sampleRate * blockAlign);
    format.blockAlign = static_cast<uint16_t>(blockAlign);
    format.bits = 16;
    return format;
}

void WaveFormat::Encode(uint8_t bytes[kSize]) const
{
    PutLE16(bytes, formatTag);
    PutLE16(bytes + 2, channels);
    PutLE32(bytes + 4, sampleRate);
    PutLE32(bytes + 8, bytesPerSecond);
    PutLE16(bytes + 12, blockAlign);
    PutLE16(bytes + 14, bits);
}

namespace {

constexpr uint32_t kExtensibleSize = 40;

// WAVE_FORMAT_EXTENSIBLE with the PCM sub-format is plain linear PCM in a
// longer header; many programs write it for ordinary 16-bit files. The media
// stands right after the first 16 bytes of "fmt ".
bool IsExtensiblePCM(CMedia& media, uint32_t fmtSize)
{
    static constexpr uint8_t kPCMGuidTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                                 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
    if (fmtSize < kExtensibleSize)
        return false;
    uint8_t extension[kExtensibleSize - WaveFormat::kSize];
    media.Read(sizeof extension, extension);
    const uint16_t extraSize = GetLE16(extension);
    const uint16_t subFormat = GetLE16(extension + 8);
    return extraSize >= 22 && subFormat == WaveFormat::kPCM &&
           std::memcmp(extension + 10, kPCMGuidTail, sizeof kPCMGuidTail) == 0;
}

} // namespace

SoundFileInfo ReadWaveInfo(CMedia& media)
{
    CWaveReader reader(media);
    return ReadWaveInfo(reader);
}

SoundFileInfo ReadWaveInfo(CWaveReader& reader)
{
    CMedia& media = reader.Media();
    uint32_t fmtSize = 0;
    if (!reader.FindChunk("fmt ", fmtSize) || fmtSize < WaveFormat::kSize)
        throw XBadFormat();
    uint8_t bytes[WaveFormat::kSize];
    media.Read(sizeof bytes, bytes);
    const WaveFormat fmt = WaveFormat::Decode(bytes);
    if (fmt.channels == 0 || fmt.sampleRate == 0 || fmt.sampleRate > uint32_t(INT32_MAX) || fmt.bytesPerSecond == 0 ||
        fmt.bits < 8 || fmt.bits > 32 || !ImportableRate(fmt.sampleRate))
        throw XUnsupportedFormat();

    bool linear = fmt.formatTag == WaveFormat::kPCM;
    if (fmt.formatTag == WaveFormat::kExtensible)
        linear = IsExtensiblePCM(media, fmtSize);

    SoundFileInfo info;
    info.channels = fmt.channels;
    info.bits = fmt.bits;
    info.rate = fmt.sampleRate;
    info.supported = linear && fmt.bits == 16;
    info.littleEndian = true;
    uint32_t dataSize = 0;
    if (reader.FindChunk("data", dataSize))
        info.frames = dataSize / (uint32_t(fmt.channels) * (fmt.bits / 8u));
    else if (!reader.EndsWithEmptyChunk("data"))
        throw XBadFormat(); // a damaged chunk (or none) hides the samples
    return info;
}

} // namespace quorvel
