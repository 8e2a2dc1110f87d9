#pragma once
// What the open dialog's preview panel says about the selected file, and
// whether that file may be played or opened.
#include <optional>
#include <string>

#include "fileformats/SoundFileInfo.h"

namespace quorvel {

struct SOpenPreview {
    std::string type;       // "Wave File"
    std::string channels;   // "Mono", "Stereo" or the count
    std::string length;     // "12.34 s", "2 m, 5.50 s"
    std::string bits;       // "16"
    std::string sampleRate; // "44100 Hz"
    // The alert of the first import limit the file breaks (20, 21, 22), 0
    // when it meets them all; such a file can be neither played nor opened.
    int limitAlert = 0;
    bool stereo = false;
    // Auto Play plays only files of at most 30 seconds (alert 23 otherwise).
    bool autoPlayAllowed = false;

    bool Usable() const { return limitAlert == 0; }
};

// The type description when the open dialog previews files of this name
// ("Audio IFF", "Wave File", "Quorvel! Document File"), else nothing.
std::optional<std::string> PreviewedTypeOf(const std::string& fileName);

SOpenPreview DescribeSoundFile(const std::string& typeDescription, const SoundFileInfo& info);

} // namespace quorvel
