#pragma once
// Turns an AIFF or WAV file into a mono sound of the sample store.
#include <memory>
#include <string>

#include "framework/Media.h"
#include "document/WaveSample.h"
#include "fileformats/IFFReader.h"
#include "fileformats/SoundFileInfo.h"
#include "framework/FileSpec.h"

namespace quorvel {

enum class SoundFileKind { AIFF, Wave };

// How a stereo file becomes mono; a mono file always loads its one channel.
enum class ChannelMode : int { Left = 0, Right = 1, Mix = 2 };

// AIFF for "Audio IFF" files and documents, Wave for "Wave File" files;
// XQLXUnsupportedFileType for QLX files, XUnknownFileType for anything else.
SoundFileKind SoundFileKindOf(const std::string& fileName);

// The chunk reader for this kind of file. One reader walks the file's chunks
// once; handing it to every step of a load keeps opening proportional to the
// file's size.
std::unique_ptr<CIFFReader> ChunkReaderFor(CMedia& media, SoundFileKind kind);

SoundFileInfo ReadSoundInfo(CMedia& media, SoundFileKind kind);
SoundFileInfo ReadSoundInfo(CIFFReader& reader, SoundFileKind kind);
SoundFileInfo ReadSoundInfo(const CFileSpec& file);

// Reads the format, enforces the import limits, converts the frames and, for
// AIFF, takes key and loop from "INST" and "MARK". Any failure throws and
// leaves nothing behind.
std::unique_ptr<WAVE_SAMPLE> LoadSound(CMedia& media, SoundFileKind kind, const std::string& name,
                                       ChannelMode mode);
// `reader` must come from ChunkReaderFor with the same kind.
std::unique_ptr<WAVE_SAMPLE> LoadSound(CIFFReader& reader, SoundFileKind kind, const std::string& name,
                                       ChannelMode mode);
// The sound is named after the file (without its folder).
std::unique_ptr<WAVE_SAMPLE> LoadSound(const CFileSpec& file, ChannelMode mode);

} // namespace quorvel
