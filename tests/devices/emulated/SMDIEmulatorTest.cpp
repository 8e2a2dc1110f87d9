// The plain SMDI sampler driven as a master would drive it: header requests,
// transfers both ways bit for bit, delete and abort, and the answers to a
// master that misreads the procedure.
#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include "SMDITestMaster.h"
#include "devices/DeviceTrace.h"

namespace quorvel::test {
namespace {

TEST(SMDIEmulator, AHeaderRequestForAMissingSampleIsRejectedAndNothingIsLeftPending)
{
    CSMDIMaster master;
    const Bytes answer = master.Exchange(HeaderRequest(42));
    EXPECT_EQ(RejectOf(answer), 0x00200002u); // no sample at that number

    SCSIResult result;
    EXPECT_TRUE(master.Receive(1024, &result).empty());
    EXPECT_EQ(result.kind, kSCSICheckCondition);
    EXPECT_EQ(result.sense[2] & 0x0F, 0x05);
    EXPECT_EQ(result.sense[12], kSMDISenseNoReply);
}

struct SRoundTrip {
    uint8_t bits;
    uint8_t channels;
    uint32_t frames;
    uint32_t acceptedPacket; // the largest whole number of frames in 32768 bytes
};

class SMDIEmulatorRoundTrip : public ::testing::TestWithParam<SRoundTrip> {};

TEST_P(SMDIEmulatorRoundTrip, TheSampleComesBackBitForBit)
{
    const SRoundTrip& c = GetParam();
    CSMDIMaster master;
    SHeaderFields header;
    header.number = 70000;
    header.bits = c.bits;
    header.channels = c.channels;
    header.length = c.frames;
    header.loopStart = 10;
    header.loopEnd = c.frames - 1;
    header.loopControl = 0x01;
    header.pitch = 60;
    header.fraction = 49152;
    header.name = "Loop 120 BPM";
    header.extra = {0xDE, 0xAD, 0xBE, 0xEF, 0x00};
    const uint32_t wordBytes = (c.bits + 7) / 8;
    const Bytes data = PatternData(wordBytes, static_cast<size_t>(c.frames) * c.channels);

    const Bytes ack = master.Exchange(HeaderMessage(header));
    ASSERT_EQ(CodeOf(ack), kTransferAck);
    EXPECT_EQ(ack.size(), 17u);
    EXPECT_EQ(Field(ack, 14, 3), c.acceptedPacket);
    master.Send(AbortProcedure());
    ASSERT_EQ(CodeOf(master.Receive()), kEndOfProcedure);

    EXPECT_EQ(CodeOf(master.Transmit(header, data)), kEndOfProcedure);

    // The header comes back as it went, extra bytes and all.
    EXPECT_EQ(master.Exchange(HeaderRequest(header.number)), HeaderMessage(header));
    const uint32_t frameBytes = wordBytes * c.channels;
    const std::optional<Bytes> back = master.ReceiveSample(header.number, frameBytes * 1000, data.size());
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, data);
    // The procedure is over: a further packet is not there to give.
    EXPECT_EQ(RejectOf(master.Exchange(SendNextPacket(static_cast<uint32_t>(data.size() / (frameBytes * 1000)) + 1))),
              0x00020000u);
}

INSTANTIATE_TEST_SUITE_P(WordSizes, SMDIEmulatorRoundTrip,
                         ::testing::Values(SRoundTrip{8, 1, 70001, 32768}, SRoundTrip{16, 1, 40000, 32768},
                                           SRoundTrip{24, 1, 25000, 32766}, SRoundTrip{16, 2, 20011, 32768},
                                           SRoundTrip{12, 1, 100, 32768}, SRoundTrip{32, 2, 5000, 32768}));

TEST(SMDIEmulator, AnEmptySampleEndsAtTheBeginTransferAndSampleNumbersSpanTwentyFourBits)
{
    CSMDIMaster master;
    SHeaderFields header;
    header.number = 0xFFFFFF;
    EXPECT_EQ(CodeOf(master.Transmit(header, {})), kEndOfProcedure);
    header.number = 0;
    EXPECT_EQ(CodeOf(master.Transmit(header, {})), kEndOfProcedure);
    ASSERT_TRUE(master.emulator->Samples().Find(0xFFFFFF).has_value());
    EXPECT_EQ(master.emulator->Samples().Find(0)->length, 0u);
    // Giving it back takes the acknowledge alone.
    EXPECT_EQ(CodeOf(master.Exchange(BeginTransfer(0, 2))), kTransferAck);
    EXPECT_EQ(RejectOf(master.Exchange(SendNextPacket(0))), 0x00020000u);
}

TEST(SMDIEmulator, DeleteAndAbortEndTheirProcedures)
{
    CSMDIMaster master;
    SHeaderFields header;
    header.length = 100;
    ASSERT_EQ(CodeOf(master.Transmit(header, PatternData(2, 100))), kEndOfProcedure);
    EXPECT_EQ(CodeOf(master.Exchange(DeleteSample(header.number))), kEndOfProcedure);
    EXPECT_EQ(RejectOf(master.Exchange(HeaderRequest(header.number))), 0x00200002u);
    EXPECT_EQ(RejectOf(master.Exchange(DeleteSample(header.number))), 0x00200002u);

    // Aborted half-way: nothing is kept and the next packet is not expected.
    header.length = 40000;
    ASSERT_EQ(CodeOf(master.Exchange(HeaderMessage(header))), kTransferAck);
    ASSERT_EQ(CodeOf(master.Exchange(BeginTransfer(header.number, 32768))), kSendNext);
    ASSERT_EQ(CodeOf(master.Exchange(DataPacket(0, PatternData(2, 16384)))), kSendNext);
    EXPECT_EQ(CodeOf(master.Exchange(AbortProcedure())), kEndOfProcedure);
    EXPECT_EQ(RejectOf(master.Exchange(DataPacket(1, PatternData(2, 16384)))), 0x00020000u);
    EXPECT_FALSE(master.emulator->Samples().Find(header.number).has_value());
}

TEST(SMDIEmulator, AMasterThatMisreadsTheProcedureIsRejected)
{
    CSMDIMaster master;
    SHeaderFields header;
    header.length = 20000; // two packets: 32768 bytes and 7232
    const Bytes data = PatternData(2, 20000);
    auto started = [&] {
        EXPECT_EQ(CodeOf(master.Exchange(HeaderMessage(header))), kTransferAck);
        EXPECT_EQ(CodeOf(master.Exchange(BeginTransfer(header.number, 32768))), kSendNext);
    };

    started();
    EXPECT_EQ(RejectOf(master.Exchange(DataPacket(1, Bytes(data.begin(), data.begin() + 32768))) ), 0x00110000u);
    started();
    EXPECT_EQ(RejectOf(master.Exchange(DataPacket(0, Bytes(data.begin(), data.begin() + 32766)))), 0x00110001u);
    started();
    ASSERT_EQ(CodeOf(master.Exchange(DataPacket(0, Bytes(data.begin(), data.begin() + 32768)))), kSendNext);
    // The last packet carries what is left, no more.
    EXPECT_EQ(RejectOf(master.Exchange(DataPacket(1, Bytes(data.begin(), data.begin() + 32768)))), 0x00110001u);

    // A packet length above the acknowledged one, or not whole frames; another sample number.
    ASSERT_EQ(CodeOf(master.Exchange(HeaderMessage(header))), kTransferAck);
    EXPECT_EQ(RejectOf(master.Exchange(BeginTransfer(header.number, 32770))), 0x00220002u);
    ASSERT_EQ(CodeOf(master.Exchange(HeaderMessage(header))), kTransferAck);
    EXPECT_EQ(RejectOf(master.Exchange(BeginTransfer(header.number, 1001))), 0x00220002u);
    ASSERT_EQ(CodeOf(master.Exchange(HeaderMessage(header))), kTransferAck);
    EXPECT_EQ(RejectOf(master.Exchange(BeginTransfer(header.number + 1, 32768))), 0x00220001u);
    EXPECT_FALSE(master.emulator->Samples().Find(header.number).has_value());

    // A length field short of the name; a tag other than "SMDI"; a message
    // that does not belong to any procedure; a request one byte long.
    Bytes shortName = HeaderMessage(header);
    shortName[10] -= 1;
    shortName.pop_back();
    EXPECT_EQ(RejectOf(master.Exchange(shortName)), 0x00020000u);
    Bytes badTag = HeaderRequest(1);
    badTag[0] = 's';
    EXPECT_EQ(RejectOf(master.Exchange(badTag)), 0x00020000u);
    EXPECT_EQ(RejectOf(master.Exchange(Message(0x0100, 0x0000))), 0x00020000u);
    EXPECT_EQ(RejectOf(master.Exchange(Message(0x0120, 0x0000, {5}))), 0x00020000u);
}

TEST(SMDIEmulator, CommandBlocksThatDisagreeWithTheDataAreRefused)
{
    CSMDIMaster master;
    const Bytes request = HeaderRequest(1);
    // The block announces more bytes than go out.
    const uint8_t longer[6] = {0x0A, 0, 0, 0, static_cast<uint8_t>(request.size() + 1), 0};
    SCSIResult result = master.bus.ExecuteOut(master.device, longer, request.size(), request.data());
    EXPECT_EQ(result.kind, kSCSICheckCondition);
    EXPECT_EQ(result.sense[12], kSMDISenseInvalidField);
    const uint8_t tiny[6] = {0x0A, 0, 0, 0, 4, 0};
    result = master.bus.ExecuteOut(master.device, tiny, 4, request.data());
    EXPECT_EQ(result.sense[12], kSMDISenseShortSend);
    master.Receive(8, &result);
    EXPECT_EQ(result.sense[12], kSMDISenseShortReceive);

    // An answer longer than the allocation is cut to it.
    SHeaderFields header;
    header.length = 10;
    ASSERT_EQ(CodeOf(master.Transmit(header, PatternData(2, 10))), kEndOfProcedure);
    ASSERT_TRUE(master.Send(HeaderRequest(header.number)).Good());
    const Bytes whole = HeaderMessage(header);
    EXPECT_EQ(master.Receive(20), Bytes(whole.begin(), whole.begin() + 20));
}

TEST(SMDIEmulator, TheDeviceTraceShowsEachCommandTheEmulatorAnswered)
{
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("quorvel-smdi-trace-" + std::to_string(::getpid()) + ".log");
    std::filesystem::remove(path);
    CSMDIMaster master;
    ASSERT_TRUE(OpenDeviceTrace(path.string()));
    master.Send(HeaderRequest(7));
    master.Receive(15);
    CloseDeviceTrace();
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    std::filesystem::remove(path);
    EXPECT_NE(text.str().find("\tscsi\tLoopback:0\t0A 00 00 00 0E 00\tout\t"
                              "53 4D 44 49 01 20 00 00 00 00 03 00 00 07\t0\t\n"),
              std::string::npos)
        << text.str();
    EXPECT_NE(text.str().find("\tscsi\tLoopback:0\t08 00 00 00 0F 00\tin\t"
                              "53 4D 44 49 00 02 00 00 00 00 04 00 20 00 02\t0\t\n"),
              std::string::npos)
        << text.str();
}

} // namespace
} // namespace quorvel::test
