#include "samplers/SampleRates.h"

#include <initializer_list>

namespace quorvel {

uint32_t SnapToCommonRate(uint32_t rate)
{
    for (uint32_t common : {44100u, 48000u, 32000u, 22050u, 11025u, 8000u})
        if (rate + 1 >= common && rate <= common + 1)
            return common;
    return rate;
}

} // namespace quorvel
