#include "samplers/SampleNameFilter.h"

namespace quorvel {

std::string FilterSampleName(std::string_view name)
{
    std::string filtered(name);
    for (char& c : filtered) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F)
            c = ' ';
    }
    return filtered;
}

} // namespace quorvel
