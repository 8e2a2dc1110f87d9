#pragma once
// What a JACK channel does in each process cycle: asks its source for 16-bit
// stereo frames at 44100 Hz and writes them as the two float buffers the
// server wants, converting the rate when the server runs at another one.
// Everything is allocated up front: Process never allocates and never blocks.
//
// At 44100 Hz a sample s becomes exactly s / 32768. At other server rates a
// streaming linear interpolator runs between the source frames; its position
// is kept as an exact fraction (source frames x server rate), so it never
// drifts however long it plays.
#include <cstdint>
#include <vector>

#include "playback/SoundChannel.h"

namespace quorvel {

class CJackStereoOutput {
public:
    static constexpr int32_t kSourceRate = 44100;
    // The longest period served; a longer one plays silence.
    static constexpr uint32_t kMaxPeriod = 8192;
    // Server rates the interpolator is sized for.
    static constexpr uint32_t kMinServerRate = 22050;
    static constexpr uint32_t kMaxServerRate = 384000;

    // ZSOUND_EXCEPTION for a server rate outside the range above.
    CJackStereoOutput(uint32_t serverRate, CABCSoundRenderer& source);

    // Forgets what the interpolator held: the next cycle starts on a fresh
    // source frame.
    void Reset();
    // Fills `frames` frames of both sides. False (and silence) when the
    // period is longer than kMaxPeriod.
    bool Process(float* left, float* right, uint32_t frames);

    uint32_t ServerRate() const { return serverRate_; }

private:
    void Convert(float* left, float* right, uint32_t frames);

    uint32_t serverRate_;
    CABCSoundRenderer& source_;
    std::vector<int16_t> frames_; // interleaved source frames
    // Interpolator: frames_ holds `held_` frames from the one at index 0;
    // the next output frame sits at position_ / serverRate_ source frames.
    uint32_t held_ = 0;
    uint64_t position_ = 0;
};

} // namespace quorvel
