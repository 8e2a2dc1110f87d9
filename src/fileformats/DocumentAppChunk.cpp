#include "fileformats/DocumentAppChunk.h"

#include <algorithm>
#include <cstring>

#include "document/Slice.h"
#include "fileformats/ByteOrder.h"
#include "fileformats/FormatExceptions.h"

namespace quorvel {

namespace {

constexpr int kSettingsStart = 4;  // after the "Qvrl" signature
constexpr int kSliceCountAt = 162;
constexpr int kRecordsAt = 164;
constexpr int kRecordBytes = 8;
constexpr uint8_t kSelectedBit = 0x80;

uint32_t VersionNumber(uint8_t major, uint8_t minor) { return major * 65536u + minor * 256u; }

} // namespace

std::array<uint8_t, DocumentAppChunk::kPayloadBytes> EncodeDocumentAppChunk(const DocumentAppChunk& chunk)
{
    std::array<uint8_t, DocumentAppChunk::kPayloadBytes> out{};
    std::memcpy(out.data(), "Qvrl", 4);
    PutBE32(&out[kSettingsStart], DocumentAppChunk::kMagic);
    out[8] = DocumentAppChunk::kVersionMajor;
    out[9] = DocumentAppChunk::kVersionMinor;
    const StoredDocumentSettings& s = chunk.settings;
    out[10] = static_cast<uint8_t>(s.numerator);
    out[11] = static_cast<uint8_t>(s.denominator);
    out[12] = static_cast<uint8_t>(s.bars & 0xFF);
    out[13] = static_cast<uint8_t>(s.beats);
    PutBE32(&out[14], static_cast<uint32_t>(s.newTempo));
    out[18] = s.transmitNormalized;
    out[19] = s.separateSamples;
    out[20] = s.silenceSelected;
    out[21] = s.pitchMode;
    PutBE16(&out[22], static_cast<uint16_t>(s.stretchIndex));
    PutBE16(&out[24], static_cast<uint16_t>(s.sensitivity));
    out[26] = static_cast<uint8_t>((s.bars >> 8) & 0xFF);

    const size_t count = std::min<size_t>(chunk.slices.size(), DocumentAppChunk::kMaxSlices);
    PutBE16(&out[kSliceCountAt], static_cast<uint16_t>(count));
    for (size_t i = 0; i < count; ++i) {
        const SliceRecord& slice = chunk.slices[i];
        uint8_t* r = &out[kRecordsAt + i * kRecordBytes];
        r[0] = static_cast<uint8_t>((slice.state & 0x7F) | (slice.selected ? kSelectedBit : 0));
        PutBE32(r + 1, static_cast<uint32_t>(slice.position));
        r[5] = 0;
        PutBE16(r + 6, static_cast<uint16_t>(slice.strength));
    }
    return out;
}

DocumentAppChunk DecodeDocumentAppChunk(const uint8_t* p, int32_t size, int32_t soundLength)
{
    if (size < kRecordsAt || std::memcmp(p, "Qvrl", 4) != 0 || GetBE32(p + kSettingsStart) != DocumentAppChunk::kMagic)
        throw XBadFormat();
    if (VersionNumber(p[8], p[9]) > VersionNumber(DocumentAppChunk::kVersionMajor, DocumentAppChunk::kVersionMinor))
        throw XUnsupportedFormat();

    DocumentAppChunk chunk;
    StoredDocumentSettings& s = chunk.settings;
    s.numerator = p[10];
    s.denominator = p[11];
    s.bars = p[12] + 256 * p[26];
    s.beats = p[13];
    s.newTempo = static_cast<int32_t>(GetBE32(p + 14));
    s.transmitNormalized = p[18] != 0;
    s.separateSamples = p[19] != 0;
    s.silenceSelected = p[20] != 0;
    s.pitchMode = p[21] != 0;
    s.stretchIndex = static_cast<int16_t>(GetBE16(p + 22));
    s.sensitivity = static_cast<int16_t>(GetBE16(p + 24));

    const int count = GetBE16(p + kSliceCountAt);
    if (count > DocumentAppChunk::kMaxSlices || int64_t(kRecordsAt) + int64_t(count) * kRecordBytes > size)
        throw XBadFormat();
    chunk.slices.reserve(static_cast<size_t>(count));
    int32_t previous = -1;
    for (int i = 0; i < count; ++i) {
        const uint8_t* r = p + kRecordsAt + i * kRecordBytes;
        const int state = r[0] & 0x7F;
        const auto position = static_cast<int32_t>(GetBE32(r + 1));
        // The slice list's walks rely on slices inside the sound and in order.
        if (state > static_cast<int>(SliceState::Locked) || position < 0 || position >= std::max(soundLength, 1) ||
            position < previous)
            throw XBadFormat();
        previous = position;
        chunk.slices.push_back({state, (r[0] & kSelectedBit) != 0, position, static_cast<int16_t>(GetBE16(r + 6))});
    }
    return chunk;
}

} // namespace quorvel
