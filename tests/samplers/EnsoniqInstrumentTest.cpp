// A sliced loop made into one instrument on a scripted EPS-16+: the slot's
// old instrument, the refusals, and the waves on their keys.
#include <gtest/gtest.h>

#include "../fileformats/InstrumentExportFixtures.h"
#include "devices/midi/SysexMIDIInput.h"
#include "samplers/SampleTransfer.h"
#include "samplers/ensoniq/EnsoniqInstrumentTransmission.h"
#include "FakeEnsoniqSampler.h"
#include "ScriptedMIDIPorts.h"

namespace quorvel::test {
namespace {

using namespace ensoniq;

class NoProgress : public CABCTransferProgress {
public:
    void SetPercent(int32_t) override {}
    bool CancelRequested() override { return false; }
};

class Answers : public CABCEnsoniqTransmitQuestions {
public:
    int ConfirmSliceCount(int count, int maximum) override
    {
        asked = {count, maximum};
        return std::min(count, maximum);
    }
    bool ReplaceInstrument(const std::string& name) override
    {
        replaceAsked = name;
        return replace;
    }
    CABCTransferProgress& SampleProgress(int) override { return progress; }

    bool replace = false;
    std::string replaceAsked;
    std::pair<int, int> asked;
    NoProgress progress;
};

TEST(EnsoniqInstrumentNames, NamesFitTwelveCharactersAndTheKeysFromThirtySix)
{
    EXPECT_EQ(SliceLimit(), 92);
    EXPECT_EQ(InstrumentName("  Funky breaks loop "), "Funky breaks");
    EXPECT_EQ(InstrumentName("Tab\there"), "Tab_here");
    EXPECT_EQ(InstrumentName("   "), "");
    EXPECT_EQ(SliceName("NEW INSTR", 3, true), "NEW INSTR 03");
    EXPECT_EQ(SliceName("BREAK     X", 12, true), "BREAK 12") << "no run of blanks before the number";
    EXPECT_EQ(SliceName("Whole loop here", 0, false), "Whole loop h");
}

class EnsoniqInstrumentTest : public ::testing::Test, protected ScriptedMIDIPorts {
protected:
    FakeEnsoniqSampler sampler{clock, input, output, 0};
    CEPS16Interface eps16{parser, output, 0};
    Answers answers;
    std::unique_ptr<CSoundDocument> document = EvenlySliced(3, 700);
    CExportJob job = MakeExportJob(*document);

    SEnsoniqTransmitResult Send(uint32_t slot, const std::string& name = "BREAKS")
    {
        CEnsoniqInstrumentTransmission transmission(eps16, answers);
        return transmission.Run(job, {name, slot});
    }
};

TEST_F(EnsoniqInstrumentTest, TheSlicesBecomeWavesOfANewInstrumentOnTheirOwnKeys)
{
    const SEnsoniqTransmitResult result = Send(2);
    EXPECT_EQ(answers.asked, std::make_pair(3, 92));
    ASSERT_EQ(result.samples.size(), 3u);
    EXPECT_EQ(result.samples[1].name, "BREAKS 02");
    EXPECT_EQ(result.samples[2].number, 2 * 128 + 3);
    ASSERT_EQ(sampler.instruments.count(2), 1u);
    const auto& instrument = sampler.instruments[2];
    EXPECT_EQ(instrument.name, "BREAKS      ");
    ASSERT_EQ(instrument.waves.size(), 3u) << "the new layer's wave is the first slice's";
    for (uint32_t w = 1; w <= 3; ++w) {
        const Bytes& block = instrument.waves.at(w).parameters;
        ASSERT_EQ(block.size(), 3 * FakeEnsoniqSampler::kWaveWords);
        EXPECT_EQ(HighOf(block, 132), 35 + w) << "low key";
        EXPECT_EQ(HighOf(block, 133), 35 + w) << "high key";
        EXPECT_EQ(HighOf(block, 80), 35 + w) << "root key";
        EXPECT_EQ(instrument.waves.at(w).words.size(), 700u);
        EXPECT_EQ(instrument.layers.at(0)[35 + w - 21], w) << "the layer plays it on its key";
    }
    EXPECT_EQ(instrument.layers.at(0)[50 - 21], 0) << "no other key plays anything";
    EXPECT_EQ(instrument.waves.at(2).words[0], 701u) << "the second slice's first frame";
    EXPECT_EQ(sampler.commands.front(), 3);
    EXPECT_EQ(sampler.commands[1], 21);
    EXPECT_EQ(sampler.commands[2], 22);
    EXPECT_EQ(sampler.commands.back(), 13);
}

TEST_F(EnsoniqInstrumentTest, AnInstrumentInTheSlotGoesOnlyWhenTheUserAgrees)
{
    sampler.instruments[0].name = "OLD ONE";
    sampler.instruments[0].waves[5];
    EXPECT_THROW(Send(0), XSampleTransmitCancelled);
    EXPECT_EQ(answers.replaceAsked, "OLD ONE");
    EXPECT_EQ(sampler.commands, std::vector<uint8_t>{3}) << "nothing but the look";

    answers.replace = true;
    Send(0);
    EXPECT_EQ(sampler.commands[2], 28);
    EXPECT_EQ(sampler.instruments[0].waves.count(5), 0u);
    EXPECT_EQ(sampler.instruments[0].waves.size(), 3u);
}

TEST_F(EnsoniqInstrumentTest, RefusalsBeforeAndWhileMakingTheInstrument)
{
    EXPECT_THROW(Send(0, "  "), XEnsoniqInstrumentNameMissing);
    EXPECT_THROW(Send(8), XEnsoniqInvalidTarget);
    EXPECT_TRUE(sampler.commands.empty());
    sampler.refuse[21] = 5;
    EXPECT_THROW(Send(1), XEnsoniqInstrumentNotCreated);
    sampler.refuse[21] = 12;
    EXPECT_THROW(Send(1), XEnsoniqOutOfMemory) << "a full sampler is told as such";
    sampler.refuse[12] = 3;
    EXPECT_THROW(Send(1), XEnsoniqInstrumentNotCreated);
}

} // namespace
} // namespace quorvel::test
