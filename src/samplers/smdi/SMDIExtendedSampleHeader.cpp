#include "samplers/smdi/SMDIExtendedSampleHeader.h"

#include <algorithm>

#include "samplers/smdi/SMDIMessages.h"

namespace quorvel {

using namespace smdi;

CSMDIExtendedSampleHeader::CSMDIExtendedSampleHeader(const SampleInfo& info, uint32_t number)
    : CSMDISampleHeader(info, number), hasExtension(true), playStart(info.playStart), playEnd(info.playEnd)
{
    const SSampleLoop& loop = info.releaseLoop;
    switch (static_cast<SampleLoopType>(loop.type)) {
    case SampleLoopType::None:
        // Start past end reads back as no loop at all.
        releaseControl = kLoopOff;
        releaseStart = 0xFFFFFFFF;
        releaseEnd = 0;
        return;
    case SampleLoopType::Forward:
        releaseControl = kLoopForward;
        break;
    case SampleLoopType::Alternating:
        releaseControl = kLoopAlternating;
        break;
    default:
        releaseControl = kLoopOff;
        break;
    }
    releaseStart = loop.start;
    releaseEnd = loop.end;
}

CSMDIExtendedSampleHeader::CSMDIExtendedSampleHeader(const CSMDISampleHeader& plain) : CSMDISampleHeader(plain)
{
    if (trailing.size() < kExtensionSize || !std::equal(kTag.begin(), kTag.end(), trailing.begin()))
        return;
    const uint8_t* d = trailing.data() + kTag.size();
    hasExtension = true;
    playStart = GetBigEndian(d, 4);
    playEnd = GetBigEndian(d + 4, 4);
    releaseControl = d[8];
    releaseStart = GetBigEndian(d + 9, 4);
    releaseEnd = GetBigEndian(d + 13, 4);
    // The block is held in the fields now; what followed it stays.
    trailing.erase(trailing.begin(), trailing.begin() + kExtensionSize);
}

size_t CSMDIExtendedSampleHeader::BuildMessage(uint8_t* buffer) const
{
    if (!hasExtension)
        return CSMDISampleHeader::BuildMessage(buffer);
    CSMDISampleHeader plain(*this);
    std::vector<uint8_t> block(kExtensionSize);
    std::copy(kTag.begin(), kTag.end(), block.begin());
    uint8_t* d = block.data() + kTag.size();
    PutBigEndian(d, playStart, 4);
    PutBigEndian(d + 4, playEnd, 4);
    d[8] = releaseControl;
    PutBigEndian(d + 9, releaseStart, 4);
    PutBigEndian(d + 13, releaseEnd, 4);
    plain.trailing.insert(plain.trailing.begin(), block.begin(), block.end());
    return plain.BuildMessage(buffer);
}

void CSMDIExtendedSampleHeader::ToSampleInfo(SampleInfo& info) const
{
    CSMDISampleHeader::ToSampleInfo(info);
    if (!hasExtension)
        return;
    info.playStart = playStart;
    info.playEnd = playEnd;
    if (releaseStart > releaseEnd) {
        info.releaseLoop = {};
        return;
    }
    const SampleLoopType type = releaseControl == kLoopForward       ? SampleLoopType::Forward
                                : releaseControl == kLoopAlternating ? SampleLoopType::Alternating
                                                                     : SampleLoopType::OffWithMarker;
    info.releaseLoop = {static_cast<uint32_t>(type), releaseStart, releaseEnd};
}

} // namespace quorvel
