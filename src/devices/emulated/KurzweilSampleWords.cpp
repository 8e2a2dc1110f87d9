#include "devices/emulated/KurzweilSampleWords.h"

#include <algorithm>

namespace quorvel {

SSMDISample SMDIFromSDS(const SSDSSample& dump)
{
    SSMDISample sample;
    sample.number = dump.number;
    sample.bits = dump.format;
    sample.channels = 1;
    sample.periodNs = dump.periodNs;
    sample.length = static_cast<uint32_t>(dump.words.size());
    sample.loopStart = dump.loopStart;
    sample.loopEnd = dump.loopEnd;
    sample.loopControl = dump.loopType == 0x00 || dump.loopType == 0x01 ? dump.loopType : 0x7F;
    const uint32_t bytes = SMDIWordBytes(dump.format);
    const uint32_t shift = 8 * bytes - dump.format;
    const uint32_t sign = 1u << (8 * bytes - 1);
    sample.data.reserve(dump.words.size() * bytes);
    for (uint32_t word : dump.words) {
        // Offset binary, 0 the most negative value, to two's complement.
        const uint32_t value = (word << shift) ^ sign;
        for (uint32_t b = 0; b < bytes; ++b)
            sample.data.push_back(static_cast<uint8_t>(value >> (8 * (bytes - 1 - b))));
    }
    return sample;
}

SSDSSample SDSFromSMDI(const SSMDISample& sample, uint16_t number)
{
    SSDSSample dump;
    dump.number = number;
    dump.format = static_cast<uint8_t>(std::clamp<int>(sample.bits, 8, 28));
    dump.periodNs = std::min<uint32_t>(sample.periodNs, 0x1FFFFF);
    dump.loopStart = std::min<uint32_t>(sample.loopStart, 0x1FFFFF);
    dump.loopEnd = std::min<uint32_t>(sample.loopEnd, 0x1FFFFF);
    dump.loopType = sample.loopControl == 0x00 || sample.loopControl == 0x01 ? sample.loopControl : 0x7F;
    const uint32_t bytes = SMDIWordBytes(sample.bits);
    const uint32_t frameBytes = bytes * std::max<uint32_t>(sample.channels, 1);
    const uint32_t shift = 8 * bytes - dump.format;
    const uint32_t sign = 1u << (8 * bytes - 1);
    const uint32_t frames = std::min<uint32_t>(sample.length, 0x1FFFFF);
    dump.words.reserve(frames);
    for (uint32_t f = 0; f < frames && (f + 1) * static_cast<uint64_t>(frameBytes) <= sample.data.size(); ++f) {
        uint32_t value = 0;
        for (uint32_t b = 0; b < bytes; ++b)
            value = (value << 8) | sample.data[f * frameBytes + b];
        dump.words.push_back(((value ^ sign) >> shift) & ((1u << dump.format) - 1));
    }
    return dump;
}

} // namespace quorvel
