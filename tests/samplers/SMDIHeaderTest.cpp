#include <gtest/gtest.h>

#include "samplers/smdi/SMDIExceptions.h"
#include "samplers/smdi/SMDIExtendedSampleHeader.h"
#include "samplers/smdi/SMDIMessages.h"
#include "samplers/smdi/SMDISampleHeader.h"

using namespace quorvel;
using namespace quorvel::smdi;

namespace {

using Bytes = std::vector<uint8_t>;

SampleInfo Info(const char* name = "Kick", uint8_t bits = 16, uint32_t length = 1000)
{
    SampleInfo info;
    info.SetName(name);
    info.channelCount = 1;
    info.bits = bits;
    info.rate = 44100;
    info.length = length;
    info.rootKey = 60;
    return info;
}

SampleInfo RoundTrip(const CSMDISampleHeader& header)
{
    SampleInfo info;
    CSMDISampleHeader(CSMDIMessage(header.Message())).ToSampleInfo(info);
    return info;
}

} // namespace

TEST(SMDIHeader, ATwelveCharacterNameMakesA49ByteMessageWithLengthField38)
{
    const CSMDISampleHeader header(Info("TwelveChars!"), 0x012345);
    uint8_t buffer[CSMDISampleHeader::kMaxMessage];
    ASSERT_EQ(header.BuildMessage(buffer), 49u);
    EXPECT_EQ(std::string(buffer, buffer + 4), "SMDI");
    EXPECT_EQ(GetBigEndian(buffer + 4, 4), uint32_t(kSampleHeader));
    EXPECT_EQ(GetBigEndian(buffer + 8, 3), 38u);
    EXPECT_EQ(GetBigEndian(buffer + 11, 3), 0x012345u);
    EXPECT_EQ(buffer[14], 16);
    EXPECT_EQ(buffer[15], 1);
    EXPECT_EQ(GetBigEndian(buffer + 16, 3), 1000000000u / 44100);
    EXPECT_EQ(GetBigEndian(buffer + 19, 4), 1000u);
    EXPECT_EQ(buffer[36], 12);
    EXPECT_EQ(std::string(buffer + 37, buffer + 49), "TwelveChars!");
    EXPECT_EQ(header.MaxMessageSize(), 292u);
}

TEST(SMDIHeader, PitchAndFractionBecomeRootKeyAndTuningRounded)
{
    CSMDISampleHeader header;
    header.period = 22675;
    header.length = 10;
    SampleInfo info;
    header.pitch = 60;
    header.pitchFraction = 49152; // three quarters of a semitone
    header.ToSampleInfo(info);
    EXPECT_EQ(info.rootKey, 61);
    EXPECT_EQ(info.fineTuning, 25);
    EXPECT_EQ(info.rate, 44100u); // 44101 snaps back

    header.pitchFraction = 16384;
    header.ToSampleInfo(info);
    EXPECT_EQ(info.rootKey, 60);
    EXPECT_EQ(info.fineTuning, -25);
    header.pitchFraction = 328; // 0.5005 of a step: rounds up
    header.ToSampleInfo(info);
    EXPECT_EQ(info.fineTuning, -1);

    header.pitch = 127;
    header.pitchFraction = 40000;
    header.ToSampleInfo(info);
    EXPECT_EQ(info.rootKey, 127);
    EXPECT_EQ(info.fineTuning, 50);
    header.pitch = 300;
    header.pitchFraction = 0;
    header.ToSampleInfo(info);
    EXPECT_EQ(info.rootKey, 127);
    EXPECT_EQ(info.fineTuning, 50);
}

TEST(SMDIHeader, TuningBecomesPitchAndFractionAndComesBack)
{
    SampleInfo info = Info();
    info.fineTuning = -25;
    CSMDISampleHeader header(info, 0);
    EXPECT_EQ(header.pitch, 60);
    EXPECT_EQ(header.pitchFraction, 16384);
    info.fineTuning = 25;
    header = CSMDISampleHeader(info, 0);
    EXPECT_EQ(header.pitch, 59);
    EXPECT_EQ(header.pitchFraction, 49152);
    for (int16_t tuning : {-49, -7, 0, 1, 13, 49}) {
        info.fineTuning = tuning;
        const SampleInfo back = RoundTrip(CSMDISampleHeader(info, 0));
        EXPECT_EQ(back.rootKey, 60) << tuning;
        EXPECT_EQ(back.fineTuning, tuning);
    }
    // Out of range tunings and keys never wrap around.
    info.fineTuning = -200;
    EXPECT_EQ(CSMDISampleHeader(info, 0).pitchFraction, 0xFFFF);
    info.rootKey = 0;
    info.fineTuning = 10;
    header = CSMDISampleHeader(info, 0);
    EXPECT_EQ(header.pitch, 0);
    EXPECT_EQ(header.pitchFraction, 0);
}

TEST(SMDIHeader, LoopsTravelAsLoopControlAndPoints)
{
    SampleInfo info = Info();
    info.sustainLoop = {uint32_t(SampleLoopType::Forward), 100, 900};
    SampleInfo back = RoundTrip(CSMDISampleHeader(info, 0));
    EXPECT_EQ(back.sustainLoop.type, uint32_t(SampleLoopType::Forward));
    EXPECT_EQ(back.sustainLoop.start, 100u);
    EXPECT_EQ(back.sustainLoop.end, 900u);

    info.sustainLoop = {uint32_t(SampleLoopType::Alternating), 5, 6};
    EXPECT_EQ(CSMDISampleHeader(info, 0).loopControl, 0x01);
    EXPECT_EQ(RoundTrip(CSMDISampleHeader(info, 0)).sustainLoop.type, uint32_t(SampleLoopType::Alternating));

    info.sustainLoop = {};
    const CSMDISampleHeader none(info, 0);
    EXPECT_EQ(none.loopControl, 0x7F);
    EXPECT_EQ(none.loopStart, 0u);
    EXPECT_EQ(none.loopEnd, 1000u);

    CSMDISampleHeader header(info, 0);
    header.loopStart = 7;
    header.loopEnd = 6;
    header.loopControl = 0;
    SampleInfo fromBackwards;
    header.ToSampleInfo(fromBackwards);
    EXPECT_EQ(fromBackwards.sustainLoop.type, 0u);
    EXPECT_EQ(fromBackwards.length, 1000u);
    EXPECT_EQ(fromBackwards.playEnd, 1000u);
}

TEST(SMDIHeader, NamesAreCutAndFiltered)
{
    const std::string longName(300, 'n');
    SampleInfo info = Info();
    info.SetName(longName);
    EXPECT_EQ(CSMDISampleHeader(info, 0).Message().size(), 292u);

    CSMDISampleHeader header(Info(), 0);
    header.name = std::string("Bad\nName\x01", 9);
    SampleInfo back = RoundTrip(header);
    EXPECT_EQ(back.Name(), "Bad Name ");
}

TEST(SMDIHeader, AReceivedHeaderIsReadOnlyAsFarAsItArrived)
{
    Bytes message = CSMDISampleHeader(Info("Snare"), 3).Message();
    // Bytes after the name that the length field counts are kept.
    Bytes longer = message;
    longer.insert(longer.end(), {1, 2, 3});
    PutBigEndian(longer.data() + 8, 26 + 5 + 3, 3);
    EXPECT_EQ(CSMDISampleHeader(CSMDIMessage(longer)).trailing, (Bytes{1, 2, 3}));

    // A length field too short for the name is not a proper header.
    Bytes shortField = message;
    PutBigEndian(shortField.data() + 8, 26 + 4, 3);
    EXPECT_THROW(CSMDISampleHeader{CSMDIMessage(shortField)}, XSMDIUnexpectedMessage);

    // A name length running past what arrived never reads past the buffer.
    Bytes overrun = message;
    overrun[36] = 200;
    PutBigEndian(overrun.data() + 8, 26 + 200, 3);
    EXPECT_THROW(CSMDISampleHeader{CSMDIMessage(overrun)}, XSMDIMessageInvalid);

    Bytes cut(message.begin(), message.begin() + 30);
    EXPECT_THROW(CSMDISampleHeader{CSMDIMessage(cut)}, XSMDIMessageInvalid);

    EXPECT_THROW(CSMDISampleHeader{CSMDIMessage(BuildMessage(kAck))}, XSMDIUnexpectedMessage);
    EXPECT_THROW(CSMDISampleHeader{CSMDIMessage(BuildMessage(kSampleHeader, Bytes(10, 0)))},
                 XSMDIUnexpectedMessage);
}

TEST(SMDIMessages, TheTagAndTheHeaderAreChecked)
{
    Bytes ack = BuildMessage(kAck);
    ASSERT_EQ(ack.size(), 11u);
    EXPECT_TRUE(CSMDIMessage(ack).Is(kAck));
    ack[0] = 's';
    EXPECT_THROW(CSMDIMessage{ack}, XSMDIMessageInvalid);
    EXPECT_THROW(CSMDIMessage(Bytes{'S', 'M', 'D', 'I', 1, 0}), XSMDIMessageInvalid);

    // Zeros past the message are not part of it; a message longer than the
    // buffer is incomplete.
    Bytes padded = BuildNumberMessage(kSendNextPacket, 0x0A0B0C);
    padded.resize(40, 0);
    const CSMDIMessage next(padded);
    EXPECT_TRUE(next.IsComplete());
    EXPECT_EQ(next.Bytes().size(), 14u);
    EXPECT_EQ(PacketNumber(next), 0x0A0B0Cu);
    const CSMDIMessage cut(Bytes(padded.begin(), padded.begin() + 12));
    EXPECT_FALSE(cut.IsComplete());
    EXPECT_THROW(PacketNumber(cut), XSMDIUnexpectedMessage);

    const Bytes begin = BuildBeginTransfer(kBeginSampleTransferAck, 7, 0x1000);
    EXPECT_EQ(begin.size(), 17u);
    EXPECT_EQ(ParseBeginTransfer(CSMDIMessage(begin)).packetLength, 0x1000u);
    EXPECT_THROW(ParseBeginTransfer(CSMDIMessage(BuildNumberMessage(kBeginSampleTransferAck, 7))),
                 XSMDIUnexpectedMessage);
}

TEST(SMDIMessages, WordsAreBigEndianInTheirWidth)
{
    EXPECT_EQ(WordBytes(8), 1u);
    EXPECT_EQ(WordBytes(12), 2u);
    EXPECT_EQ(WordBytes(16), 2u);
    EXPECT_EQ(WordBytes(24), 3u);
    EXPECT_EQ(WordBytes(32), 4u);
    EXPECT_EQ(WordsPerFrameOut(8), 0);
    EXPECT_EQ(WordsPerFrameOut(12), 1);
    EXPECT_EQ(WordsPerFrameOut(24), 2);

    const int16_t narrow[2] = {0x1234, -2};
    uint8_t out[8] = {};
    EncodeWords(16, narrow, nullptr, 2, out);
    EXPECT_EQ(Bytes(out, out + 4), (Bytes{0x12, 0x34, 0xFF, 0xFE}));
    int16_t narrowBack[2] = {};
    DecodeWords(16, out, 2, narrowBack, nullptr);
    EXPECT_EQ(narrowBack[1], -2);

    EncodeWords(8, narrow, nullptr, 2, out);
    EXPECT_EQ(Bytes(out, out + 2), (Bytes{0x12, 0xFF}));
    DecodeWords(8, out, 2, narrowBack, nullptr);
    EXPECT_EQ(narrowBack[0], 0x1200);
    EXPECT_EQ(narrowBack[1], -256);

    const int32_t wide[2] = {int32_t(0x81234500), 0x00000100};
    EncodeWords(24, nullptr, wide, 2, out);
    EXPECT_EQ(Bytes(out, out + 6), (Bytes{0x81, 0x23, 0x45, 0x00, 0x00, 0x01}));
    int32_t wideBack[2] = {};
    DecodeWords(24, out, 2, nullptr, wideBack);
    EXPECT_EQ(wideBack[0], int32_t(0x81234500)); // sign in bit 31
    EXPECT_EQ(wideBack[1], 0x100);
}

TEST(SMDIExtendedHeader, PlayRangeAndReleaseLoopTravelAfterTheName)
{
    SampleInfo info = Info("Pad", 16, 5000);
    info.playStart = 10;
    info.playEnd = 4000;
    info.sustainLoop = {uint32_t(SampleLoopType::Forward), 100, 200};
    info.releaseLoop = {uint32_t(SampleLoopType::Alternating), 3000, 3900};
    const CSMDIExtendedSampleHeader header(info, 4);
    const Bytes message = header.Message();
    ASSERT_EQ(message.size(), 37u + 3 + CSMDIExtendedSampleHeader::kExtensionSize);
    EXPECT_EQ(GetBigEndian(message.data() + 8, 3), 26u + 3 + 21);
    EXPECT_EQ(std::string(message.begin() + 40, message.begin() + 44), "XHD1");
    EXPECT_EQ(header.MaxMessageSize(), 313u);

    // A plain reader sees a plain header.
    SampleInfo plain;
    CSMDISampleHeader(CSMDIMessage(message)).ToSampleInfo(plain);
    EXPECT_EQ(plain.playStart, 0u);
    EXPECT_EQ(plain.releaseLoop.type, 0u);
    EXPECT_EQ(plain.Name(), "Pad");

    SampleInfo back;
    CSMDIExtendedSampleHeader(CSMDISampleHeader(CSMDIMessage(message))).ToSampleInfo(back);
    EXPECT_EQ(back.playStart, 10u);
    EXPECT_EQ(back.playEnd, 4000u);
    EXPECT_EQ(back.releaseLoop.type, uint32_t(SampleLoopType::Alternating));
    EXPECT_EQ(back.releaseLoop.start, 3000u);
    EXPECT_EQ(back.releaseLoop.end, 3900u);
    EXPECT_EQ(back.sustainLoop.start, 100u);

    info.releaseLoop = {};
    SampleInfo none;
    CSMDIExtendedSampleHeader(CSMDISampleHeader(CSMDIMessage(CSMDIExtendedSampleHeader(info, 4).Message())))
        .ToSampleInfo(none);
    EXPECT_EQ(none.releaseLoop.type, 0u);

    // Trailing bytes that are not the block leave the header plain.
    CSMDISampleHeader other(info, 4);
    other.trailing = Bytes(30, 0x55);
    const CSMDIExtendedSampleHeader foreign{CSMDISampleHeader(CSMDIMessage(other.Message()))};
    EXPECT_FALSE(foreign.hasExtension);
    EXPECT_EQ(foreign.Message(), other.Message());
}
