#include <gtest/gtest.h>

#include "AKAITestBench.h"

using namespace quorvel;
using namespace quorvel::test;

namespace {

SEmulatorFault Fault(const std::string& name, uint32_t value = 0) { return {name, true, value}; }

const Bytes kSampleRequest = AKAIMessage(0x0C, Concat({Number14(0), {0, 0, 0, 0}, {100, 0, 0, 0}, {1, 0}}));

} // namespace

TEST(AKAIEmulatorFaults, SilentAnswersNothingButKeepsWhatItHears)
{
    AKAITestBench bench("4100", {Fault("silent")});
    const std::vector<uint32_t> words = TestWords(16, 100);
    bench.Send(AKAIMessage(0x00, {}));
    bench.Send(NewData(0x0B, 0, SampleBlock(192, "QUIET", 100, 44100)));
    // Open loop: header and packets without waiting for answers.
    bench.Send(HeaderMessage(0, 16, 22675, 100, 0, 0, 0x7F));
    for (const Bytes& packet : DumpPackets(16, words))
        bench.Send(packet);
    bench.Send(kSampleRequest);
    bench.Send(Numbered(0x14, 5));
    EXPECT_TRUE(bench.SaidNothingMore());
    EXPECT_EQ(bench.emulator->BytesSent(), 0u);
    const std::optional<SAKAISample> kept = bench.emulator->Memory().Sample(0);
    ASSERT_TRUE(kept);
    EXPECT_EQ(std::vector<uint32_t>(kept->words.begin(), kept->words.end()), words);
}

TEST(AKAIEmulatorFaults, WaitHoldsTheAnswerBehindRepeatedWaits)
{
    AKAITestBench bench("4000", {Fault("wait", 2500)});
    // A sample header: WAIT at once, again each second, the reply after 2.5 s.
    EXPECT_EQ(bench.Ask(OldData(0x0B, 0, SampleBlock(150, "A", 40, 44100))), Wait(0));
    EXPECT_TRUE(bench.SaidNothingMore());
    bench.clock.Advance(1000);
    EXPECT_EQ(bench.Next(), Wait(0));
    bench.clock.Advance(1000);
    EXPECT_EQ(bench.Next(), Wait(0));
    bench.clock.Advance(500);
    EXPECT_EQ(bench.Next(), Reply(0));
    const std::vector<uint32_t> words = TestWords(16, 40);
    EXPECT_EQ(bench.Ask(DumpPackets(16, words)[0]), Ack(0));

    // A delete, and a dump header.
    EXPECT_EQ(bench.Ask(Numbered(0x14, 0)), Wait(0));
    bench.clock.Advance(2500);
    EXPECT_EQ(bench.Next(), Reply(0));
    EXPECT_TRUE(bench.emulator->Memory().Samples().empty());
    EXPECT_EQ(bench.Ask(HeaderMessage(0, 16, 22675, 40, 0, 0, 0x7F)), Wait(0));
    bench.clock.Advance(2500);
    EXPECT_EQ(bench.Next(), Ack(0));
    EXPECT_EQ(bench.Ask(DumpPackets(16, words)[0]), Ack(0));
    bench.Settle();
    ASSERT_TRUE(bench.emulator->Memory().Sample(0));
    EXPECT_EQ(bench.emulator->Memory().Sample(0)->words.size(), 40u);
}

TEST(AKAIEmulatorFaults, NakOnceRefusesAPacketTheFirstTime)
{
    AKAITestBench bench("4150", {Fault("nak-once", 1)});
    const std::vector<uint32_t> words = TestWords(16, 120);
    const std::vector<Bytes> packets = DumpPackets(16, words);
    EXPECT_EQ(bench.Ask(NewData(0x0B, 0, SampleBlock(192, "N", 120, 44100))), Reply(0));
    EXPECT_EQ(bench.Ask(HeaderMessage(0, 16, 22675, 120, 0, 0, 0x7F)), Ack(0));
    EXPECT_EQ(bench.Ask(packets[0]), Ack(0));
    EXPECT_EQ(bench.Ask(packets[1]), Nak(1));
    EXPECT_EQ(bench.Ask(packets[1]), Ack(1));
    EXPECT_EQ(bench.Ask(packets[2]), Ack(2));
    EXPECT_EQ(bench.ReceiveDump(Request(0)), words);
}

TEST(AKAIEmulatorFaults, RejectHeaderRefusesSampleHeadersAndDumps)
{
    AKAITestBench bench("4100", {Fault("reject-header")});
    EXPECT_EQ(bench.Ask(NewData(0x0B, 0, SampleBlock(192, "R", 40, 44100))), Reply(1));
    EXPECT_EQ(bench.Ask(HeaderMessage(0, 16, 22675, 40, 0, 0, 0x7F)), Nak(0));
    EXPECT_TRUE(bench.emulator->Memory().Samples().empty());
    // Programs are not sample headers.
    EXPECT_EQ(bench.Ask(NewData(0x07, 0, ProgramBlock(192, "P", 1))), Reply(0));
}

TEST(AKAIEmulatorFaults, BadChecksumOnceSpoilsTheFirstSendingOfADumpPacket)
{
    AKAITestBench bench("4100", {Fault("bad-checksum-once", 0)});
    const std::vector<uint32_t> words = TestWords(16, 100);
    bench.SendSample(0, SampleBlock(192, "B", 100, 44100), words);
    const Bytes header = bench.Ask(kSampleRequest);
    ASSERT_EQ(header.size(), 21u);
    const Bytes spoiled = bench.Ask(Ack(0));
    const Bytes good = DumpPackets(16, words)[0];
    ASSERT_EQ(spoiled.size(), 127u);
    EXPECT_NE(spoiled[125], good[125]);
    EXPECT_EQ(Bytes(spoiled.begin(), spoiled.begin() + 125), Bytes(good.begin(), good.begin() + 125));
    EXPECT_EQ(bench.Ask(Nak(0)), good);
    EXPECT_EQ(bench.Ask(Ack(0)), DumpPackets(16, words)[1]);
}

TEST(AKAIEmulatorFaults, CancelEndsATransferAtThatPacket)
{
    AKAITestBench bench("4000", {Fault("cancel", 1)});
    const std::vector<uint32_t> words = TestWords(16, 100);
    const std::vector<Bytes> packets = DumpPackets(16, words);
    EXPECT_EQ(bench.Ask(HeaderMessage(0, 16, 22675, 100, 0, 0, 0x7F)), Ack(0));
    EXPECT_EQ(bench.Ask(packets[0]), Ack(0));
    EXPECT_EQ(bench.Ask(packets[1]), Cancel(1));
    bench.Send(packets[2]);
    EXPECT_TRUE(bench.SaidNothingMore());
    EXPECT_TRUE(bench.emulator->Memory().Samples().empty());
}

TEST(AKAIEmulatorFaults, AnUnansweredDumpGoesOnOpenLoop)
{
    AKAITestBench bench("4100");
    const std::vector<uint32_t> words = TestWords(16, 100);
    bench.SendSample(0, SampleBlock(192, "O", 100, 44100), words);
    EXPECT_EQ(bench.Ask(kSampleRequest).size(), 21u);
    EXPECT_TRUE(bench.SaidNothingMore());
    bench.clock.Advance(CAKAIEmulator::kDumpReplyMs);
    const std::vector<Bytes> packets = DumpPackets(16, words);
    for (const Bytes& packet : packets)
        EXPECT_EQ(bench.Next(), packet);
}
