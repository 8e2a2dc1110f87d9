#include "fileformats/FlacSliceWriter.h"

#include <sndfile.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "fileformats/ByteOrder.h"
#include "fileformats/SampleData.h"
#include "framework/GrowingMemoryMedia.h"

namespace quorvel {

namespace {

// The encoder seeks back to finish its header, so it writes into memory and
// the finished file goes to the media in one piece.
struct MemoryFile {
    std::vector<uint8_t> bytes;
    sf_count_t position = 0;
};

sf_count_t Length(void* user) { return static_cast<sf_count_t>(static_cast<MemoryFile*>(user)->bytes.size()); }

sf_count_t Seek(sf_count_t offset, int whence, void* user)
{
    auto* file = static_cast<MemoryFile*>(user);
    const sf_count_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? file->position : Length(user);
    if (base + offset < 0)
        return -1;
    file->position = base + offset;
    return file->position;
}

sf_count_t Read(void* buffer, sf_count_t count, void* user)
{
    auto* file = static_cast<MemoryFile*>(user);
    const sf_count_t available = std::max<sf_count_t>(0, Length(user) - file->position);
    const sf_count_t n = std::min(count, available);
    if (n > 0)
        std::memcpy(buffer, file->bytes.data() + file->position, static_cast<size_t>(n));
    file->position += n;
    return n;
}

sf_count_t Write(const void* buffer, sf_count_t count, void* user)
{
    auto* file = static_cast<MemoryFile*>(user);
    const auto end = static_cast<size_t>(file->position + count);
    if (end > file->bytes.size())
        file->bytes.resize(end);
    std::memcpy(file->bytes.data() + file->position, buffer, static_cast<size_t>(count));
    file->position += count;
    return count;
}

sf_count_t Tell(void* user) { return static_cast<MemoryFile*>(user)->position; }

// The slice's values in machine order.
std::vector<short> SliceValues(WAVE_SAMPLE& sample)
{
    const auto frames = static_cast<uint32_t>(sample.Length());
    CGrowingMemoryMedia staged;
    WriteValuesLittleEndian(sample.Store(), 0, frames, staged);
    std::vector<short> values(frames);
    for (uint32_t i = 0; i < frames; ++i)
        values[i] = static_cast<short>(GetLE16(staged.Bytes().data() + 2 * i));
    return values;
}

} // namespace

void WriteFlacSlice(CMedia& media, WAVE_SAMPLE& sample)
{
    const std::vector<short> values = SliceValues(sample);
    SF_VIRTUAL_IO io{Length, Seek, Read, Write, Tell};
    MemoryFile file;
    SF_INFO info{};
    info.samplerate = sample.SampleRate();
    info.channels = 1;
    info.format = SF_FORMAT_FLAC | SF_FORMAT_PCM_16;
    SNDFILE* encoder = sf_open_virtual(&io, SFM_WRITE, &info, &file);
    if (encoder == nullptr)
        throw XWrite();
    const auto count = static_cast<sf_count_t>(values.size());
    const bool written = sf_writef_short(encoder, values.data(), count) == count;
    if (sf_close(encoder) != 0 || !written)
        throw XWrite();
    media.Write(static_cast<int32_t>(file.bytes.size()), file.bytes.data());
}

} // namespace quorvel
