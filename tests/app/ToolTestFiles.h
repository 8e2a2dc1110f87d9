#pragma once
// The files the tool's tests work with: the generated drum loop they send,
// the values of a sound file they get back, and a look for text in what the
// tool printed.
#include <string>
#include <vector>

#include "fileformats/SoundImport.h"
#include "fileformats/WaveFileWriter.h"
#include "framework/FileSpec.h"
#include "framework/SafeFileWriter.h"
#include "loopgen/DrumLoopGenerator.h"

namespace quorvel::test {

// Writes the default generated loop to `path` as a wave file; returns it.
inline loopgen::GeneratedLoop WriteDrumLoop(const std::string& path)
{
    loopgen::GeneratedLoop generated = loopgen::GenerateDrumLoop(loopgen::LoopSpec{});
    SafeWrite(CFileSpec(path), [&](CMedia& media) {
        WriteWaveFile(media, generated.samples.data(), generated.frames, generated.channels, generated.sampleRate);
    });
    return generated;
}

// The sound file's frames, its channels mixed.
inline std::vector<int16_t> Values(const std::string& path)
{
    const auto sound = LoadSound(CFileSpec(path), ChannelMode::Mix);
    std::vector<int16_t> values;
    for (int32_t i = 0; i < sound->Length(); ++i)
        values.push_back(sound->Value(i));
    return values;
}

inline bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

} // namespace quorvel::test
