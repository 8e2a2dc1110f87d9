#include "fileformats/SampleData.h"

#include <algorithm>
#include <vector>

#include "document/ScratchBuffers.h"

namespace quorvel {

namespace {

template <bool BigEndian>
void WriteValues(BAT& store, uint32_t firstValue, uint32_t valueCount, CMedia& media)
{
    uint8_t* staging = scratch::Buffer1();
    store.ForEachRun(firstValue * 2, valueCount * 2, [&](uint32_t, uint8_t* run, uint32_t length) {
        const auto* values = reinterpret_cast<const uint16_t*>(run);
        const uint32_t count = length / 2;
        for (uint32_t i = 0; i < count; ++i) {
            const auto high = static_cast<uint8_t>(values[i] >> 8);
            const auto low = static_cast<uint8_t>(values[i]);
            staging[2 * i] = BigEndian ? high : low;
            staging[2 * i + 1] = BigEndian ? low : high;
        }
        media.Write(static_cast<int32_t>(length), staging);
        return true;
    });
}

} // namespace

void WriteValuesBigEndian(BAT& store, uint32_t firstValue, uint32_t valueCount, CMedia& media)
{
    WriteValues<true>(store, firstValue, valueCount, media);
}

void WriteValuesLittleEndian(BAT& store, uint32_t firstValue, uint32_t valueCount, CMedia& media)
{
    WriteValues<false>(store, firstValue, valueCount, media);
}

void WriteSilence(uint32_t count, CMedia& media)
{
    static const std::vector<uint8_t> zeros(4096);
    for (uint32_t left = count * 2; left > 0;) {
        const uint32_t piece = std::min<uint32_t>(left, static_cast<uint32_t>(zeros.size()));
        media.Write(static_cast<int32_t>(piece), zeros.data());
        left -= piece;
    }
}

} // namespace quorvel
