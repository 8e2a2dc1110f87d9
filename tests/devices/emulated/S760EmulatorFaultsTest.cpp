#include <gtest/gtest.h>

#include "S760TestBench.h"

using namespace quorvel;
using namespace quorvel::test;

namespace {

SEmulatorFault Fault(const std::string& name, uint32_t value = 0) { return {name, true, value}; }

} // namespace

TEST(S760EmulatorFaults, SilentAnswersNothingAndKeepsNothing)
{
    S760TestBench bench({{"silent", false, 0}});
    bench.Send(DataSet(kFileList, {5, 0}));
    bench.Send(AddressSize(0x40, PatchAddress(0), 32));
    bench.Send(HeaderMessage(0, 16, 22676, 10, 0, 0, 0x7F));
    bench.Send(DataSet(PatchAddress(0), HighLow(Name16("QUIET"))));
    EXPECT_TRUE(bench.SaidNothingMore());
    EXPECT_TRUE(bench.emulator->Memory().Entries(3).empty());
}

TEST(S760EmulatorFaults, RejectTheNthMessage)
{
    S760TestBench bench({Fault("reject", 2)});
    const Bytes data = HighLow(Name16("HALF"));
    EXPECT_EQ(bench.Ask(AddressSize(0x40, PatchAddress(0), 32)), RolandAck());
    EXPECT_EQ(bench.Ask(DataMessage(PatchAddress(0), data)), RolandReject());
    // The exchange is over: its end is refused too, and nothing was kept.
    EXPECT_EQ(bench.Ask(AddressSize(0x45, PatchAddress(0), 32)), RolandReject());
    EXPECT_TRUE(bench.FileList(3).empty());
    // Only the second message.
    EXPECT_TRUE(bench.HandshakeWrite(PatchAddress(0), data));
}

TEST(S760EmulatorFaults, BadChecksumOnTheNthDataMessage)
{
    S760TestBench bench({Fault("bad-checksum", 1)});
    const Bytes damaged = bench.Ask(DataSet(kFileList, {5, 0}));
    ASSERT_EQ(damaged.size(), 31u);
    EXPECT_NE(damaged, DataSet(kFileList, Bytes(20, 0)));
    Bytes repaired = damaged;
    repaired[29] ^= 0x01;
    EXPECT_EQ(repaired, DataSet(kFileList, Bytes(20, 0)));
    EXPECT_EQ(bench.Ask(DataSet(kFileList, {5, 0})), DataSet(kFileList, Bytes(20, 0)));
}

TEST(S760EmulatorFaults, SampleDumpFaults)
{
    const std::vector<uint32_t> words = TestWords(16, 100, 2);
    {
        S760TestBench bench({Fault("nak-once", 1)});
        const std::vector<Bytes> packets = DumpPackets(16, words);
        EXPECT_EQ(bench.Ask(HeaderMessage(4, 16, 22676, 100, 0, 0, 0x7F)), Ack(0));
        EXPECT_EQ(bench.Ask(packets[0]), Ack(0));
        EXPECT_EQ(bench.Ask(packets[1]), Nak(1));
        EXPECT_EQ(bench.Ask(packets[1]), Ack(1));
        EXPECT_EQ(bench.Ask(packets[2]), Ack(2));
        const std::vector<uint32_t> back = bench.ReceiveSample(4);
        EXPECT_EQ(std::vector<uint32_t>(back.begin(), back.begin() + 100), words);
    }
    {
        S760TestBench bench({Fault("cancel", 0)});
        EXPECT_EQ(bench.Ask(HeaderMessage(4, 16, 22676, 100, 0, 0, 0x7F)), Ack(0));
        EXPECT_EQ(bench.Ask(DumpPackets(16, words)[0]), Cancel(0));
        bench.Send(DumpPackets(16, words)[1]);
        EXPECT_TRUE(bench.SaidNothingMore());
        EXPECT_TRUE(bench.FileList(5).empty());
    }
    {
        S760TestBench bench({Fault("nak-twice", 0)});
        const std::vector<Bytes> packets = DumpPackets(16, words);
        EXPECT_EQ(bench.Ask(HeaderMessage(4, 16, 22676, 100, 0, 0, 0x7F)), Ack(0));
        EXPECT_EQ(bench.Ask(packets[0]), Nak(0));
        EXPECT_EQ(bench.Ask(packets[0]), Nak(0));
        EXPECT_EQ(bench.Ask(packets[0]), Ack(0));
    }
    {
        S760TestBench bench({{"reject-header", false, 0}});
        EXPECT_EQ(bench.Ask(HeaderMessage(4, 16, 22676, 100, 0, 0, 0x7F)), Nak(0));
    }
    {
        S760TestBench bench({{"cancel-header", false, 0}});
        EXPECT_EQ(bench.Ask(HeaderMessage(4, 16, 22676, 100, 0, 0, 0x7F)), Cancel(0));
        EXPECT_TRUE(bench.FileList(5).empty());
    }
    {
        // Not a sample slot, not a 16-bit sampler's format.
        S760TestBench bench;
        EXPECT_EQ(bench.Ask(HeaderMessage(512, 16, 22676, 100, 0, 0, 0x7F)), Cancel(0));
        EXPECT_EQ(bench.Ask(HeaderMessage(1, 24, 22676, 100, 0, 0, 0x7F)), Cancel(0));
    }
}
