#pragma once
// What a sampler can do, as its interface reports it: the dialogs read the
// feature flags to decide which choices to offer.
#include <array>
#include <cstdint>

namespace quorvel {

struct SamplerCapabilities {
    static constexpr size_t kProtocolNameCapacity = 132; // 131 characters and the NUL
    static constexpr size_t kFeatureCount = 24;
    // The feature flags the dialogs read by position.
    static constexpr size_t kStereoReceiveFlag = 1; // the receive dialog's stereo path

    char protocolName[kProtocolNameCapacity] = {};
    int32_t brandNumber = 0;
    std::array<uint8_t, kFeatureCount> features{};
    int32_t brandCount = 0;
    std::array<uint8_t, 3> brandBytes{};
    int32_t lowestSampleNumber = 0;
    int32_t highestSampleNumber = 0;
};

} // namespace quorvel
