#include <gtest/gtest.h>

#include <sstream>

#include "SDSTestBench.h"

using namespace quorvel;
using namespace quorvel::test;

namespace {

std::vector<SEmulatorFault> Faults(const char* text)
{
    std::ostringstream warnings;
    SEmulatorSettings settings = ParseEmulatorSettings("sds", nullptr, text, warnings);
    EXPECT_EQ(warnings.str(), "");
    return settings.faults;
}

struct StoredDump {
    std::vector<uint32_t> words = TestWords(16, 200); // 5 packets
    std::vector<Bytes> packets = DumpPackets(16, words);
    Bytes header = HeaderMessage(21, 16, 22676, 200, 0, 0, 0x7F);
};

// Puts the sample in while the faults that concern receiving are not yet in play.
void Preload(SDSTestBench& bench, const StoredDump& dump)
{
    SSDSSample sample;
    sample.number = 21;
    sample.format = 16;
    sample.periodNs = 22676;
    sample.words = dump.words;
    bench.emulator->Samples().Put(sample);
}

} // namespace

TEST(SDSEmulatorFaults, NakOnceAndNakTwiceRefuseTheChosenPacket)
{
    const StoredDump dump;
    {
        SDSTestBench bench(Faults("nak-once:2"));
        bench.Send(dump.header);
        EXPECT_EQ(bench.Next(), Ack(0));
        for (size_t n = 0; n < dump.packets.size(); ++n) {
            bench.Send(dump.packets[n]);
            if (n == 2) {
                EXPECT_EQ(bench.Next(), Nak(2));
                bench.Send(dump.packets[n]);
            }
            EXPECT_EQ(bench.Next(), Ack(static_cast<uint8_t>(n)));
        }
        bench.Settle();
        EXPECT_EQ(bench.StoredWords(21), dump.words);
        // The count starts again with every dump.
        bench.Send(dump.header);
        EXPECT_EQ(bench.Next(), Ack(0));
        for (size_t n = 0; n < 3; ++n)
            bench.Send(dump.packets[n]);
        EXPECT_EQ(bench.Next(), Ack(0));
        EXPECT_EQ(bench.Next(), Ack(1));
        EXPECT_EQ(bench.Next(), Nak(2));
    }
    {
        SDSTestBench bench(Faults("nak-twice:0"));
        bench.Send(dump.header);
        EXPECT_EQ(bench.Next(), Ack(0));
        bench.Send(dump.packets[0]);
        EXPECT_EQ(bench.Next(), Nak(0));
        bench.Send(dump.packets[0]);
        EXPECT_EQ(bench.Next(), Nak(0));
        // A sender that gives up cancels; nothing is kept.
        bench.Send(Cancel(0));
        bench.Send(dump.packets[1]);
        EXPECT_TRUE(bench.SaidNothingMore());
        EXPECT_FALSE(bench.emulator->Samples().Find(21));
    }
}

TEST(SDSEmulatorFaults, BadChecksumDamagesTheChosenPacketOfADump)
{
    const StoredDump dump;
    for (const char* fault : {"bad-checksum:3", "bad-checksum-once:3"}) {
        SCOPED_TRACE(fault);
        SDSTestBench bench(Faults(fault));
        Preload(bench, dump);
        bench.Send(Request(21));
        EXPECT_EQ(bench.Next(), dump.header);
        bench.Send(Ack(0));
        for (size_t n = 0; n < dump.packets.size(); ++n) {
            Bytes packet = bench.Next();
            if (n == 3) {
                ASSERT_EQ(packet.size(), 127u);
                EXPECT_NE(packet[125], dump.packets[3][125]);
                packet[125] = dump.packets[3][125];
                EXPECT_EQ(packet, dump.packets[3]) << "only the checksum is wrong";
                bench.Send(Nak(3));
                packet = bench.Next();
                if (std::string(fault) == "bad-checksum:3") {
                    EXPECT_NE(packet, dump.packets[3]) << "damaged every time";
                    break;
                }
            }
            EXPECT_EQ(packet, dump.packets[n]);
            bench.Send(Ack(static_cast<uint8_t>(n)));
        }
        bench.Send(Cancel(3));
        EXPECT_TRUE(bench.SaidNothingMore());
    }
}

TEST(SDSEmulatorFaults, WrongPacketMisnumbersTheAnswerAndTheDumpedPacket)
{
    const StoredDump dump;
    SDSTestBench bench(Faults("wrong-packet:1"));
    bench.Send(dump.header);
    EXPECT_EQ(bench.Next(), Ack(0));
    bench.Send(dump.packets[0]);
    EXPECT_EQ(bench.Next(), Ack(0));
    bench.Send(dump.packets[1]);
    EXPECT_EQ(bench.Next(), Ack(2));
    bench.Send(Cancel(1));

    Preload(bench, dump);
    bench.Send(Request(21));
    EXPECT_EQ(bench.Next(), dump.header);
    bench.Send(Ack(0));
    EXPECT_EQ(bench.Next(), dump.packets[0]);
    bench.Send(Ack(0));
    const Bytes packet = bench.Next();
    ASSERT_EQ(packet.size(), 127u);
    EXPECT_EQ(packet[4], 2);
    EXPECT_EQ(Bytes(packet.begin() + 5, packet.end() - 2), Bytes(dump.packets[1].begin() + 5, dump.packets[1].end() - 2));
}

TEST(SDSEmulatorFaults, WaitHoldsTheHeaderWithRepeatedWaits)
{
    const StoredDump dump;
    SDSTestBench bench(Faults("wait:20000"));
    bench.Send(dump.header);
    EXPECT_EQ(bench.Next(), Wait(0));
    // Packets pushed through the WAIT are not heard.
    bench.Send(dump.packets[0]);
    EXPECT_TRUE(bench.SaidNothingMore());
    bench.AdvanceClock(CSDSEmulator::kWaitRepeatMs);
    EXPECT_EQ(bench.Next(), Wait(0));
    bench.AdvanceClock(CSDSEmulator::kWaitRepeatMs);
    EXPECT_EQ(bench.Next(), Wait(0));
    bench.AdvanceClock(20000 - 2 * CSDSEmulator::kWaitRepeatMs);
    EXPECT_EQ(bench.Next(), Ack(0));
    for (size_t n = 0; n < dump.packets.size(); ++n) {
        bench.Send(dump.packets[n]);
        EXPECT_EQ(bench.Next(), Ack(static_cast<uint8_t>(n)));
    }
    bench.Settle();
    EXPECT_EQ(bench.StoredWords(21), dump.words);
}

TEST(SDSEmulatorFaults, CancelStopsTheChosenPacketBothWays)
{
    const StoredDump dump;
    SDSTestBench bench(Faults("cancel:2"));
    bench.Send(dump.header);
    EXPECT_EQ(bench.Next(), Ack(0));
    bench.Send(dump.packets[0]);
    EXPECT_EQ(bench.Next(), Ack(0));
    bench.Send(dump.packets[1]);
    EXPECT_EQ(bench.Next(), Ack(1));
    bench.Send(dump.packets[2]);
    EXPECT_EQ(bench.Next(), Cancel(2));
    bench.Send(dump.packets[3]);
    EXPECT_TRUE(bench.SaidNothingMore());
    EXPECT_FALSE(bench.emulator->Samples().Find(21));

    Preload(bench, dump);
    bench.Send(Request(21));
    EXPECT_EQ(bench.Next(), dump.header);
    bench.Send(Ack(0));
    EXPECT_EQ(bench.Next(), dump.packets[0]);
    bench.Send(Ack(0));
    EXPECT_EQ(bench.Next(), dump.packets[1]);
    bench.Send(Ack(1));
    EXPECT_EQ(bench.Next(), Cancel(2));
    bench.AdvanceClock(10000);
    EXPECT_TRUE(bench.SaidNothingMore());
}

TEST(SDSEmulatorFaults, SilentKeepsWhatItHearsAndNeverAnswers)
{
    const StoredDump dump;
    SDSTestBench bench(Faults("silent"));
    bench.Send(dump.header);
    for (const Bytes& packet : dump.packets)
        bench.Send(packet);
    EXPECT_TRUE(bench.SaidNothingMore());
    EXPECT_EQ(bench.StoredWords(21), dump.words);
    bench.Send(Request(21));
    bench.AdvanceClock(10000);
    EXPECT_TRUE(bench.SaidNothingMore());
    EXPECT_EQ(bench.emulator->BytesSent(), 0u);
}

TEST(SDSEmulatorFaults, RejectHeaderAndCancelHeaderRefuseTheDump)
{
    const StoredDump dump;
    for (const char* fault : {"reject-header", "cancel-header"}) {
        SCOPED_TRACE(fault);
        SDSTestBench bench(Faults(fault));
        bench.Send(dump.header);
        EXPECT_EQ(bench.Next(), std::string(fault) == "reject-header" ? Nak(0) : Cancel(0));
        bench.Send(dump.packets[0]);
        EXPECT_TRUE(bench.SaidNothingMore());
        EXPECT_FALSE(bench.emulator->Samples().Find(21));
        // Dumps out are not affected.
        Preload(bench, dump);
        bench.Send(Request(21));
        EXPECT_EQ(bench.Next(), dump.header);
    }
}

TEST(SDSEmulatorFaults, DropLosesTheChosenPacketOnceEachWay)
{
    const StoredDump dump;
    SDSTestBench bench(Faults("drop:1"));
    bench.Send(dump.header);
    EXPECT_EQ(bench.Next(), Ack(0));
    bench.Send(dump.packets[0]);
    EXPECT_EQ(bench.Next(), Ack(0));
    bench.Send(dump.packets[1]);
    EXPECT_TRUE(bench.SaidNothingMore());
    for (size_t n = 1; n < dump.packets.size(); ++n) {
        bench.Send(dump.packets[n]);
        EXPECT_EQ(bench.Next(), Ack(static_cast<uint8_t>(n)));
    }
    bench.Settle();
    EXPECT_EQ(bench.StoredWords(21), dump.words);

    bench.Send(Request(21));
    EXPECT_EQ(bench.Next(), dump.header);
    bench.Send(Ack(0));
    EXPECT_EQ(bench.Next(), dump.packets[0]);
    bench.Send(Ack(0));
    EXPECT_TRUE(bench.SaidNothingMore());
    bench.AdvanceClock(60000);
    EXPECT_TRUE(bench.SaidNothingMore());
    bench.Send(Nak(1));
    EXPECT_EQ(bench.Next(), dump.packets[1]);
    bench.Send(Ack(1));
    EXPECT_EQ(bench.Next(), dump.packets[2]);
}
