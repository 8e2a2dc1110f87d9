#include "samplers/ReceivedSound.h"

#include <algorithm>
#include <vector>

#include "document/FillFromMedia.h"
#include "document/WaveSample.h"
#include "framework/Media.h"

namespace quorvel {

std::unique_ptr<WAVE_SAMPLE> SoundFromReceived(const SReceivedSample& received, const std::string& name,
                                               ChannelMode mode)
{
    const int channels = std::max<int>(received.info.channelCount, 1);
    const bool wide = !received.wide.empty();
    const size_t words = wide ? received.wide.size() : received.narrow.size();
    const auto length = static_cast<int32_t>(std::min<size_t>(received.info.length, words / size_t(channels)));
    // Little-endian 16-bit words, the layout the file readers fill from.
    std::vector<uint8_t> bytes(size_t(length) * size_t(channels) * 2);
    for (size_t i = 0; i < bytes.size() / 2; ++i) {
        const auto value = static_cast<uint16_t>(wide ? received.wide[i] >> 16 : received.narrow[i]);
        bytes[2 * i] = static_cast<uint8_t>(value);
        bytes[2 * i + 1] = static_cast<uint8_t>(value >> 8);
    }
    auto sound = std::make_unique<WAVE_SAMPLE>(name, static_cast<int32_t>(received.info.rate), length);
    const int channel = channels == 1 ? 0 : mode == ChannelMode::Mix ? channels : mode == ChannelMode::Right ? 1 : 0;
    if (length > 0) {
        CMemoryMedia media(bytes.data(), static_cast<int32_t>(bytes.size()));
        FillFromMedia(media, sound->Store(), 2, channels, channel, length, false);
    }
    return sound;
}

} // namespace quorvel
