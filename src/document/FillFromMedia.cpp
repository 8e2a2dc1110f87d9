#include "document/FillFromMedia.h"

#include <algorithm>

#include "document/ScratchBuffers.h"

namespace quorvel {

namespace {

constexpr int32_t kUnityGain = 32768;
// At least one frame must fit a scratch buffer, or no chunk would advance.
constexpr int kMaxChannels = static_cast<int>(scratch::kBytes / 2);

void SwapWords(int16_t* values, int32_t count)
{
    for (int32_t i = 0; i < count; ++i) {
        const auto v = static_cast<uint16_t>(values[i]);
        values[i] = static_cast<int16_t>(static_cast<uint16_t>((v << 8) | (v >> 8)));
    }
}

// Runs `convert(in, out, frames)` over the file chunk by chunk, storing its
// output values in order.
template <class Convert>
void ForEachChunk(CMedia& media, BAT& store, int channelCount, int32_t frameCount, bool swapBytes,
                  Convert&& convert)
{
    const int32_t chunkFrames = static_cast<int32_t>(scratch::kBytes) / (2 * channelCount);
    auto* in = reinterpret_cast<int16_t*>(scratch::Buffer1());
    auto* out = reinterpret_cast<int16_t*>(scratch::Buffer2());
    int32_t done = 0;
    while (done < frameCount) {
        const int32_t frames = std::min(chunkFrames, frameCount - done);
        media.Read(frames * 2 * channelCount, in);
        if (swapBytes)
            SwapWords(in, frames * channelCount);
        convert(in, out, frames);
        store.CopyIn(2u * static_cast<uint32_t>(done), 2u * static_cast<uint32_t>(frames), out);
        done += frames;
    }
}

struct MixRange {
    int32_t maximum = 0;
    int32_t minimum = 0;
};

// Sums one chunk of frames into mono values, scaling each value first when
// a gain is applied, and widens `range` to the sums seen. Written without
// branches in the loop so the compiler can vectorise it: the mix-down must
// keep pace with reading the file.
template <int Channels, bool Scaled>
void MixChunk(const int16_t* in, int16_t* out, int32_t frames, int channelCount, int32_t gain, MixRange& range)
{
    const int channels = Channels > 0 ? Channels : channelCount;
    int32_t maximum = range.maximum;
    int32_t minimum = range.minimum;
    for (int32_t k = 0; k < frames; ++k) {
        int32_t sum = 0;
        for (int c = 0; c < channels; ++c) {
            int32_t v = in[k * channels + c];
            if constexpr (Scaled)
                v = (v * gain) >> 15;
            sum += v;
        }
        maximum = std::max(maximum, sum);
        minimum = std::min(minimum, sum);
        out[k] = static_cast<int16_t>(std::clamp(sum, -32768, 32767));
    }
    range.maximum = maximum;
    range.minimum = minimum;
}

template <bool Scaled>
MixRange MixPass(CMedia& media, BAT& store, int channelCount, int32_t frameCount, bool swapBytes, int32_t gain)
{
    MixRange range;
    ForEachChunk(media, store, channelCount, frameCount, swapBytes,
                 [&](const int16_t* in, int16_t* out, int32_t frames) {
                     if (channelCount == 2)
                         MixChunk<2, Scaled>(in, out, frames, channelCount, gain, range);
                     else
                         MixChunk<0, Scaled>(in, out, frames, channelCount, gain, range);
                 });
    return range;
}

} // namespace

bool FillFromMedia(CMedia& media, BAT& store, int bytesPerSample, int channelCount, int channel,
                   int32_t frameCount, bool swapBytes)
{
    if (bytesPerSample != 2 || channelCount < 1 || channelCount > kMaxChannels || channel < 0 ||
        channel > channelCount || frameCount < 0 || uint64_t(frameCount) * 2 > store.Size())
        throw XBase();

    if (channel != channelCount) {
        ForEachChunk(media, store, channelCount, frameCount, swapBytes,
                     [channelCount, channel](const int16_t* in, int16_t* out, int32_t frames) {
                         if (channelCount == 1) {
                             std::copy_n(in, frames, out);
                             return;
                         }
                         for (int32_t k = 0; k < frames; ++k)
                             out[k] = in[k * channelCount + channel];
                     });
        return false;
    }

    const int32_t start = media.GetPosition();
    const MixRange range = MixPass<false>(media, store, channelCount, frameCount, swapBytes, kUnityGain);
    if (range.maximum < 32768 && range.minimum >= -32768)
        return false;

    media.SetPosition(start);
    const int32_t peak = std::max(range.maximum, -range.minimum);
    MixPass<true>(media, store, channelCount, frameCount, swapBytes, 0x3FFF8000 / peak);
    return true;
}

} // namespace quorvel
