// The scripted faults of the emulated Kurzweil samplers.
#include <gtest/gtest.h>

#include "KurzweilTestBench.h"

namespace quorvel::test {

TEST(KurzweilEmulatorFaults, RefusedWritesAnswerTheirCodeAndKeepNothing)
{
    struct SCase {
        const char* fault;
        uint8_t code;
    };
    for (const SCase& c : {SCase{"in-edit", 1}, SCase{"out-of-memory", 5}, SCase{"reject-write:4", 4}}) {
        CKurzweilBench bench("1010", c.fault);
        EXPECT_EQ(bench.Exchange(WriteMessage(134, 0, 1, "x", SoundBlockBody())),
                  KMessage(3, Cat({N7(134, 2), N7(0, 2), N7(0, 3), N7(0, 3), {c.code}})))
            << c.fault;
        EXPECT_EQ(Read7(bench.Exchange(Describe(134, 1)), 9, 3), 0u) << c.fault;
    }
}

TEST(KurzweilEmulatorFaults, IdAboveGivesNewSoundBlocksIdsFromThatNumber)
{
    CKurzweilBench bench("1000", "id-above:1001");
    EXPECT_EQ(bench.Write(134, 0, 1, "a", SoundBlockBody()), 1001u);
    EXPECT_EQ(bench.Write(134, 100, 1, "b", SoundBlockBody()), 1002u);
    // Other types and a block written at its own id are not affected, and
    // the block above 1000 can be deleted again.
    EXPECT_EQ(bench.Write(133, 0, 1, "m", KeymapBody(1)), 1u);
    EXPECT_EQ(bench.Write(134, 5, 0, "c", SoundBlockBody()), 5u);
    EXPECT_EQ(NameOf(bench.Exchange(Delete(134, 1001))), "a");
    EXPECT_EQ(Read7(bench.Exchange(Describe(134, 1001)), 9, 3), 0u);
}

TEST(KurzweilEmulatorFaults, SilentKeepsWhatItHearsButNeverAnswers)
{
    CKurzweilBench bench("1000", "silent");
    bench.Send({0xF0, 0x7E, 0x00, 0x06, 0x01, 0xF7});
    bench.Send(WriteMessage(134, 0, 1, "quiet", SoundBlockBody()));
    bench.Send(Describe(134, 1));
    bench.Send(HeaderMessage(0, 16, 22675, 40, 40, 40, 0x7F));
    bench.Send(DumpPackets(16, TestWords(16, 40)).front());
    bench.Send(Request(0));
    EXPECT_TRUE(bench.SaidNothingMore());
    EXPECT_EQ(bench.emulator->Memory().Find(134, 1)->name, "quiet");
    EXPECT_TRUE(bench.emulator->Memory().Sample(0) != nullptr);
}

TEST(KurzweilEmulatorFaults, SampleDumpFaultsApplyToItsSampleData)
{
    {
        CKurzweilBench bench("1000", "nak-once:1");
        const std::vector<Bytes> packets = DumpPackets(16, TestWords(16, 120));
        EXPECT_EQ(bench.Exchange(HeaderMessage(0, 16, 22675, 120, 120, 120, 0x7F)), Ack(0));
        EXPECT_EQ(bench.Exchange(packets[0]), Ack(0));
        EXPECT_EQ(bench.Exchange(packets[1]), Nak(1));
        EXPECT_EQ(bench.Exchange(packets[1]), Ack(1));
        EXPECT_EQ(bench.Exchange(packets[2]), Ack(2));
        EXPECT_TRUE(bench.emulator->Memory().Sample(0) != nullptr);
    }
    {
        CKurzweilBench bench("1000", "reject-header");
        EXPECT_EQ(bench.Exchange(HeaderMessage(0, 16, 22675, 10, 10, 10, 0x7F)), Nak(0));
    }
    {
        CKurzweilBench bench("1000", "bad-checksum-once:0");
        EXPECT_EQ(bench.Exchange(HeaderMessage(3, 16, 22675, 10, 10, 10, 0x7F)), Ack(0));
        EXPECT_EQ(bench.Exchange(DumpPackets(16, TestWords(16, 10)).front()), Ack(0));
        bench.Exchange(Request(3));
        const Bytes first = bench.Exchange(Ack(0));
        const Bytes again = bench.Exchange(Nak(0));
        EXPECT_NE(first[125], again[125]);
        EXPECT_EQ(again, DumpPackets(16, TestWords(16, 10)).front());
    }
}

} // namespace quorvel::test
