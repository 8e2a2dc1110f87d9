// The AKAI framing, character set and header blocks, checked against bytes
// written out here from the published message layouts.
#include <gtest/gtest.h>

#include "devices/midi/MIDIExceptions.h"
#include "samplers/akai/AKAICharacters.h"
#include "samplers/akai/AKAIExceptions.h"
#include "samplers/akai/AKAIMessages.h"
#include "samplers/akai/AKAINameList.h"
#include "samplers/akai/AKAIProgram.h"
#include "samplers/akai/AKAISampleHeader.h"
#include "FakeAKAISampler.h"

namespace quorvel {
namespace {

using namespace akai;
using test::Bytes;

Bytes BytesOf(const CRawSysex& message) { return Bytes(message.GetData(), message.GetData() + message.GetLength()); }

TEST(AKAICharacters, NamesGoThroughTheFortyOneCharacterSet)
{
    uint8_t codes[kNameLength];
    EncodeName("kick-1", codes);
    EXPECT_EQ(Bytes(codes, codes + 12), (Bytes{21, 19, 13, 21, 39, 1, 10, 10, 10, 10, 10, 10}));
    EncodeName("a_b#+.", codes);
    EXPECT_EQ(Bytes(codes, codes + 6), (Bytes{11, 10, 12, 37, 38, 40}));
    const uint8_t received[12] = {0, 40, 41, 127, 11, 10, 10, 10, 10, 10, 10, 10};
    EXPECT_EQ(DecodeName(received), "0.  A       ");
    EXPECT_EQ(AKAIName("Funky Loop 01 long"), "FUNKY LOOP 0");
    EXPECT_EQ(AKAIName("snare_2"), "SNARE 2");
}

TEST(AKAIFraming, RequestsAndChecks)
{
    EXPECT_EQ(BytesOf(PlainRequest(3, kRequestSampleList)), (Bytes{0xF0, 0x47, 3, 0x04, 0x48, 0xF7}));
    EXPECT_EQ(BytesOf(NumberedRequest(0, kDeleteSample, 300)), (Bytes{0xF0, 0x47, 0, 0x14, 0x48, 0x2C, 0x02, 0xF7}));
    EXPECT_EQ(BytesOf(NumberedRequest(1, kRequestKeyGroup, 2, 5)),
              (Bytes{0xF0, 0x47, 1, 0x08, 0x48, 2, 0, 5, 0xF7}));
    EXPECT_EQ(BytesOf(SamplePacketRequest(0, 129, 0, 100000)),
              (Bytes{0xF0, 0x47, 0, 0x0C, 0x48, 1, 1, 0, 0, 0, 0, 0x20, 0x0D, 0x06, 0, 1, 0, 0xF7}));

    EXPECT_THROW(CheckAKAI(CRawSysex{0xF0, 0x47, 0, 0xF7}), XSysexTooSmall);
    EXPECT_THROW(CheckAKAI(CRawSysex{0xF0, 0x43, 0, 0x16, 0x48, 0, 0xF7}), XAKAINonAKAISysex);
    EXPECT_THROW(CheckAKAI(CRawSysex{0xF0, 0x47, 0, 0x16, 0x49, 0, 0xF7}), XAKAINonAKAISysex);
    EXPECT_NO_THROW(CheckAKAI(CRawSysex{0xF0, 0x47, 0, 0x16, 0x48, 0, 0xF7}));

    uint8_t nibbles[4];
    const uint8_t data[2] = {0xA5, 0x0F};
    EncodeNibbles(data, 2, nibbles);
    EXPECT_EQ(Bytes(nibbles, nibbles + 4), (Bytes{0x05, 0x0A, 0x0F, 0x00}));
}

// A header message as the sampler sends it.
CRawSysex HeaderMessage(bool s3000, Bytes data, uint8_t op = 0x0B, uint16_t count = 192, uint16_t offset = 0)
{
    Bytes message{0xF0, 0x47, 0, op, 0x48, 5, 0};
    if (s3000)
        for (const uint8_t byte : {uint8_t{0}, static_cast<uint8_t>(offset & 0x7F), static_cast<uint8_t>(offset >> 7),
                                   static_cast<uint8_t>(count & 0x7F), static_cast<uint8_t>(count >> 7)})
            message.push_back(byte);
    const Bytes nibbles = test::Nibbled(data);
    message.insert(message.end(), nibbles.begin(), nibbles.end());
    message.push_back(0xF7);
    return CRawSysex(message);
}

TEST(AKAISampleHeaderMessage, LengthsOperationAndBlockIdAreChecked)
{
    Bytes s1000(150, 0);
    s1000[0] = 3;
    CS1000SampleHeader header;
    const CRawSysex good = HeaderMessage(false, s1000);
    ASSERT_EQ(good.GetLength(), 308);
    header.FromMessage(good);
    EXPECT_EQ(header.Number(), 5);
    EXPECT_THROW(header.FromMessage(HeaderMessage(false, s1000, 0x07)), XAKAIUnexpectedCommand);
    EXPECT_THROW(header.FromMessage(HeaderMessage(false, Bytes(151, 3))), XSysexInvalidSize);
    Bytes wrongId = s1000;
    wrongId[0] = 1;
    EXPECT_THROW(header.FromMessage(HeaderMessage(false, wrongId)), XAKAIInvalidFormat);

    Bytes s3000(192, 0);
    s3000[0] = 3;
    CS3000SampleHeader wide;
    ASSERT_EQ(HeaderMessage(true, s3000).GetLength(), 397);
    EXPECT_NO_THROW(wide.FromMessage(HeaderMessage(true, s3000)));
    EXPECT_THROW(wide.FromMessage(HeaderMessage(true, s3000, 0x0B, 192, 2)), XAKAIInvalidFormat);
    EXPECT_THROW(wide.FromMessage(HeaderMessage(true, s3000, 0x0B, 191)), XAKAIInvalidFormat);
    EXPECT_THROW(wide.FromMessage(HeaderMessage(false, s1000)), XSysexInvalidSize);
    EXPECT_THROW(wide.FromMessage(CRawSysex{0xF0, 0x41, 0, 0x0B, 0x48, 0xF7}), XAKAINonAKAISysex);
}

SampleInfo Looped(uint32_t sustainType, uint32_t releaseType)
{
    SampleInfo info;
    info.SetName("KICK-1");
    info.channelCount = 1;
    info.bits = 16;
    info.rate = 44100;
    info.length = 1000;
    info.playStart = 10;
    info.playEnd = 999;
    info.rootKey = 48;
    info.fineTuning = 25;
    info.sustainLoop = {sustainType, 100, 900};
    info.releaseLoop = {releaseType, 950, 990};
    return info;
}

TEST(AKAISampleHeaderMapping, FromARecordInBothGenerations)
{
    for (const bool s3000 : {false, true}) {
        SCOPED_TRACE(s3000 ? "S3000" : "S1000");
        const std::unique_ptr<CABCAKAISampleHeader> header =
            MakeSampleHeader(s3000 ? EGeneration::S3000 : EGeneration::S1000);
        header->SetFromInfo(Looped(2, 0));
        // Read back from the encoded message, as the sampler would.
        const CRawSysex message = header->ToMessage(0);
        const size_t offset = s3000 ? 12 : 7;
        const Bytes data = test::Unnibbled(message.GetData() + offset, s3000 ? 192 : 150);
        EXPECT_EQ(data[0], 3);
        EXPECT_EQ(data[1], 1);  // bandwidth at 44100 Hz
        EXPECT_EQ(data[2], 48); // root key
        EXPECT_EQ(test::AKAIText(data.data() + 3), "KICK-1");
        EXPECT_EQ(data[15] & 0x80, 0x80);
        EXPECT_EQ(data[16], 1);  // loops
        EXPECT_EQ(data[19], 0);  // loop in release: a sustain loop without a release loop
        EXPECT_EQ(test::LittleEndian(data, 20, 2), 64u); // 25 cents in 1/256 semitone
        EXPECT_EQ(test::LittleEndian(data, 26, 4), 1000u);
        EXPECT_EQ(test::LittleEndian(data, 30, 4), 10u);
        EXPECT_EQ(test::LittleEndian(data, 34, 4), 998u);
        EXPECT_EQ(test::LittleEndian(data, 38, 4), 900u);  // loop point: the sustain end
        EXPECT_EQ(test::LittleEndian(data, 44, 4), 800u);  // its length
        EXPECT_EQ(test::LittleEndian(data, 48, 2), 9999u); // held
        // Both generations keep the rate after the stereo partner's address,
        // which a transmitted mono sample does not have.
        EXPECT_EQ(test::LittleEndian(data, 138, 2), 44100u);
        EXPECT_EQ(test::LittleEndian(data, 136, 2), 0u);
        EXPECT_EQ(data[140], 0); // hold loop tune offset
    }
    CS3000SampleHeader narrow;
    SampleInfo low = Looped(0, 0);
    low.rate = 22050;
    narrow.SetFromInfo(low);
    EXPECT_EQ(narrow.Bytes()[1], 0);
    EXPECT_EQ(narrow.Bytes()[16], 0);
    EXPECT_EQ(narrow.Bytes()[19], kNoLooping);
}

TEST(AKAISampleHeaderMapping, RoundTripsThroughBothGenerations)
{
    for (const bool s3000 : {false, true}) {
        for (const auto& [sustain, release, mode] :
             {std::tuple{0u, 0u, kNoLooping}, {1u, 0u, kNoLooping}, {2u, 0u, kLoopInRelease},
              {2u, 2u, kLoopUntilRelease}}) {
            SCOPED_TRACE(testing::Message() << (s3000 ? "S3000" : "S1000") << " sustain " << sustain << " release "
                                            << release);
            SampleInfo info = Looped(sustain, release);
            if (sustain == 1)
                info.sustainLoop = {1, 900, 900};
            const std::unique_ptr<CABCAKAISampleHeader> sent =
                MakeSampleHeader(s3000 ? EGeneration::S3000 : EGeneration::S1000);
            sent->SetFromInfo(info);
            EXPECT_EQ(sent->Bytes()[19], mode);
            const std::unique_ptr<CABCAKAISampleHeader> received =
                MakeSampleHeader(s3000 ? EGeneration::S3000 : EGeneration::S1000);
            received->FromMessage(sent->ToMessage(0));
            EXPECT_EQ(received->ToInfo(), info);
        }
    }
}

TEST(AKAISampleHeaderMapping, TuningBeyondHalfASemitoneMovesIntoTheRootKey)
{
    CS1000SampleHeader header;
    header.Bytes()[2] = 60;
    header.Put(20, 2, 300); // one semitone and 44/256
    SampleInfo info = header.ToInfo();
    EXPECT_EQ(info.rootKey, 61);
    EXPECT_EQ(info.fineTuning, 17);
    header.Put(20, 2, static_cast<uint16_t>(-300));
    info = header.ToInfo();
    EXPECT_EQ(info.rootKey, 59);
    EXPECT_EQ(info.fineTuning, -17);
    header.Put(20, 2, 128); // exactly half a semitone stays
    info = header.ToInfo();
    EXPECT_EQ(info.rootKey, 60);
    EXPECT_EQ(info.fineTuning, 50);
}

TEST(AKAISampleHeaderMapping, TheRateIsReadAfterTheStereoPartnerInBothGenerations)
{
    for (const bool s3000 : {false, true}) {
        SCOPED_TRACE(s3000 ? "S3000" : "S1000");
        // A header as the sampler holds it for the left half of a stereo pair.
        const std::unique_ptr<CABCAKAISampleHeader> header =
            MakeSampleHeader(s3000 ? EGeneration::S3000 : EGeneration::S1000);
        header->Put(136, 2, 0x0123); // partner's block address
        header->Put(138, 2, 22050);
        header->Bytes()[140] = 0x05; // hold loop tune offset
        const std::unique_ptr<CABCAKAISampleHeader> received =
            MakeSampleHeader(s3000 ? EGeneration::S3000 : EGeneration::S1000);
        received->FromMessage(header->ToMessage(0));
        EXPECT_EQ(received->Rate(), 22050u);
        EXPECT_EQ(received->ToInfo().rate, 22050u);
    }
}

TEST(AKAISampleHeaderMapping, BytesTheRecordHasNoPlaceForAreKept)
{
    CS3000SampleHeader header;
    header.Bytes()[15] = 0x05;
    header.Bytes()[18] = 0x77;
    header.Bytes()[150] = 0x42;
    header.SetFromInfo(Looped(2, 0));
    EXPECT_EQ(header.Bytes()[15], 0x85);
    EXPECT_EQ(header.Bytes()[18], 0x77);
    EXPECT_EQ(header.Bytes()[150], 0x42);
}

TEST(AKAINameListMessage, ReadsAndWritesNames)
{
    Bytes message{0xF0, 0x47, 0, 0x05, 0x48, 2, 0};
    for (const std::string name : {"KICK 1", "SNARE"}) {
        const Bytes codes = test::AKAICodes(name);
        message.insert(message.end(), codes.begin(), codes.end());
    }
    message.push_back(0xF7);
    CAKAINameList list;
    list.FromMessage(CRawSysex(message), kSampleList);
    EXPECT_EQ(list.Names(), (std::vector<std::string>{"KICK 1", "SNARE"}));
    EXPECT_EQ(list.Find("snare"), 1);
    EXPECT_EQ(list.Find("kick_1"), 0);
    EXPECT_EQ(list.Find("HAT"), -1);
    EXPECT_EQ(BytesOf(list.ToMessage(0, kSampleList)), message);
    EXPECT_THROW(list.FromMessage(CRawSysex(message), kProgramList), XAKAIUnexpectedCommand);
    message[5] = 3;
    EXPECT_THROW(list.FromMessage(CRawSysex(message), kSampleList), XSysexInvalidSize);
}

TEST(AKAIProgramBlocks, KeyGroupsCarryTheirNumberAndSamples)
{
    CS1000KeyGroup group;
    group.SetNumber(2);
    group.SetKeyGroupNumber(7);
    group.SetKeySpan(36, 36);
    group.SetZoneSample(0, "LOOP 01");
    const CRawSysex message = group.ToMessage(0);
    ASSERT_EQ(message.GetLength(), 309);
    EXPECT_EQ(message.GetData()[3], kKeyGroup);
    EXPECT_EQ(message.GetData()[7], 7);
    CS1000KeyGroup back;
    back.FromMessage(message);
    EXPECT_EQ(back.KeyGroupNumber(), 7);
    EXPECT_EQ(back.LowNote(), 36);
    EXPECT_EQ(back.ZoneSample(0), "LOOP 01");

    CS3000ProgramHeader program;
    program.SetName("New Program");
    program.SetKeyGroupCount(3);
    const CRawSysex bytes = program.ToMessage(1);
    ASSERT_EQ(bytes.GetLength(), 397);
    CS3000ProgramHeader read;
    read.FromMessage(bytes);
    EXPECT_EQ(read.Name(), "NEW PROGRAM");
    EXPECT_EQ(read.KeyGroupCount(), 3);
    CS1000ProgramHeader old;
    EXPECT_THROW(old.FromMessage(bytes), XSysexInvalidSize);
}

} // namespace
} // namespace quorvel
