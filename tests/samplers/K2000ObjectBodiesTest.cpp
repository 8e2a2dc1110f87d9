// The three object bodies of a K2000/K2500 round trip byte for byte, a
// sample's loop and rate survive a sound block, and bodies that cannot be
// objects are refused.
#include <gtest/gtest.h>

#include <vector>

#include "samplers/kurzweil/K2000Keymap.h"
#include "samplers/kurzweil/K2000Program.h"
#include "samplers/kurzweil/K2000SoundBlock.h"
#include "samplers/kurzweil/KurzweilExceptions.h"

namespace quorvel {
namespace {

std::vector<uint8_t> BodyOf(const CKurzweilObject& object)
{
    std::vector<uint8_t> body(object.BodySize());
    EXPECT_EQ(object.WriteBody(body), body.size());
    EXPECT_LE(body.size(), object.MaxBodySize());
    return body;
}

SampleInfo Sample(uint32_t rate, uint32_t length, SampleLoopType loop, uint32_t start, uint32_t end)
{
    SampleInfo info;
    info.SetName("slice");
    info.channelCount = 1;
    info.bits = 16;
    info.rate = rate;
    info.length = length;
    info.playEnd = length;
    info.rootKey = 48;
    info.sustainLoop = {static_cast<uint32_t>(loop), start, end};
    return info;
}

TEST(K2000SoundBlock, ASampleBecomesOneSoundHeaderAsTheSamplerKeepsIt)
{
    CK2000SoundBlock block(200, "slice");
    block.SetFromSampleInfo(Sample(44100, 1000, SampleLoopType::Alternating, 100, 900));
    const std::vector<uint8_t> body = BodyOf(block);
    ASSERT_EQ(body.size(), 44u);
    const std::vector<uint8_t> expected{0,  0,    0, 0, 0, 8, 0, 0, 0, 0, 0, 0, // one sound, header 8 on
                                        48, 0x32, 0, 0, 0x18, 0x03, 0, 0, 0, 0, 0, 0, 0, 0, 0x03, 0xE7, 0, 0, 0, 100,
                                        0,  0,    3, 0x83, 0, 8, 0, 6, 0, 0, 0x58, 0x93};
    EXPECT_EQ(body, expected) << "period 22675 ns";

    CK2000SoundBlock back(200, "slice"); // the name travels in the object's own fields
    back.ReadBody(body);
    const SampleInfo info = back.ToSampleInfo();
    const SampleInfo sent = Sample(44100, 1000, SampleLoopType::Alternating, 100, 900);
    EXPECT_EQ(info, sent) << "name, rate, length, channels, bits, root key and loop";
    EXPECT_EQ(BodyOf(back), body);
}

TEST(K2000SoundBlock, LoopsAreOnOnlyWhenTheyLoopAndOffLoopsSpanWhatTheyMark)
{
    struct Case {
        SampleLoopType type;
        uint8_t flags;
        uint32_t loopStart, loopLast;
    };
    for (const Case& c :
         {Case{SampleLoopType::None, 0xB0, 0, 499}, Case{SampleLoopType::OffWithMarker, 0xB0, 10, 19},
          Case{SampleLoopType::Forward, 0x30, 10, 19}, Case{SampleLoopType::Alternating, 0x32, 10, 19}}) {
        const SK2000SoundHeader h = SK2000SoundHeader::FromSampleInfo(Sample(22050, 500, c.type, 10, 20));
        EXPECT_EQ(h.flags, c.flags) << int(c.type);
        EXPECT_EQ(h.loopStart, c.loopStart) << int(c.type);
        EXPECT_EQ(h.loopEnd, c.loopLast) << int(c.type);
        EXPECT_EQ(h.end, 499u);
    }
    const SK2000SoundHeader empty = SK2000SoundHeader::FromSampleInfo(Sample(22050, 0, SampleLoopType::None, 0, 0));
    EXPECT_EQ(empty.end, 0u);
    EXPECT_EQ(empty.loopEnd, 0u) << "an empty sample's loop does not wrap below its start";

    CK2000SoundBlock past(200, "past");
    past.SetFromSampleInfo(Sample(22050, 500, SampleLoopType::None, 0, 0));
    std::vector<uint8_t> body = BodyOf(past);
    body[12 + 18] = 0x01; // loop start 500, past the last frame
    body[12 + 19] = 0xF4;
    body[12 + 22] = 0x01; // loop end 500
    body[12 + 23] = 0xF4;
    past.ReadBody(body);
    const SampleInfo read = past.ToSampleInfo();
    EXPECT_EQ(read.sustainLoop.end, 500u) << "a loop read back ends inside the sample";
    EXPECT_LE(read.sustainLoop.start, read.sustainLoop.end);
}

TEST(K2000SoundBlock, RatesAreClampedOnTheWayOutAndSnappedOnTheWayBack)
{
    EXPECT_EQ(SK2000SoundHeader::PeriodOf(100), SK2000SoundHeader::PeriodOf(400));
    EXPECT_EQ(SK2000SoundHeader::PeriodOf(400), 2500000u);
    EXPECT_EQ(SK2000SoundHeader::PeriodOf(100000), SK2000SoundHeader::PeriodOf(95996));
    EXPECT_EQ(SK2000SoundHeader::PeriodOf(95996), 10417u);
    EXPECT_EQ(SK2000SoundHeader::RateOf(1000000000 / 44099), 44100u);
    EXPECT_EQ(SK2000SoundHeader::RateOf(1000000000 / 44101), 44100u);
    EXPECT_EQ(SK2000SoundHeader::RateOf(SK2000SoundHeader::PeriodOf(44100)), 44100u);
    EXPECT_EQ(SK2000SoundHeader::RateOf(1000000000 / 44103), 44103u) << "further off stays as it is";
}

TEST(K2000SoundBlock, AReadBlockKeepsItsOwnBytesAndRefusesWhatItCannotHold)
{
    std::vector<uint8_t> body(12 + 64);
    body[0] = 0x01; // base id
    body[3] = 1;    // two sounds
    body[5] = 8;
    body[6] = 0x05; // stereo and a flag of its own
    for (size_t i = 7; i < 12; ++i)
        body[i] = static_cast<uint8_t>(i);
    for (size_t i = 12; i < body.size(); ++i)
        body[i] = static_cast<uint8_t>(i * 7);
    CK2000SoundBlock block;
    block.ReadBody(body);
    EXPECT_EQ(block.Sounds().size(), 2u);
    EXPECT_TRUE(block.IsStereo());
    EXPECT_EQ(block.ToSampleInfo().channelCount, 2);
    EXPECT_EQ(BodyOf(block), body);

    body[3] = 2; // a third sound past the end
    EXPECT_THROW(block.ReadBody(body), XK2000InvalidFormat);
    body[2] = 0;
    body[3] = 128; // 129 sounds
    EXPECT_THROW(block.ReadBody(std::vector<uint8_t>(12 + 32 * 129)), XK2000InvalidFormat);
    EXPECT_THROW(block.ReadBody(std::vector<uint8_t>(11)), XK2000InvalidFormat);
}

TEST(K2000Keymap, TablesAreSharedBetweenLevelsBothWays)
{
    CK2000Keymap keymap(300, "loop");
    EXPECT_EQ(keymap.EntryIndexOfKey(36), 24);
    EXPECT_EQ(keymap.EntryIndexOfKey(11), -1);
    keymap.LevelTable(CK2000Keymap::kSliceLevel)[24] = {0x1234, 0x56, 201, 1};
    const std::vector<uint8_t> body = BodyOf(keymap);
    ASSERT_EQ(body.size(), 28u + 6 * 128);
    const std::vector<uint8_t> header{0, 0, 0, 23, 0, 0, 0, 100, 0, 127, 0, 6};
    EXPECT_EQ(std::vector<uint8_t>(body.begin(), body.begin() + 12), header);
    for (size_t level = 0; level < 8; ++level)
        EXPECT_EQ(body[12 + 2 * level + 1], 16 - 2 * level) << "every level on the one table";
    const std::vector<uint8_t> entry{0x12, 0x34, 0x56, 0, 201, 1};
    EXPECT_EQ(std::vector<uint8_t>(body.begin() + 28 + 6 * 24, body.begin() + 28 + 6 * 25), entry);

    // Two entries, levels 0-3 on table 0 and 4-7 on table 1.
    std::vector<uint8_t> split(28 + 2 * 2 * 6);
    split[9] = 1;
    split[11] = 6;
    for (size_t level = 0; level < 8; ++level)
        split[12 + 2 * level + 1] = static_cast<uint8_t>((level < 4 ? 0 : 12) - 2 * level + 16);
    split[28 + 12 + 4] = 7; // table 1, entry 0: block 7
    CK2000Keymap read;
    read.ReadBody(split);
    EXPECT_EQ(read.TableCount(), 2u);
    EXPECT_EQ(read.TableIndexOfLevel(3), 0u);
    EXPECT_EQ(read.TableIndexOfLevel(4), 1u);
    EXPECT_EQ(read.LevelTable(7)[0].soundBlock, 7);
    EXPECT_EQ(read.SoundBlocks(), std::vector<uint16_t>{7});
    EXPECT_EQ(BodyOf(read), split);
}

TEST(K2000Keymap, MalformedKeymapsAreFormatErrors)
{
    std::vector<uint8_t> body = BodyOf(CK2000Keymap());
    CK2000Keymap keymap;
    auto expectRefused = [&](std::vector<uint8_t> bad, const char* why) {
        EXPECT_THROW(keymap.ReadBody(bad), XK2000InvalidFormat) << why;
    };
    std::vector<uint8_t> bad = body;
    bad[8] = 0;
    bad[9] = 128; // 129 entries
    expectRefused(bad, "more than 128 entries");
    bad = body;
    bad[11] = 5;
    expectRefused(bad, "entries narrower than 6 bytes");
    bad = body;
    bad[13] = 17;
    expectRefused(bad, "a level between two tables");
    bad = body;
    bad[26] = 0x0C; // level 7 on table 4 of a one-table body
    expectRefused(bad, "a table past the body");
    expectRefused(std::vector<uint8_t>(body.begin(), body.begin() + 27), "a cut header");
    keymap.ReadBody(body);
    EXPECT_EQ(keymap.EntryCount(), 128u);
}

TEST(K2000Program, TheDefaultProgramPlaysOneLayerOverTheKeyboardAndRoundTrips)
{
    CK2000Program program(101, "LOOP");
    CK2000Program::SetKeymap(program.Layers().front(), 101);
    const std::vector<uint8_t> body = BodyOf(program);
    ASSERT_EQ(body.size(), 48u + 224);
    const std::vector<uint8_t> common{8, 2, 1, 0x18, 1, 1, 55, 64};
    EXPECT_EQ(std::vector<uint8_t>(body.begin(), body.begin() + 8), common);
    EXPECT_EQ(body[40], 15);
    const std::vector<std::pair<size_t, uint8_t>> tags{{16, 16}, {24, 17}, {32, 24}, {36, 25}, {40, 20}, {48, 21},
                                                       {56, 26}, {60, 27}, {64, 32}, {80, 33}, {96, 34}, {112, 35},
                                                       {160, 80}, {176, 81}, {192, 82}, {208, 83}};
    for (const auto& [at, tag] : tags)
        EXPECT_EQ(body[48 + at], tag) << at;

    CK2000Program back;
    back.ReadBody(body);
    ASSERT_EQ(back.Layers().size(), 1u);
    EXPECT_EQ(CK2000Program::KeymapOf(back.Layers().front()), 101);
    EXPECT_EQ(CK2000Program::KeyRange(back.Layers().front()), (std::pair<uint8_t, uint8_t>{0, 127}));
    EXPECT_EQ(BodyOf(back), body);
}

TEST(K2000Program, LayersOfATemplateComeBackAsTheyWereAndWrongTagsAreRefused)
{
    CK2000Program program;
    program.Layers().push_back(CK2000Program::DefaultLayer());
    program.Layers()[1][150] = 0x42;
    program.CommonPart()[3] = 0xE5; // flags of its own
    std::vector<uint8_t> body = BodyOf(program);
    ASSERT_EQ(body[2], 2) << "the layer count follows the layers";
    CK2000Program back;
    back.ReadBody(body);
    EXPECT_EQ(back.Layers().size(), 2u);
    EXPECT_EQ(back.Layers()[1][150], 0x42);
    EXPECT_EQ(BodyOf(back), body);

    std::vector<uint8_t> bad = body;
    bad[48 + 224 + 176] = 80;
    EXPECT_THROW(back.ReadBody(bad), XK2000InvalidTag) << "tag 81 expected in the second layer";
    bad = body;
    bad[0] = 9;
    EXPECT_THROW(back.ReadBody(bad), XK2000InvalidTag);
    bad = body;
    bad[2] = 3;
    EXPECT_THROW(back.ReadBody(bad), XK2000InvalidFormat) << "a third layer past the body";
    bad[2] = 0;
    EXPECT_THROW(back.ReadBody(bad), XK2000InvalidFormat) << "no layer";
    EXPECT_EQ(back.Layers().size(), 2u) << "a refused body leaves the program as it was";
}

} // namespace
} // namespace quorvel
