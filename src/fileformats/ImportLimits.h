#pragma once
// The limits a sound file must meet before it is loaded (16-bit, mono or
// stereo, at most five minutes) and the open dialog's preview rules.
#include <string>

#include "fileformats/FormatExceptions.h"
#include "fileformats/SoundFileInfo.h"

namespace quorvel {

constexpr uint32_t kMaxImportSeconds = 300;
constexpr uint32_t kMaxImportFrames = 13230000; // five minutes at 44.1 kHz
constexpr uint32_t kMaxAutoPlaySeconds = 30;
// Sample rates a sound may have: wide enough for every rate in real use,
// narrow enough that no length, tempo or header field computed from the rate
// overflows (16-bit stereo at the highest rate is 3,072,000 bytes per
// second).
constexpr uint32_t kMinImportRate = 1000;
constexpr uint32_t kMaxImportRate = 768000;

constexpr bool ImportableRate(uint32_t rate) { return rate >= kMinImportRate && rate <= kMaxImportRate; }
constexpr int kAutoPlayAlert = 23;

// The alert of the first limit the file breaks (length, then sample size,
// then channels), or 0 when it meets them all.
int ImportLimitAlert(const SoundFileInfo& info);
// Throws XUnsupportedFileType carrying that alert.
void CheckImportLimits(const SoundFileInfo& info);

// Auto Play starts only for files of at most 30 seconds.
bool AutoPlayAllowed(const SoundFileInfo& info);
// "12.34 s", or "2 m, 5.50 s" from one minute on.
std::string FormatSoundLength(uint32_t frames, uint32_t rate);

} // namespace quorvel
