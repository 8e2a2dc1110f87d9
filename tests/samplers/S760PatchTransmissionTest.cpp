#include <gtest/gtest.h>

#include "../fileformats/InstrumentExportFixtures.h"
#include "FakeS760Sampler.h"
#include "SDSFixture.h"
#include "analysis/SliceSet.h"
#include "samplers/roland/S760PatchTransmission.h"

using namespace quorvel;
using namespace quorvel::s760;
using namespace quorvel::test;

namespace {

class Answers : public CABCS760TransmitQuestions {
public:
    int ConfirmSliceCount(int count, int maximum) override
    {
        asked.push_back("count");
        return std::min(count, maximum);
    }
    bool ReplacePatch(const std::string& name) override
    {
        asked.push_back("replace " + name);
        return replace;
    }
    bool UseDefaults() override
    {
        asked.push_back("defaults");
        return useDefaults;
    }
    void TemplateIncomplete() override { asked.push_back("incomplete"); }
    CABCTransferProgress& SampleProgress(int) override { return progress; }

    bool replace = true;
    bool useDefaults = true;
    std::vector<std::string> asked;
    QuietProgress progress;
};

class S760PatchTest : public ::testing::Test {
protected:
    FakeClock clock;
    CScopedMIDIClock scopedClock{clock};
    FakeRegisteredInput inPort;
    FakeRegisteredOutput outPort;
    CSysexMIDIInput parser;
    ScriptedInput input{inPort, parser, clock};
    RecordingOutput output{outPort, clock};
    FakeS760Sampler sampler{clock, input, output};
    CS760MIDIInterface s760{output, parser, 0};
    Answers answers;
    CS760PatchTransmission transmission{s760, answers};
    std::unique_ptr<CSoundDocument> loop = EvenlySliced(3, 500);

    SS760TransmitResult Send(const std::string& name, std::optional<std::string> templateName = std::nullopt)
    {
        return transmission.Run(MakeExportJob(*loop), SS760TransmitSettings{name, templateName});
    }
    std::vector<int> Keys(const CS760PatchBlock& patch) const
    {
        std::vector<int> keys;
        for (int key = kLowestKey; key < kLowestKey + kKeyCount; ++key)
            if (const std::optional<uint8_t> partial = patch.PartialOfKey(key))
                keys.push_back(*partial);
            else
                keys.push_back(-1);
        return keys;
    }
    static std::vector<int> Mapped(std::initializer_list<std::pair<int, int>> keyToPartial)
    {
        std::vector<int> keys(kKeyCount, -1);
        for (const auto& [key, partial] : keyToPartial)
            keys[static_cast<size_t>(key - kLowestKey)] = partial;
        return keys;
    }
};

} // namespace

TEST_F(S760PatchTest, EachSlicePlaysThroughItsOwnPartialFromC2Up)
{
    sampler.blocks[0] = FakeS760Sampler::NamedBlock("Other");
    const SS760TransmitResult result = Send("Beat");
    ASSERT_EQ(result.samples.size(), 3u);
    EXPECT_EQ(result.patchNumber, 0);
    const CS760PatchBlock patch = transmission.ReadPatch(0);
    EXPECT_EQ(patch.Name(), "Beat");
    EXPECT_EQ(Keys(patch), Mapped({{36, 0}, {37, 1}, {38, 2}}));
    for (int k = 0; k < 3; ++k) {
        const CS760PartialBlock partial = transmission.ReadPartial(k);
        EXPECT_EQ(partial.Name(), SliceName("Beat", k + 1, true));
        EXPECT_EQ(partial.Sample(), k + 1) << "sample 0 was taken";
        EXPECT_EQ(result.samples[static_cast<size_t>(k)].partial, k);
    }
    EXPECT_EQ(SliceName("A Long Patch Name", 12, true), "A Long Patch 12");
}

TEST_F(S760PatchTest, APatchOfThatNameIsReplacedWithItsPartialsAndSamplesOrNothingIsSent)
{
    Send("Beat");
    answers.replace = false;
    EXPECT_THROW(Send("Beat"), XSampleTransmitCancelled);
    EXPECT_EQ(answers.asked.back(), "replace Beat");
    EXPECT_EQ(sampler.blocks.size(), 3u);

    answers.replace = true;
    const SS760TransmitResult again = Send("Beat");
    // The old samples and partials went first, so the same numbers come back.
    EXPECT_EQ(sampler.blocks.size(), 3u);
    EXPECT_EQ(again.samples[0].number, 0);
    EXPECT_EQ(again.patchNumber, 0);
    EXPECT_EQ(Keys(transmission.ReadPatch(0)), Mapped({{36, 0}, {37, 1}, {38, 2}}));
}

TEST_F(S760PatchTest, MissingRoomAndNameClashesStopItBeforeAnythingIsSent)
{
    for (uint16_t n = 0; n < 254; ++n)
        sampler.others.push_back({4, n, "Partial         "});
    EXPECT_THROW(Send("Beat"), XS760NotEnoughPartials);
    EXPECT_EQ(transmission.Shortfall(), 2);
    EXPECT_TRUE(sampler.Dump().header.empty());

    sampler.others.clear();
    sampler.others.push_back({4, 7, "Beat 02         "});
    EXPECT_THROW(Send("Beat"), XS760PartialNameTaken);
    EXPECT_EQ(transmission.ClashingName(), "Beat 02");

    sampler.others.clear();
    for (uint16_t n = 0; n < 128; ++n)
        sampler.others.push_back({3, n, "Patch           "});
    EXPECT_THROW(Send("Beat"), XS760NoFreePatch);
    EXPECT_TRUE(sampler.Dump().header.empty());
}

TEST_F(S760PatchTest, ATemplateLendsItsSettingsOrTheDefaultsAreOffered)
{
    Send("Model");
    // The template's first partial carries a setting the new partials keep.
    Bytes wire = sampler.memory[PartialAddress(0)];
    wire[2 * 40] = 0x05;
    sampler.memory[PartialAddress(0)] = wire;
    Send("Copy", std::string("Model"));
    EXPECT_EQ(sampler.memory[PartialAddress(3)][2 * 40], 0x05);
    EXPECT_EQ(transmission.ReadPatch(1).Name(), "Copy");

    answers.useDefaults = false;
    EXPECT_THROW(Send("Third", std::string("Nowhere")), XSampleTransmitCancelled);
    EXPECT_EQ(answers.asked.back(), "defaults");
}
