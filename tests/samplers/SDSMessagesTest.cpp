#include <gtest/gtest.h>

#include "samplers/sds/SDSMessages.h"
#include "FakeSDSSampler.h"

using namespace quorvel;
using namespace quorvel::sds;
using quorvel::test::Bytes;

namespace {

Bytes Of(const CRawSysex& message) { return Bytes(message.GetData(), message.GetData() + message.GetLength()); }

} // namespace

TEST(SDSMessagesTest, HeaderCarriesTheInfoLeastSignificantGroupFirst)
{
    SampleInfo info;
    info.bits = 16;
    info.rate = 44100; // 22675 ns
    info.length = 100;
    info.sustainLoop = {2, 10, 90};
    const Bytes expected{0xF0, 0x7E, 0x05, 0x01, 0x34, 0x24, 0x10, 0x13, 0x31, 0x01, 0x64,
                         0x00, 0x00, 0x0A, 0x00, 0x00, 0x5A, 0x00, 0x00, 0x00, 0xF7};
    EXPECT_EQ(Of(BuildHeader(5, HeaderFromInfo(info, 0x1234))), expected);
    EXPECT_EQ(Of(BuildRequest(5, 0x1234)), (Bytes{0xF0, 0x7E, 0x05, 0x03, 0x34, 0x24, 0xF7}));
    EXPECT_EQ(Of(BuildHandshake(5, kNak, 0x11)), (Bytes{0xF0, 0x7E, 0x05, 0x7E, 0x11, 0xF7}));
}

TEST(SDSMessagesTest, HeaderHoldsFormatAndPeriodToWhatTheWireTakes)
{
    SampleInfo info;
    info.length = 50;
    struct Case {
        uint8_t bits;
        uint32_t rate;
        uint8_t format;
        uint32_t period;
    };
    const Case cases[] = {
        {4, 48000, 8, 20833}, {8, 32000, 8, 31250}, {24, 1, 24, 0x1FFFFF},
        {32, 2000000000, 28, 1}, {16, 0, 16, 0x1FFFFF},
    };
    for (const Case& c : cases) {
        info.bits = c.bits;
        info.rate = c.rate;
        const SDumpHeader header = HeaderFromInfo(info, 0);
        EXPECT_EQ(header.format, c.format) << int(c.bits);
        EXPECT_EQ(header.period, c.period) << c.rate;
    }
    // Loop types: off with marker, none, alternating.
    info.sustainLoop = {1, 5, 40};
    SDumpHeader header = HeaderFromInfo(info, 0);
    EXPECT_EQ(header.loopType, kLoopOff);
    EXPECT_EQ(header.loopStart, 40u);
    EXPECT_EQ(header.loopEnd, 40u);
    info.sustainLoop = {0, 5, 40};
    header = HeaderFromInfo(info, 0);
    EXPECT_EQ(header.loopType, kLoopOff);
    EXPECT_EQ(header.loopStart, 50u);
    EXPECT_EQ(header.loopEnd, 50u);
    info.sustainLoop = {3, 5, 40};
    header = HeaderFromInfo(info, 0);
    EXPECT_EQ(header.loopType, kLoopAlternating);
    EXPECT_EQ(header.loopStart, 5u);
    // Only 14 bits of the sample number travel.
    EXPECT_EQ(HeaderFromInfo(info, 0xC001).sampleNumber, 1);
}

TEST(SDSMessagesTest, ReceivedRatesSnapOnlyWithinOneHertz)
{
    SDumpHeader header;
    header.length = 10;
    struct Case {
        uint32_t period;
        uint32_t rate;
    };
    const Case cases[] = {
        {22675, 44100}, // 44101 Hz
        {22674, 44103}, {20833, 48000}, {45349, 22050}, // 22051 Hz
        {45347, 22052}, {45353, 22050}, // 22049 Hz
        {45354, 22048}, {125000, 8000}, {31250, 32000}, {90703, 11025}, {0, 1000000000},
    };
    for (const Case& c : cases) {
        header.period = c.period;
        EXPECT_EQ(InfoFromHeader(header).rate, c.rate) << c.period;
    }
}

TEST(SDSMessagesTest, ReceivedHeaderGivesAMonoInfoWithItsLoop)
{
    CRawSysex message = BuildHeader(0, SDumpHeader{3, 20, 22675, 500, 100, 400, kLoopAlternating});
    SampleInfo info = InfoFromHeader(ParseHeader(message));
    EXPECT_EQ(info.Name(), "");
    EXPECT_EQ(info.channelCount, 1);
    EXPECT_EQ(info.bits, 20);
    EXPECT_EQ(info.length, 500u);
    EXPECT_EQ(info.playStart, 0u);
    EXPECT_EQ(info.playEnd, 500u);
    EXPECT_EQ(info.sustainLoop.type, 3u);
    EXPECT_EQ(info.sustainLoop.start, 100u);
    EXPECT_EQ(info.sustainLoop.end, 400u);
    EXPECT_EQ(info.releaseLoop.type, 0u);
    EXPECT_EQ(info.rootKey, 60);

    info = InfoFromHeader(SDumpHeader{0, 16, 22675, 500, 100, 400, kLoopForward});
    EXPECT_EQ(info.sustainLoop.type, 2u);
    info = InfoFromHeader(SDumpHeader{0, 16, 22675, 500, 400, 400, kLoopOff});
    EXPECT_EQ(info.sustainLoop.type, 1u);
    // A loop that starts after it ends is no loop.
    info = InfoFromHeader(SDumpHeader{0, 16, 22675, 500, 401, 400, kLoopForward});
    EXPECT_EQ(info.sustainLoop.type, 0u);
}

TEST(SDSMessagesTest, WordsArePackedLeftJustifiedInOffsetBinary)
{
    // The standard's own example: the most positive 12-bit word goes out as 7F 7C.
    const int16_t narrow[] = {0x7FF0, -32768, 0x7FFF, -1, 0};
    auto packet = BuildPacket(0, 9, 12, narrow, 2);
    const uint8_t* d = packet->GetData();
    EXPECT_EQ((Bytes{d[5], d[6], d[7], d[8], d[9]}), (Bytes{0x7F, 0x7C, 0x00, 0x00, 0x00}));
    packet = BuildPacket(0, 9, 16, narrow + 2, 3);
    d = packet->GetData();
    EXPECT_EQ(Bytes(d + 5, d + 14), (Bytes{0x7F, 0x7F, 0x60, 0x3F, 0x7F, 0x60, 0x40, 0x00, 0x00}));
    const int32_t wide[] = {INT32_MAX, INT32_MIN};
    packet = BuildPacket(0, 9, 28, wide, 2);
    d = packet->GetData();
    EXPECT_EQ(Bytes(d + 5, d + 13), (Bytes{0x7F, 0x7F, 0x7F, 0x7F, 0x00, 0x00, 0x00, 0x00}));
    // Length, numbering, the standard's checksum, zeros after the last word.
    const Bytes bytes = Of(*packet);
    ASSERT_EQ(bytes.size(), 127u);
    EXPECT_EQ(bytes[4], 9);
    EXPECT_EQ(bytes[125], test::SdsChecksum(bytes));
    EXPECT_TRUE(std::all_of(bytes.begin() + 13, bytes.begin() + 125, [](uint8_t b) { return b == 0; }));
    EXPECT_EQ(WordsPerPacket(14), 60);
    EXPECT_EQ(WordsPerPacket(15), 40);
    EXPECT_EQ(WordsPerPacket(21), 40);
    EXPECT_EQ(WordsPerPacket(22), 30);
    EXPECT_EQ(WordsPerPacket(29), 0);
}
