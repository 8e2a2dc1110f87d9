#include "fileformats/WaveFileWriter.h"

#include <algorithm>

#include "document/ScratchBuffers.h"
#include "fileformats/ByteOrder.h"
#include "fileformats/IFFWriter.h"
#include "fileformats/WaveFormat.h"

namespace quorvel {

void WriteWaveFile(CMedia& media, const int16_t* interleaved, int32_t frames, int channels, int32_t sampleRate)
{
    const WaveFormat format = WaveFormat::PCM16(channels, sampleRate);
    CWaveWriter writer(&media);
    writer.BeginGroup("RIFF", "WAVE");

    uint8_t fmt[WaveFormat::kSize];
    format.Encode(fmt);
    writer.WriteChunk("fmt ", fmt, WaveFormat::kSize);

    writer.BeginChunk("data");
    uint8_t* staging = scratch::Buffer1();
    const size_t total = size_t(frames) * size_t(channels);
    for (size_t done = 0; done < total;) {
        const size_t piece = std::min<size_t>(total - done, scratch::kBytes / 2);
        for (size_t i = 0; i < piece; ++i)
            PutLE16(staging + 2 * i, static_cast<uint16_t>(interleaved[done + i]));
        writer.Write(static_cast<int32_t>(piece * 2), staging);
        done += piece;
    }
    writer.EndChunk();
    writer.EndGroup();
}

} // namespace quorvel
