#pragma once
// Sound files for the desktop program's tests: real WAV files from the
// synthetic drum loops, and a document saved from one.
#include <string>

#include "fileformats/DocumentFile.h"
#include "fileformats/WaveFileWriter.h"
#include "framework/SafeFileWriter.h"
#include "loopgen/DrumLoopGenerator.h"

namespace quorvel::test {

// A one-bar 120 BPM loop: two seconds at 44.1 kHz.
inline void WriteLoopWav(const std::string& path, int channels = 1, int bars = 1)
{
    loopgen::LoopSpec recipe;
    recipe.channels = channels;
    recipe.bars = bars;
    const loopgen::GeneratedLoop loop = loopgen::GenerateDrumLoop(recipe);
    SafeWrite(CFileSpec(path), [&](CMedia& media) {
        WriteWaveFile(media, loop.samples.data(), loop.frames, loop.channels, loop.sampleRate);
    });
}

// A document with settings no new document starts with (5 bars, 6/8).
inline void WriteLoopDocument(const std::string& path)
{
    const loopgen::GeneratedLoop loop = loopgen::GenerateDrumLoop(loopgen::LoopSpec{});
    CSoundDocument document(loopgen::MakeWaveSample(loop), DefaultDocumentOptions{}, false);
    document.SetBars(5);
    document.SetTimeSignature(6, 8);
    SaveDocument(document, CFileSpec(path));
}

} // namespace quorvel::test
