#pragma once
// Writes a Mixman track file: tempo and length, the groove, and every slice
// as an embedded 44.1 kHz WAV image, among fixed template bytes. Slices are
// streamed one at a time; the total in the header is patched at the end.
#include <cstdint>
#include <string>
#include <vector>

#include "framework/Media.h"
#include "document/WaveSample.h"

namespace quorvel {

struct MixmanTrack {
    static constexpr int kMaxSlices = 128;
    static constexpr int32_t kSampleRate = 44100;

    std::string name;          // up to 255 characters are kept
    double tempo = 0.0;        // beats per minute
    std::string secondText;    // always empty so far
    int32_t loopBeats = 0;     // loop length in beats
    int sliceCount = 0;
    std::vector<uint8_t> groove; // converted groove events
};

class CMixmanTrackWriter {
public:
    // Writes everything that comes before the first slice.
    CMixmanTrackWriter(CMedia& media, const MixmanTrack& track);

    // The next slice's record; its audio must be at 44100 Hz.
    void WriteSlice(WAVE_SAMPLE& audio);
    // The closing byte, then the total at offset 2. XBase when the number
    // of slices written differs from the track's slice count.
    void Finish();

private:
    CMedia& media_;
    std::string secondText_;
    int sliceCount_;
    int written_ = 0;
    uint32_t total_ = 0;
};

} // namespace quorvel
