// How many slices an AKAI program can place and what their samples are
// called; the transmission itself is exercised against the emulated
// samplers (tests/app, tests/ui).
#include <gtest/gtest.h>

#include "samplers/akai/AKAIProgramDefaults.h"
#include "samplers/akai/AKAIProgramTransmission.h"

namespace quorvel::akai {
namespace {

TEST(AKAIProgramTransmission, TheSliceLimitIsTheSmallerOf99AndTheKeysLeft)
{
    EXPECT_EQ(SliceLimit(36), 92);
    EXPECT_EQ(SliceLimit(29), 99);
    EXPECT_EQ(SliceLimit(0), 99);
    EXPECT_EQ(SliceLimit(120), 8);
    EXPECT_EQ(SliceLimit(127), 1);
}

TEST(AKAIProgramTransmission, SliceNamesTakeTheProgramsNameAsTheSamplerKeepsIt)
{
    EXPECT_EQ(SliceName("NEW PROGRAM", 1, true), "NEW PROGR 01");
    EXPECT_EQ(SliceName("kick_1", 12, true), "KICK 1 12") << "upper case, underscore a space";
    EXPECT_EQ(SliceName("BREAK BEATS", 3, true), "BREAK BEA 03");
    EXPECT_EQ(SliceName("LOOP     X", 4, true), "LOOP 04") << "no run of spaces before the number";
    EXPECT_EQ(SliceName("Whole loop here", 0, false), "WHOLE LOOP H") << "one sample: the program's name";
}

TEST(AKAIProgramTransmission, TheDefaultKeyGroupPlaysEveryVelocityOfItsFirstZoneOnly)
{
    for (const EGeneration generation : {EGeneration::S1000, EGeneration::S3000}) {
        const std::unique_ptr<CABCAKAIKeyGroup> group = DefaultKeyGroup(generation);
        EXPECT_EQ(group->Bytes()[0], kKeyGroupBlockId);
        for (int32_t zone = 0; zone < kVelocityZones; ++zone)
            EXPECT_EQ(group->ZoneSample(zone), "");
        EXPECT_EQ(group->Bytes()[CABCAKAIKeyGroup::kFirstZoneOffset + 13], 127) << "high velocity";
        EXPECT_EQ(DefaultProgramHeader(generation)->Bytes()[0], kProgramBlockId);
    }
}

} // namespace
} // namespace quorvel::akai
