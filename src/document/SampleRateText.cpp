#include "document/SampleRateText.h"

#include <cstdio>

namespace quorvel {

std::string SampleRateText(int32_t sampleRate)
{
    char text[32];
    if (sampleRate < 1000) {
        std::snprintf(text, sizeof text, "%ldHz", long(sampleRate));
        return text;
    }
    std::snprintf(text, sizeof text, "%ld.%03ld", long(sampleRate / 1000), long(sampleRate % 1000));
    std::string result(text);
    while (result.back() == '0')
        result.pop_back();
    if (result.back() == '.')
        result.pop_back();
    return result + "kHz";
}

} // namespace quorvel
