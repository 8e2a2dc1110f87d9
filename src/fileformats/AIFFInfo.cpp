#include "fileformats/AIFFInfo.h"

#include "fileformats/AIFFChunks.h"
#include "fileformats/Extended80.h"
#include "fileformats/FormatExceptions.h"
#include "fileformats/IFFReader.h"
#include "fileformats/ImportLimits.h"
#include "framework/FourCC.h"

namespace quorvel {

namespace {

// AIFF-C names its sample encoding. Only plain 16-bit linear data converts:
// "NONE" and "twos" are big-endian like AIFF, "sowt" is little-endian. Any
// other encoding read as linear samples would be noise.
// The media stands right after the first 18 bytes of "COMM".
void ApplyCompression(CMedia& media, uint32_t commSize, SoundFileInfo& info)
{
    if (commSize < AIFFCommon::kCompressedSize)
        throw XBadFormat();
    uint8_t type[4];
    media.Read(4, type);
    const FourCC compression = FourCC::FromBytes(type);
    if (compression == FourCC("sowt"))
        info.littleEndian = true;
    else if (compression != FourCC("NONE") && compression != FourCC("twos"))
        info.supported = false;
}

} // namespace

SoundFileInfo ReadAIFFInfo(CMedia& media)
{
    CAIFFReader reader(media);
    return ReadAIFFInfo(reader);
}

SoundFileInfo ReadAIFFInfo(CAIFFReader& reader)
{
    CMedia& media = reader.Media();
    const bool compressedForm = reader.GroupType() == FourCC("AIFC");
    uint32_t commSize = 0;
    if (!reader.FindChunk("COMM", commSize) || commSize < AIFFCommon::kSize)
        throw XBadFormat();
    uint8_t bytes[AIFFCommon::kSize];
    media.Read(sizeof bytes, bytes);
    const AIFFCommon comm = AIFFCommon::Decode(bytes);

    const std::optional<int32_t> rate = ExtendedToRate(comm.rate);
    if (comm.channels == 0 || static_cast<int32_t>(comm.frames) < 0 || comm.bits < 8 ||
        comm.bits > 32 || !rate || *rate <= 0)
        throw XBadFormat();
    if (!ImportableRate(static_cast<uint32_t>(*rate)))
        throw XUnsupportedFormat();

    SoundFileInfo info;
    info.channels = comm.channels;
    info.bits = comm.bits;
    info.rate = static_cast<uint32_t>(*rate);
    info.frames = comm.frames;
    info.supported = comm.bits == 16;
    if (compressedForm)
        ApplyCompression(media, commSize, info);
    return info;
}

} // namespace quorvel
