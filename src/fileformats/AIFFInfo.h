#pragma once
// Reads the format of an AIFF or AIFF-C file (also the document file).
#include "framework/Media.h"
#include "fileformats/IFFReader.h"
#include "fileformats/SoundFileInfo.h"

namespace quorvel {

// XBadFormat when "COMM" is missing or describes no playable sound.
// A sample rate outside the importable range is XUnsupportedFormat.
SoundFileInfo ReadAIFFInfo(CMedia& media);
// The same through a reader that has walked (or will walk) the file's chunks.
SoundFileInfo ReadAIFFInfo(CAIFFReader& reader);

} // namespace quorvel
