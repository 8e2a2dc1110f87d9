#include "devices/emulated/SMDISample.h"

#include <algorithm>
#include <cstddef>

namespace quorvel {

SMDIBytes SampleHeaderMessage(const SSMDISample& sample)
{
    SMDIBytes data;
    data.reserve(kSMDISampleHeaderFixed + sample.name.size() + sample.extra.size());
    PutBigEndian(data, sample.number, 3);
    data.push_back(sample.bits);
    data.push_back(sample.channels);
    PutBigEndian(data, sample.periodNs, 3);
    PutBigEndian(data, sample.length, 4);
    PutBigEndian(data, sample.loopStart, 4);
    PutBigEndian(data, sample.loopEnd, 4);
    data.push_back(sample.loopControl);
    PutBigEndian(data, sample.pitch, 2);
    PutBigEndian(data, sample.pitchFraction, 2);
    const size_t nameLength = std::min<size_t>(sample.name.size(), 255);
    data.push_back(static_cast<uint8_t>(nameLength));
    data.insert(data.end(), sample.name.begin(), sample.name.begin() + static_cast<std::ptrdiff_t>(nameLength));
    data.insert(data.end(), sample.extra.begin(), sample.extra.end());
    return BuildSMDIMessage(kSMDISampleHeader, data);
}

bool ParseSampleHeaderData(SMDIView data, SSMDISample& sample)
{
    if (data.size() < kSMDISampleHeaderFixed)
        return false;
    const uint8_t* d = data.data();
    const size_t nameLength = d[25];
    if (data.size() < kSMDISampleHeaderFixed + nameLength)
        return false;
    sample.number = GetBigEndian(d, 3);
    sample.bits = d[3];
    sample.channels = d[4];
    sample.periodNs = GetBigEndian(d + 5, 3);
    sample.length = GetBigEndian(d + 8, 4);
    sample.loopStart = GetBigEndian(d + 12, 4);
    sample.loopEnd = GetBigEndian(d + 16, 4);
    sample.loopControl = d[20];
    sample.pitch = static_cast<uint16_t>(GetBigEndian(d + 21, 2));
    sample.pitchFraction = static_cast<uint16_t>(GetBigEndian(d + 23, 2));
    sample.name.assign(reinterpret_cast<const char*>(d + 26), nameLength);
    sample.extra.assign(data.begin() + static_cast<std::ptrdiff_t>(kSMDISampleHeaderFixed + nameLength), data.end());
    sample.data.clear();
    return true;
}

} // namespace quorvel
