#include <gtest/gtest.h>

#include "document/FillFromMedia.h"
#include "document/SliceList.h"
#include "loopgen/DrumLoopGenerator.h"

namespace quorvel {
namespace {

using loopgen::DrumHit;
using loopgen::DrumVoice;
using loopgen::GenerateDrumLoop;
using loopgen::LoopSpec;

// Strength of a hit from its jump: slope 2 x level against the floor the
// silence before it settles to (100 before the first onset, else 151).
int32_t ExpectedStrength(const LoopSpec& recipe, const DrumHit& hit, bool first)
{
    const int32_t slope = 2 * loopgen::VoiceLevel(recipe.levels, hit.voice);
    return std::min(32767, slope * 1024 / (first ? 100 : 151));
}

void ExpectSlicesOnHits(const LoopSpec& recipe)
{
    const auto loop = GenerateDrumLoop(recipe);
    CSliceList list;
    list.Analyse(*loopgen::MakeWaveSample(loop));
    ASSERT_EQ(static_cast<size_t>(list.Count()), loop.hits.size());
    for (size_t i = 0; i < loop.hits.size(); ++i) {
        const CSlice& slice = list.At(static_cast<int>(i));
        ASSERT_EQ(slice.position, loop.hits[i].frame) << "hit " << i;
        ASSERT_EQ(slice.strength, ExpectedStrength(recipe, loop.hits[i], i == 0)) << "hit " << i;
    }
}

TEST(GeneratedLoops, EveryHitIsASliceAtItsFrame)
{
    for (int32_t rate : {22050, 44100, 48000})
        for (double bpm : {90.0, 120.0}) {
            LoopSpec recipe;
            recipe.sampleRate = rate;
            recipe.bpm = bpm;
            recipe.bars = 3;
            recipe.seed = static_cast<uint32_t>(rate) + static_cast<uint32_t>(bpm);
            SCOPED_TRACE(::testing::Message() << rate << " Hz, " << bpm << " BPM");
            ExpectSlicesOnHits(recipe);
        }

    // Every sixteenth of one voice at 136 BPM: 110 ms apart.
    for (int voice = 0; voice < 3; ++voice) {
        LoopSpec dense;
        dense.bpm = 136.0;
        dense.bars = 2;
        dense.pattern = {std::string(16, voice == 0 ? 'x' : '.'), std::string(16, voice == 1 ? 'x' : '.'),
                         std::string(16, voice == 2 ? 'x' : '.')};
        SCOPED_TRACE(voice);
        ExpectSlicesOnHits(dense);
    }
}

TEST(GeneratedLoops, StrengthFollowsVoiceLoudness)
{
    LoopSpec recipe;
    recipe.bars = 2;
    const auto loop = GenerateDrumLoop(recipe);
    CSliceList list;
    list.Analyse(*loopgen::MakeWaveSample(loop));
    ASSERT_EQ(static_cast<size_t>(list.Count()), loop.hits.size());

    int16_t strongest[3] = {0, 0, 0};
    int16_t weakest[3] = {32767, 32767, 32767};
    for (size_t i = 1; i < loop.hits.size(); ++i) { // the first hit meets the lower starting floor
        const auto v = static_cast<size_t>(loop.hits[i].voice);
        strongest[v] = std::max(strongest[v], list.At(static_cast<int>(i)).strength);
        weakest[v] = std::min(weakest[v], list.At(static_cast<int>(i)).strength);
    }
    EXPECT_GT(weakest[0], strongest[1]) << "kick over snare";
    EXPECT_GT(weakest[1], strongest[2]) << "snare over hat";

    // Raising the sensitivity admits the voices loudest first.
    const int32_t order[] = {int(DrumVoice::Kick), int(DrumVoice::Snare), int(DrumVoice::Hat)};
    for (int admitted = 1; admitted <= 3; ++admitted) {
        list.ApplyThreshold(static_cast<int16_t>(weakest[order[admitted - 1]] - 1));
        for (size_t i = 1; i < loop.hits.size(); ++i)
            EXPECT_EQ(list.At(static_cast<int>(i)).aboveThreshold, int(loop.hits[i].voice) < admitted) << i;
    }
}

TEST(GeneratedLoops, GenerationIsDeterministicAndSeedOnlyChangesNoise)
{
    LoopSpec recipe;
    const auto a = GenerateDrumLoop(recipe);
    EXPECT_EQ(a.samples, GenerateDrumLoop(recipe).samples);
    EXPECT_EQ(a.hits[1], (DrumHit{11025, DrumVoice::Hat}));
    recipe.seed = 99;
    const auto c = GenerateDrumLoop(recipe);
    EXPECT_EQ(c.hits, a.hits);
    EXPECT_NE(c.samples, a.samples);

    recipe.lengthFrames = 300 * 44100 + 1;
    EXPECT_THROW(GenerateDrumLoop(recipe), loopgen::XLoopSpec);
    recipe.lengthFrames = 0;
    recipe.pattern.hat.resize(1); // tracks of different lengths
    EXPECT_THROW(GenerateDrumLoop(recipe), loopgen::XLoopSpec);
}

TEST(GeneratedLoops, StereoLoopImportsToTheSameSlices)
{
    LoopSpec recipe;
    recipe.channels = 2;
    recipe.bars = 2;
    const auto loop = GenerateDrumLoop(recipe);
    ASSERT_EQ(loop.samples.size(), static_cast<size_t>(loop.frames) * 2);
    EXPECT_THROW(loopgen::MakeWaveSample(loop), loopgen::XLoopSpec);

    for (int channel : {1, 2}) { // the right channel, and the mix-down
        CMemoryMedia media(static_cast<int32_t>(loop.samples.size() * 2));
        std::copy_n(reinterpret_cast<const uint8_t*>(loop.samples.data()), loop.samples.size() * 2, media.Data());
        WAVE_SAMPLE sound("stereo", recipe.sampleRate, loop.frames);
        EXPECT_FALSE(FillFromMedia(media, sound.Store(), 2, 2, channel, loop.frames, false));
        CSliceList list;
        list.Analyse(sound);
        ASSERT_EQ(static_cast<size_t>(list.Count()), loop.hits.size()) << channel;
        for (size_t i = 0; i < loop.hits.size(); ++i)
            EXPECT_EQ(list.At(static_cast<int>(i)).position, loop.hits[i].frame);
    }
}

TEST(GeneratedLoops, FiveMinuteSoundKeepsTheFirst997Onsets)
{
    LoopSpec recipe;
    recipe.lengthFrames = 300 * 44100;
    const auto loop = GenerateDrumLoop(recipe);
    ASSERT_GT(loop.hits.size(), 997u);
    CSliceList list;
    list.Analyse(*loopgen::MakeWaveSample(loop));
    ASSERT_EQ(list.Count(), 997);
    EXPECT_EQ(list.EndPosition(), 13230000);
    for (int i = 0; i < list.Count(); ++i)
        ASSERT_EQ(list.At(i).position, loop.hits[static_cast<size_t>(i)].frame) << i;
}

} // namespace
} // namespace quorvel
