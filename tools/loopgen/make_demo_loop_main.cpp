// Writes the bundled demo loop: two bars of 4/4 at 120 BPM, stereo, 16-bit,
// 44.1 kHz, from the synthetic drum-loop generator.
#include <cstdio>
#include <string>

#include "fileformats/WaveFileWriter.h"
#include "framework/FileSpec.h"
#include "framework/SafeFileWriter.h"
#include "loopgen/DrumLoopGenerator.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-demo-loop OUT.wav\n");
        return 1;
    }
    using namespace quorvel;
    loopgen::LoopSpec recipe;
    recipe.bars = 2;
    recipe.channels = 2;
    // Loud enough to look and sound like a loop, with a soft hiss under it so
    // that the three voices keep distinct strengths (kick, snare, hat). The
    // mix-down sums both channels: the kick's mixed jump stays below 16384,
    // where the onset scan's 16-bit slope would wrap.
    recipe.levels = {7600, 5300, 3200};
    recipe.hiss = 380;
    try {
        const loopgen::GeneratedLoop loop = loopgen::GenerateDrumLoop(recipe);
        SafeWrite(CFileSpec(argv[1]), [&loop](CMedia& media) {
            WriteWaveFile(media, loop.samples.data(), loop.frames, loop.channels, loop.sampleRate);
        });
        std::printf("%s: %d frames, %zu hits\n", argv[1], loop.frames, loop.hits.size());
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "make-demo-loop: %s\n", failure.what());
        return 2;
    }
    return 0;
}
