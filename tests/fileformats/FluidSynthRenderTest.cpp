// FluidSynth, as an independent reader, loads the exported bank and plays
// the groove MIDI file through it: the hits of the rendered loop land where
// they were in the original.
#include <gtest/gtest.h>

#include <cstdlib>

#include "InstrumentExportFixtures.h"
#include "fileformats/SoundFontExport.h"
#include "fileformats/SoundImport.h"
#include "loopgen/DrumLoopGenerator.h"

namespace quorvel {
namespace {

using namespace test;

TEST(FluidSynthRender, BankAndGrooveReplayTheLoop)
{
    if (::access("/usr/bin/fluidsynth", X_OK) != 0)
        GTEST_SKIP() << "needs fluidsynth";
    TempFolder dir;
    loopgen::LoopSpec recipe;
    recipe.bars = 2;
    const loopgen::GeneratedLoop loop = loopgen::GenerateDrumLoop(recipe);
    CSoundDocument document(loopgen::MakeWaveSample(loop), DefaultDocumentOptions{}, false);
    document.SetSensitivity(990);
    document.SetBars(2);
    document.RefreshTempo();
    ASSERT_EQ(document.Tempo(), 120000);

    CExportJob job = MakeExportJob(document);
    ASSERT_EQ(size_t(job.OutputCount()), loop.hits.size());
    ScriptedQuestions questions;
    questions.files = {CFileSpec(dir / "bank.sf2"), CFileSpec(dir / "groove.mid")};
    CExportProgress progress;
    ASSERT_EQ(ExportSoundFont(job, {"Drums", true}, questions, progress), ExportOutcome::Completed);

    const std::string command = "fluidsynth -ni -q -R 0 -C 0 -g 3 -r 44100 -F " + (dir / "out.wav") + " " +
                                (dir / "bank.sf2") + " " + (dir / "groove.mid") + " >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;

    const auto rendered = LoadSound(CFileSpec(dir / "out.wav"), ChannelMode::Left);
    CSliceList onsets;
    onsets.Analyse(*rendered);
    // The synthesiser starts notes on 64-frame block boundaries and with a
    // short attack: every hit has an onset of the rendering within 5 ms.
    constexpr int32_t kTolerance = 220;
    for (const loopgen::DrumHit& hit : loop.hits) {
        int32_t nearest = INT32_MAX;
        for (int i = 0; i < onsets.Count(); ++i)
            nearest = std::min(nearest, std::abs(onsets.At(i).position - hit.frame));
        EXPECT_LE(nearest, kTolerance) << "hit at " << hit.frame;
    }

    // Each key plays its own slice: the rendered hits keep the voices'
    // order of loudness (kick over snare over hat).
    int32_t quietest[3] = {INT32_MAX, INT32_MAX, INT32_MAX};
    int32_t loudest[3] = {0, 0, 0};
    for (const loopgen::DrumHit& hit : loop.hits) {
        int32_t peak = 0;
        for (int32_t i = hit.frame; i < hit.frame + 441 && i < rendered->Length(); ++i)
            peak = std::max(peak, std::abs(int32_t(rendered->Value(i))));
        const auto v = static_cast<size_t>(hit.voice);
        quietest[v] = std::min(quietest[v], peak);
        loudest[v] = std::max(loudest[v], peak);
    }
    EXPECT_GT(quietest[size_t(loopgen::DrumVoice::Kick)], loudest[size_t(loopgen::DrumVoice::Snare)]);
    EXPECT_GT(quietest[size_t(loopgen::DrumVoice::Snare)], loudest[size_t(loopgen::DrumVoice::Hat)]);
}

} // namespace
} // namespace quorvel
