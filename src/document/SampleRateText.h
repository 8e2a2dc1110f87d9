#pragma once
// A sample rate as the window title shows it: 44100 gives "44.1kHz".
#include <cstdint>
#include <string>

namespace quorvel {

std::string SampleRateText(int32_t sampleRate);

} // namespace quorvel
