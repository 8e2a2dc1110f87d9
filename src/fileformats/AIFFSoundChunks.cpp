#include "fileformats/AIFFSoundChunks.h"

#include <vector>

#include "fileformats/AIFFChunks.h"
#include "fileformats/Extended80.h"

namespace quorvel {

namespace {
constexpr uint16_t kLoopStartMarker = 1;
constexpr uint16_t kLoopEndMarker = 2;
} // namespace

void WriteMonoCommon(CIFFWriter& writer, uint32_t frames, int32_t sampleRate)
{
    AIFFCommon common;
    common.channels = 1;
    common.frames = frames;
    common.bits = 16;
    RateToExtended(sampleRate, common.rate);
    uint8_t bytes[AIFFCommon::kSize];
    common.Encode(bytes);
    writer.WriteChunk("COMM", bytes, AIFFCommon::kSize);
}

void WriteInstrument(CIFFWriter& writer, uint8_t baseNote, int8_t detune)
{
    AIFFInstrument instrument;
    instrument.baseNote = baseNote;
    instrument.detune = detune;
    instrument.sustain = {0, kLoopStartMarker, kLoopEndMarker};
    instrument.release = {0, 3, 4};
    uint8_t bytes[AIFFInstrument::kSize];
    instrument.Encode(bytes);
    writer.WriteChunk("INST", bytes, AIFFInstrument::kSize);
}

void WriteLoopMarkers(CIFFWriter& writer, int32_t loopStart, int32_t loopEnd)
{
    const std::vector<uint8_t> bytes =
        EncodeMarkers({{kLoopStartMarker, loopStart, "Loop start"}, {kLoopEndMarker, loopEnd, "Loop end"}});
    writer.WriteChunk("MARK", bytes.data(), static_cast<int32_t>(bytes.size()));
}

} // namespace quorvel
