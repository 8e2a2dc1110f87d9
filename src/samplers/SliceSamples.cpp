#include "samplers/SliceSamples.h"

#include <cstdio>

#include "document/WaveSample.h"
#include "framework/FileSpec.h"

namespace quorvel {

std::string SliceSampleName(const WAVE_SAMPLE& output, int slice, bool separate)
{
    std::string name = CFileSpec::BaseName(output.Name());
    if (separate) {
        char number[16];
        std::snprintf(number, sizeof number, " %02d", slice + 1);
        name += number;
    }
    return name;
}

SampleInfo SliceSampleInfo(const WAVE_SAMPLE& output, int32_t rate, const std::string& name)
{
    SampleInfo info;
    info.SetName(name);
    info.channelCount = 1;
    info.bits = 16;
    info.rate = static_cast<uint32_t>(rate);
    info.length = info.playEnd = static_cast<uint32_t>(output.Length());
    info.rootKey = SampleInfo::kDefaultRootKey;
    return info;
}

} // namespace quorvel
