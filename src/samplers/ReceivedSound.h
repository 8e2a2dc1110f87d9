#pragma once
// A received sample as one of the program's sounds: 16-bit mono. Wider
// words keep their top 16 bits; a stereo sample gives one side or the mix,
// as an opened stereo file does.
#include <memory>
#include <string>

#include "fileformats/SoundImport.h"
#include "samplers/SampleTransfer.h"

namespace quorvel {

class WAVE_SAMPLE;

// XOutOfMemory when the sound does not fit.
std::unique_ptr<WAVE_SAMPLE> SoundFromReceived(const SReceivedSample& received, const std::string& name,
                                               ChannelMode mode);

} // namespace quorvel
