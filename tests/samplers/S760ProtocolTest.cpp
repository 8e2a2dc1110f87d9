#include <gtest/gtest.h>

#include "FakeS760Sampler.h"
#include "devices/midi/MIDIExceptions.h"
#include "devices/midi/SysexMIDIInput.h"
#include "samplers/roland/RolandCom.h"
#include "samplers/roland/RolandExceptions.h"
#include "samplers/roland/S760Layouts.h"
#include "samplers/roland/S760Recognizer.h"

using namespace quorvel;
using namespace quorvel::test;

namespace {

class S760ProtocolTest : public ::testing::Test {
protected:
    FakeClock clock;
    CScopedMIDIClock scopedClock{clock};
    FakeRegisteredInput inPort;
    FakeRegisteredOutput outPort;
    CSysexMIDIInput parser;
    ScriptedInput input{inPort, parser, clock};
    RecordingOutput output{outPort, clock};
    roland::CRolandCom com{parser, output, 3};

    int acks = 0;
    // Acknowledges everything the program sends.
    void AcknowledgeAll()
    {
        output.onPiece = [this](const Bytes&) { input.At(clock.now + 1, RolandBare(0x43, 3)); };
    }
    void ReadWith(const Bytes& reply, size_t size = 8)
    {
        input.At(clock.now + 1, reply);
        std::vector<uint8_t> into(size);
        com.HandshakeRead(0x30000, into, 5000);
    }
};

} // namespace

TEST_F(S760ProtocolTest, OneWayWritesGoInPiecesOf256At50MillisecondsApart)
{
    Bytes data(600);
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<uint8_t>(i % 128);
    com.WriteOneWay(0x1000, data);
    ASSERT_EQ(output.pieces.size(), 3u);
    const uint32_t sizes[] = {256, 256, 88};
    for (size_t k = 0; k < 3; ++k) {
        const Bytes& m = output.pieces[k].bytes;
        EXPECT_EQ(m.size(), sizes[k] + 11);
        EXPECT_EQ((Bytes{m.begin(), m.begin() + 5}), (Bytes{0xF0, 0x41, 3, 0x34, 0x12}));
        EXPECT_EQ(Address7At(m, 5), 0x1000 + 256 * k);
        EXPECT_EQ(m[9], data[256 * k]);
        EXPECT_EQ(m[m.size() - 2], RolandChecksum(m.data() + 5, m.data() + m.size() - 2));
        if (k > 0) {
            EXPECT_GE(output.pieces[k].time - output.pieces[k - 1].time, 50u);
        }
    }
}

TEST_F(S760ProtocolTest, HandshakeWriteAwaitsAnAcknowledgeForEveryMessage)
{
    AcknowledgeAll();
    com.HandshakeWrite(0x30000, Bytes(300, 5), 5000);
    ASSERT_EQ(output.pieces.size(), 4u);
    EXPECT_EQ(output.pieces[0].bytes, RolandMessage(0x40, 0x30000, Address7(300), 3));
    EXPECT_EQ(output.pieces[1].bytes.size(), 256u + 11);
    EXPECT_EQ(Address7At(output.pieces[2].bytes, 5), 0x30000u + 256);
    EXPECT_EQ(output.pieces[2].bytes.size(), 44u + 11);
    EXPECT_EQ(output.pieces[3].bytes, RolandMessage(0x45, 0x30000, Address7(300), 3));

    output.onPiece = [this](const Bytes&) { input.At(clock.now + 1, RolandBare(0x4F, 3)); };
    EXPECT_THROW(com.HandshakeWrite(0x30000, Bytes(4), 5000), XRolandRejectException);
}

TEST_F(S760ProtocolTest, HandshakeReadAcknowledgesEachPieceAndTheEnd)
{
    output.onPiece = [this](const Bytes& m) {
        if (m[4] == 0x41) {
            input.At(clock.now + 1, RolandMessage(0x42, 0x30000, Bytes(256, 1), 3));
        } else if (m[4] == 0x43 && ++acks == 1) {
            input.At(clock.now + 1, RolandMessage(0x42, 0x30100, Bytes(44, 2), 3));
        } else if (acks == 2) {
            input.At(clock.now + 1, RolandMessage(0x45, 0x30000, Address7(300), 3));
        }
    };
    std::vector<uint8_t> into(300);
    com.HandshakeRead(0x30000, into, 5000);
    EXPECT_EQ(into[255], 1);
    EXPECT_EQ(into[299], 2);
    EXPECT_EQ(output.pieces.front().bytes, RolandMessage(0x41, 0x30000, Address7(300), 3));
    EXPECT_EQ(acks, 3); // two pieces and the end
}

TEST_F(S760ProtocolTest, RepliesThatBreakTheExchangeThrowTheirOwnFailure)
{
    EXPECT_THROW(ReadWith(RolandBare(0x4E, 3)), XSysexCommunicationException);
    EXPECT_THROW(ReadWith(RolandBare(0x4F, 3)), XRolandRejectException);
    EXPECT_THROW(ReadWith(RolandMessage(0x12, 0x30000, Bytes(8), 3)), XRolandUnexpectedCommand);
    EXPECT_THROW(ReadWith(RolandMessage(0x42, 0x30001, Bytes(8), 3)), XRolandUnexpectedAddress);
    EXPECT_THROW(ReadWith(RolandMessage(0x42, 0x30000, Bytes(9), 3)), XSysexTooBig);
    Bytes damaged = RolandMessage(0x42, 0x30000, Bytes(8), 3);
    damaged[10] ^= 1;
    EXPECT_THROW(ReadWith(damaged), XSysexChecksumFailure);
    EXPECT_THROW(ReadWith(Bytes{0xF0, 0x41, 3, 0x34, 0xF7}), XSysexTooSmall);
    EXPECT_THROW(ReadWith(Bytes{0xF0, 0x41, 3, 0x34, 0x42, 0, 6, 0, 0, 0xF7}), XSysexTooSmall);
    // Another device's answer is not taken for this one's.
    EXPECT_THROW(ReadWith(RolandMessage(0x42, 0x30000, Bytes(8), 4)), XSysexTimedOut);
}

TEST_F(S760ProtocolTest, OneDataSetIsReadForItsAddress)
{
    input.At(clock.now + 1, RolandMessage(0x12, 0x200008, {0, 1}, 3));
    std::array<uint8_t, 2> into{};
    EXPECT_EQ(com.ReadDataSet(0x200008, into, 2000), 2);
    EXPECT_EQ(into[1], 1);
    input.At(clock.now + 1, RolandMessage(0x12, 0x200018, {0, 1}, 3));
    EXPECT_THROW(com.ReadDataSet(0x200008, into, 2000), XRolandUnexpectedAddress);
}

TEST(S760Layouts, RatesTakeTheSmallestTableRateAtOrAboveTheRequest)
{
    EXPECT_EQ(s760::RateIndex(44101), 0);
    EXPECT_EQ(s760::RateIndex(22050), 3);
    EXPECT_EQ(s760::RateIndex(16001), 3);
    EXPECT_EQ(s760::RateIndex(15000), 5);
    EXPECT_EQ(s760::RateIndex(8000), 5);
    EXPECT_EQ(s760::RateIndex(96000), 0);
    EXPECT_EQ(s760::RateOfIndex(6), 32000u);
    EXPECT_EQ(s760::RateOfIndex(8), 44100u);
}

TEST(S760Layouts, LengthsCountWholeBlocksOf4608Frames)
{
    EXPECT_EQ(s760::BlocksForFrames(4608), 1u);
    EXPECT_EQ(s760::FramesOfBlocks(1), 4604u);
    EXPECT_EQ(s760::BlocksForFrames(4609), 2u);
    EXPECT_EQ(s760::BlocksForFrames(1), 1u);
    EXPECT_EQ(s760::FramesOfBlocks(0), 0u);
    EXPECT_EQ(s760::SampleBlockAddress(0), 196608u);
    EXPECT_EQ(s760::SampleBlockAddress(511), (511u + 2048) * 96);
}

TEST(S760Layouts, StereoHalvesPairOnlyWhenBothCarryTheMark)
{
    const auto text = [](const std::array<char, 16>& name) { return std::string(name.data(), 16); };
    const std::string left = text(s760::StereoHalfName("ABCDEFGHIJKLMN", false));
    const std::string right = text(s760::StereoHalfName("ABCDEFGHIJKLMN", true));
    EXPECT_EQ(left, std::string("ABCDEFGHIJKLMN\x7FL"));
    EXPECT_TRUE(s760::IsStereoPair(left, right));
    EXPECT_FALSE(s760::IsStereoPair(right, left));
    EXPECT_FALSE(s760::IsStereoPair(left, "ABCDEFGHIJKLMN R"));
    EXPECT_EQ(text(s760::StereoHalfName("Kick", true)), std::string("Kick          \x7FR"));
    EXPECT_EQ(s760::DisplayName(left), "ABCDEFGHIJKLMN");
    EXPECT_EQ(s760::DisplayName("Kick 01         "), "Kick 01");
}

TEST(S760Layouts, TheBlockTravelsAsNibblePairsWithLittleEndianNumbers)
{
    s760::SS760SampleParameters p;
    p.name = s760::PaddedName("Snare");
    p.start = 0x01020304;
    p.blocks = 0x0203;
    p.bank = 1;
    p.rateIndex = 3;
    p.further37 = {7, 8, 9};
    const auto wire = p.ToWire();
    EXPECT_EQ(wire[0], 'S' >> 4);
    EXPECT_EQ(wire[1], 'S' & 0x0F);
    // Offset 16, least significant byte first, high nibble first.
    EXPECT_EQ((Bytes{wire[32], wire[33], wire[38], wire[39]}), (Bytes{0, 4, 0, 1}));
    EXPECT_EQ((Bytes{wire[84], wire[85], wire[86], wire[87]}), (Bytes{0, 3, 0, 2}));
    const auto back = s760::SS760SampleParameters::FromWire(wire);
    EXPECT_EQ(back.start, p.start);
    EXPECT_EQ(back.blocks, p.blocks);
    EXPECT_EQ(back.further37, p.further37);
    EXPECT_EQ(back.ToInfo().rate, 22050u);
    EXPECT_EQ(back.ToInfo().Name(), "Snare");
}

TEST(S760Layouts, LoopModesReadAsTheSustainAndReleaseLoops)
{
    s760::SS760SampleParameters p;
    p.bank = 2;
    p.blocks = 1;
    p.start = s760::StoredAddress(100, 2);
    p.sustainLoopStart = s760::StoredAddress(200, 2);
    p.sustainLoopEnd = s760::StoredAddress(300, 2);
    p.end = s760::StoredAddress(400, 2);
    const auto loops = [&](uint8_t mode) {
        p.loopMode = mode;
        const SampleInfo info = p.ToInfo();
        return std::vector<uint32_t>{info.sustainLoop.type, info.releaseLoop.type, info.playEnd};
    };
    EXPECT_EQ(loops(0), (std::vector<uint32_t>{2, 0, 4604}));
    EXPECT_EQ(loops(1), (std::vector<uint32_t>{2, 2, 4604}));
    EXPECT_EQ(loops(2), (std::vector<uint32_t>{1, 0, 200}));
    EXPECT_EQ(loops(3), (std::vector<uint32_t>{2, 1, 4604}));
    EXPECT_EQ(loops(4), (std::vector<uint32_t>{3, 0, 4604}));
    EXPECT_EQ(loops(5), (std::vector<uint32_t>{1, 0, 4604}));
    EXPECT_EQ(loops(6), (std::vector<uint32_t>{1, 0, 4604}));
    EXPECT_EQ(loops(7), (std::vector<uint32_t>{0, 0, 4604}));
    EXPECT_EQ(loops(0x40), (std::vector<uint32_t>{0, 0, 4604}));
    p.loopMode = 0;
    EXPECT_EQ(p.ToInfo().sustainLoop.start, 100u); // from the sample's own start
}

TEST(S760Recognizer, TheAccessDataSetNamesTheSamplerAndItsDeviceNumber)
{
    const CS760Recognizer recognizer;
    const auto seen = [&](const Bytes& bytes) {
        const CRawSysex message(bytes);
        return recognizer.RecognizeMIDIMessage({{"Out", "ALSA"}, {"In", "ALSA"}, message});
    };
    const std::vector<SFoundSampler> found = seen(RolandMessage(0x12, 0x200008, {0, 1}, 5));
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].typeId, 2000u);
    EXPECT_EQ(found[0].sysexId, 5);
    EXPECT_EQ(found[0].midiIn.device, "In");
    EXPECT_TRUE(seen(RolandMessage(0x12, 0x200018, {0, 1}, 5)).empty());
    Bytes damaged = RolandMessage(0x12, 0x200008, {0, 1}, 5);
    damaged[10] ^= 1;
    EXPECT_TRUE(seen(damaged).empty());
    EXPECT_EQ(S760SearchRequest(2), RolandMessage(0x12, 0x200008, {0, 0}, 2));
}

TEST(S760Layouts, ASamplesLoopsArePlacedFromTheStartTheSamplerGaveIt)
{
    s760::SS760SampleParameters p;
    p.bank = 1;
    p.blocks = 2;
    p.start = s760::StoredAddress(5000, 1);
    SampleInfo info;
    info.SetName("Pad");
    info.rate = 30000;
    info.length = 9000;
    info.sustainLoop = {static_cast<uint32_t>(SampleLoopType::Forward), 1000, 8000};
    p.SetFromInfo(info);
    EXPECT_EQ(p.loopMode, s760::kLoopForward);
    EXPECT_EQ(p.sustainLoopStart, s760::StoredAddress(6000, 1));
    EXPECT_EQ(p.end, s760::StoredAddress(13999, 1));
    EXPECT_EQ(p.blocks, 2) << "the sampler's own count stays";
    EXPECT_EQ(p.rateIndex, 4);
    const SampleInfo back = p.ToInfo();
    EXPECT_EQ(back.sustainLoop.start, 1000u);
    EXPECT_EQ(back.sustainLoop.end, 8000u);
    EXPECT_EQ(back.length, 9212u);

    info.sustainLoop = {};
    p.SetFromInfo(info);
    EXPECT_EQ(p.loopMode, s760::kLoopOneShot) << "no loop: played once to its last frame";
    EXPECT_EQ(p.sustainLoopEnd, p.end);
}
