#include "fileformats/ImportLimits.h"

#include <cmath>
#include <cstdio>

namespace quorvel {

int ImportLimitAlert(const SoundFileInfo& info)
{
    // 64-bit: rate x 300 overflows 32 bits from about 14.3 MHz on.
    if (info.frames > uint64_t(info.rate) * kMaxImportSeconds || info.frames > kMaxImportFrames)
        return XUnsupportedFileType::kTooLong;
    if (info.bits != 16)
        return XUnsupportedFileType::kNot16Bit;
    if (info.channels > 2)
        return XUnsupportedFileType::kTooManyChannels;
    return 0;
}

void CheckImportLimits(const SoundFileInfo& info)
{
    if (const int alert = ImportLimitAlert(info))
        throw XUnsupportedFileType(static_cast<XUnsupportedFileType::Alert>(alert));
}

bool AutoPlayAllowed(const SoundFileInfo& info)
{
    return info.frames <= uint64_t(info.rate) * kMaxAutoPlaySeconds;
}

std::string FormatSoundLength(uint32_t frames, uint32_t rate)
{
    // Rounded to the hundredths shown first, so that 59.999 s reads
    // "1 m, 0.00 s" and never "60.00 s".
    const int64_t hundredths = rate ? std::llround(double(frames) * 100.0 / rate) : 0;
    char text[64];
    if (hundredths < 6000) {
        std::snprintf(text, sizeof text, "%.02f s", hundredths / 100.0);
    } else {
        const auto minutes = static_cast<int>(hundredths / 6000);
        std::snprintf(text, sizeof text, "%d m, %.02f s", minutes, (hundredths % 6000) / 100.0);
    }
    return text;
}

} // namespace quorvel
