#include "fileformats/SoundImport.h"

#include <bit>
#include <climits>

#include "document/FillFromMedia.h"
#include "fileformats/AIFFChunks.h"
#include "fileformats/AIFFInfo.h"
#include "fileformats/FileTypes.h"
#include "fileformats/FormatExceptions.h"
#include "fileformats/IFFReader.h"
#include "fileformats/ImportLimits.h"
#include "fileformats/WaveFormat.h"

namespace quorvel {

namespace {

constexpr int kBytesPerSample = 2;

// Leaves the media at the first sample frame.
void SeekAIFFSamples(CIFFReader& reader, const SoundFileInfo& info)
{
    CMedia& media = reader.Media();
    uint32_t size = 0;
    if (!reader.FindChunk("SSND", size) || size < 8)
        throw XBadFormat();
    const int64_t payload = media.GetPosition();
    uint8_t header[8]; // offset, block size
    media.Read(sizeof header, header);
    const uint32_t offset = GetBE32(header);
    // Frames the chunk does not hold would be read from whatever follows it.
    const uint64_t needed = 8 + uint64_t(offset) + uint64_t(info.frames) * info.channels * kBytesPerSample;
    const int64_t first = payload + 8 + offset;
    if (needed > size || first > INT32_MAX)
        throw XBadFormat();
    media.SetPosition(static_cast<int32_t>(first));
}

void SeekWaveSamples(CIFFReader& reader)
{
    uint32_t size = 0;
    if (!reader.FindChunk("data", size))
        throw XBadFormat();
}

const AIFFMarker* FindMarker(const std::vector<AIFFMarker>& markers, uint16_t id)
{
    for (const AIFFMarker& marker : markers)
        if (marker.id == id)
            return &marker;
    return nullptr;
}

// Key data from "INST"; the loop from the markers its sustain loop names.
void ApplyInstrument(CIFFReader& reader, WAVE_SAMPLE& sound)
{
    CMedia& media = reader.Media();
    uint32_t size = 0;
    if (!reader.FindChunk("INST", size))
        return;
    if (size < AIFFInstrument::kSize)
        throw XBadFormat();
    uint8_t bytes[AIFFInstrument::kSize];
    media.Read(sizeof bytes, bytes);
    const AIFFInstrument inst = AIFFInstrument::Decode(bytes);

    bool loopOn = inst.sustain.playMode != 0;
    sound.SetRootKey(inst.baseNote != 0 ? inst.baseNote : 60);
    sound.SetFineTune(inst.baseNote != 0 ? inst.detune : 0);
    sound.SetHasInstrumentData(true);

    if (!reader.FindChunk("MARK", size))
        return;
    const std::vector<AIFFMarker> markers = ReadMarkers(media, size);
    if (markers.size() < 2)
        return;
    const AIFFMarker* begin = FindMarker(markers, inst.sustain.beginMarker);
    const AIFFMarker* end = FindMarker(markers, inst.sustain.endMarker);
    if (!begin || !end) {
        // Without a sustain loop its marker ids mean nothing (often 0), and
        // a file with unrelated markers must still open.
        if (inst.sustain.playMode == 0)
            return;
        throw XBadFormat();
    }
    int32_t loopStart = begin->position;
    int32_t loopEnd = end->position;
    if (loopStart < 0) {
        loopStart = 0;
        loopOn = false;
    }
    if (loopEnd > sound.Length()) {
        loopEnd = sound.Length();
        loopOn = false;
    }
    sound.SetLoop(loopStart, loopEnd, loopOn);
}

int ChannelFor(ChannelMode mode, int channels)
{
    if (channels == 1)
        return 0;
    switch (mode) {
    case ChannelMode::Left:
        return 0;
    case ChannelMode::Right:
        return 1;
    case ChannelMode::Mix:
        return channels; // FillFromMedia's mix-down
    }
    throw XBase();
}

} // namespace

SoundFileKind SoundFileKindOf(const std::string& fileName)
{
    if (FileTypeMatches(filetypes::kAIFF, fileName) || FileTypeMatches(filetypes::kDocument, fileName))
        return SoundFileKind::AIFF;
    if (FileTypeMatches(filetypes::kWave, fileName))
        return SoundFileKind::Wave;
    if (FileTypeMatches(filetypes::kQLX, fileName))
        throw XQLXUnsupportedFileType();
    throw XUnknownFileType();
}

std::unique_ptr<CIFFReader> ChunkReaderFor(CMedia& media, SoundFileKind kind)
{
    if (kind == SoundFileKind::AIFF)
        return std::make_unique<CAIFFReader>(media);
    return std::make_unique<CWaveReader>(media);
}

SoundFileInfo ReadSoundInfo(CIFFReader& reader, SoundFileKind kind)
{
    return kind == SoundFileKind::AIFF ? ReadAIFFInfo(static_cast<CAIFFReader&>(reader))
                                       : ReadWaveInfo(static_cast<CWaveReader&>(reader));
}

SoundFileInfo ReadSoundInfo(CMedia& media, SoundFileKind kind)
{
    return ReadSoundInfo(*ChunkReaderFor(media, kind), kind);
}

SoundFileInfo ReadSoundInfo(const CFileSpec& file)
{
    const SoundFileKind kind = SoundFileKindOf(file.Name());
    const std::unique_ptr<CMedia> media = file.OpenForReading();
    return ReadSoundInfo(*media, kind);
}

std::unique_ptr<WAVE_SAMPLE> LoadSound(CMedia& media, SoundFileKind kind, const std::string& name,
                                       ChannelMode mode)
{
    return LoadSound(*ChunkReaderFor(media, kind), kind, name, mode);
}

std::unique_ptr<WAVE_SAMPLE> LoadSound(CIFFReader& reader, SoundFileKind kind, const std::string& name,
                                       ChannelMode mode)
{
    CMedia& media = reader.Media();
    const SoundFileInfo info = ReadSoundInfo(reader, kind);
    CheckImportLimits(info);
    if (!info.supported)
        throw XUnsupportedFormat();
    const int channel = ChannelFor(mode, info.channels);

    auto sound = std::make_unique<WAVE_SAMPLE>(name, static_cast<int32_t>(info.rate),
                                               static_cast<int32_t>(info.frames));
    if (info.frames > 0) {
        if (kind == SoundFileKind::AIFF)
            SeekAIFFSamples(reader, info);
        else
            SeekWaveSamples(reader);
        const bool swap = info.littleEndian != (std::endian::native == std::endian::little);
        FillFromMedia(media, sound->Store(), kBytesPerSample, info.channels, channel,
                      static_cast<int32_t>(info.frames), swap);
    }
    if (kind == SoundFileKind::AIFF)
        ApplyInstrument(reader, *sound);
    return sound;
}

std::unique_ptr<WAVE_SAMPLE> LoadSound(const CFileSpec& file, ChannelMode mode)
{
    const SoundFileKind kind = SoundFileKindOf(file.Name());
    const std::unique_ptr<CMedia> media = file.OpenForReading();
    return LoadSound(*media, kind, file.Name(), mode);
}

} // namespace quorvel
