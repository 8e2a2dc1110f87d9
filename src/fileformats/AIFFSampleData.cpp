#include "fileformats/AIFFSampleData.h"

#include "document/ScratchBuffers.h"

namespace quorvel {

void WriteValuesBigEndian(BAT& store, uint32_t firstValue, uint32_t valueCount, CMedia& media)
{
    uint8_t* staging = scratch::Buffer1();
    store.ForEachRun(firstValue * 2, valueCount * 2, [&](uint32_t, uint8_t* run, uint32_t length) {
        const auto* values = reinterpret_cast<const uint16_t*>(run);
        const uint32_t count = length / 2;
        for (uint32_t i = 0; i < count; ++i) {
            staging[2 * i] = static_cast<uint8_t>(values[i] >> 8);
            staging[2 * i + 1] = static_cast<uint8_t>(values[i]);
        }
        media.Write(static_cast<int32_t>(length), staging);
        return true;
    });
}

} // namespace quorvel
