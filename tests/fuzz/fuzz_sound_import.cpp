// Feeds arbitrary bytes to the sound import as AIFF and as WAV: every input
// must load or throw one of our exceptions, without crashing, hanging or
// allocating more than the import limits allow.
#include <cstdint>
#include <vector>

#include "framework/Media.h"
#include "fileformats/SoundImport.h"
#include "framework/XBase.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1 || size > 1 << 20)
        return 0;
    // The first byte chooses the reader and the channel mode.
    const auto kind = (data[0] & 1) ? quorvel::SoundFileKind::Wave : quorvel::SoundFileKind::AIFF;
    const auto mode = static_cast<quorvel::ChannelMode>((data[0] >> 1) % 3);
    std::vector<uint8_t> file(data + 1, data + size);
    quorvel::CMemoryMedia media(file.data(), static_cast<int32_t>(file.size()));
    try {
        quorvel::LoadSound(media, kind, "fuzz", mode);
    } catch (const quorvel::XBase&) {
    }
    return 0;
}
