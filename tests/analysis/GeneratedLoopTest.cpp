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
int32_t ExpectedStrength(const LoopSpec& spec, const DrumHit& hit, bool first)
{
    const int32_t slope = 2 * loopgen::VoiceLevel(spec.levels, hit.voice);
    return std::min(32767, slope * 1024 / (first ? 100 : 151));
}

void ExpectSlicesOnHits(const LoopSpec& spec)
{
    const auto loop = GenerateDrumLoop(spec);
    CSliceList list;
    list.Analyse(*loopgen::MakeWaveSample(loop));
    ASSERT_EQ(static_cast<size_t>(list.Count()), loop.hits.size());
    for (size_t i = 0; i < loop.hits.size(); ++i) {
        const CSlice& slice = list.At(static_cast<int>(i));
        ASSERT_EQ(slice.position, loop.hits[i].frame) << "hit " << i;
        ASSERT_EQ(slice.strength, ExpectedStrength(spec, loop.hits[i], i == 0)) << "hit " << i;
    }
}

TEST(GeneratedLoops, EveryHitIsASliceAtItsFrame)
{
    for (int32_t rate : {22050, 44100, 48000})
        for (double bpm : {90.0, 120.0}) {
            LoopSpec spec;
            spec.sampleRate = rate;
            spec.bpm = bpm;
            spec.bars = 3;
            spec.seed = static_cast<uint32_t>(rate) + static_cast<uint32_t>(bpm);
            SCOPED_TRACE(::testing::Message() << rate << " Hz, " << bpm << " BPM");
            ExpectSlicesOnHits(spec);
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
    LoopSpec spec;
    spec.bars = 2;
    const auto loop = GenerateDrumLoop(spec);
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
    LoopSpec spec;
    const auto a = GenerateDrumLoop(spec);
    EXPECT_EQ(a.samples, GenerateDrumLoop(spec).samples);
    EXPECT_EQ(a.hits[1], (DrumHit{11025, DrumVoice::Hat}));
    spec.seed = 99;
    const auto c = GenerateDrumLoop(spec);
    EXPECT_EQ(c.hits, a.hits);
    EXPECT_NE(c.samples, a.samples);

    spec.lengthFrames = 300 * 44100 + 1;
    EXPECT_THROW(GenerateDrumLoop(spec), loopgen::XLoopSpec);
    spec.lengthFrames = 0;
    spec.pattern.hat.resize(1); // tracks of different lengths
    EXPECT_THROW(GenerateDrumLoop(spec), loopgen::XLoopSpec);
}

TEST(GeneratedLoops, StereoLoopImportsToTheSameSlices)
{
    LoopSpec spec;
    spec.channels = 2;
    spec.bars = 2;
    const auto loop = GenerateDrumLoop(spec);
    ASSERT_EQ(loop.samples.size(), static_cast<size_t>(loop.frames) * 2);
    EXPECT_THROW(loopgen::MakeWaveSample(loop), loopgen::XLoopSpec);

    for (int channel : {1, 2}) { // the right channel, and the mix-down
        CMemoryMedia media(static_cast<int32_t>(loop.samples.size() * 2));
        std::copy_n(reinterpret_cast<const uint8_t*>(loop.samples.data()), loop.samples.size() * 2, media.Data());
        WAVE_SAMPLE sound("stereo", spec.sampleRate, loop.frames);
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
    LoopSpec spec;
    spec.lengthFrames = 300 * 44100;
    const auto loop = GenerateDrumLoop(spec);
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
