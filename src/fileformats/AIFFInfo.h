#pragma once
// Reads the format of an AIFF or AIFF-C file (also the document file).
#include "framework/Media.h"
#include "fileformats/SoundFileInfo.h"

namespace quorvel {

// XBadFormat when "COMM" is missing or describes no playable sound.
SoundFileInfo ReadAIFFInfo(CMedia& media);

} // namespace quorvel
