#include <gtest/gtest.h>

#include "SDSTestBench.h"

using namespace quorvel;
using namespace quorvel::test;

namespace {

SSDSSample Expected(uint16_t number, uint8_t format, uint32_t period, uint32_t loopStart, uint32_t loopEnd,
                    uint8_t loopType, std::vector<uint32_t> words)
{
    SSDSSample sample;
    sample.number = number;
    sample.format = format;
    sample.periodNs = period;
    sample.loopStart = loopStart;
    sample.loopEnd = loopEnd;
    sample.loopType = loopType;
    sample.words = std::move(words);
    return sample;
}

std::vector<Bytes> Acks(size_t packets)
{
    std::vector<Bytes> acks = {Ack(0)};
    for (size_t n = 0; n < packets; ++n)
        acks.push_back(Ack(static_cast<uint8_t>(n % 128)));
    return acks;
}

} // namespace

TEST(SDSEmulator, TheStandardsOwnExamplesDecode)
{
    // 16 bits: 87E5 travels as 43 79 20; 12 bits: FFF (the most positive) as 7F 7C.
    EXPECT_EQ(DataBytes(16, {0x87E5}), (Bytes{0x43, 0x79, 0x20}));
    EXPECT_EQ(DataBytes(12, {0xFFF}), (Bytes{0x7F, 0x7C}));

    SDSTestBench bench;
    EXPECT_EQ(bench.DumpClosedLoop(HeaderMessage(1, 16, 22676, 1, 0, 0, 0x7F),
                                   {PacketMessage(0, {0x43, 0x79, 0x20})}),
              Acks(1));
    EXPECT_EQ(bench.DumpClosedLoop(HeaderMessage(2, 12, 22676, 1, 0, 0, 0x7F), {PacketMessage(0, {0x7F, 0x7C})}),
              Acks(1));
    EXPECT_EQ(bench.StoredWords(1), std::vector<uint32_t>{0x87E5});
    EXPECT_EQ(bench.StoredWords(2), std::vector<uint32_t>{0xFFF});
}

TEST(SDSEmulator, StoresEveryFormatBitExactlyWithEveryHeaderField)
{
    SDSTestBench bench;
    uint16_t number = 100;
    for (uint8_t format : {8, 12, 14, 15, 16, 20, 21, 22, 24, 28}) {
        SCOPED_TRACE(int(format));
        // A length that leaves the last packet part-filled.
        const std::vector<uint32_t> words = TestWords(format, 137, format);
        const std::vector<Bytes> packets = DumpPackets(format, words);
        // Sample numbers use both bytes; the 21-bit fields use all three.
        const uint16_t sample = static_cast<uint16_t>(number * 131);
        const Bytes header = HeaderMessage(sample, format, 0x1ABCDE, 137, 17, 0x10000 + 5, 0x01);
        EXPECT_EQ(bench.DumpClosedLoop(header, packets), Acks(packets.size()));
        bench.Settle();
        EXPECT_EQ(bench.emulator->Samples().Find(sample), Expected(sample, format, 0x1ABCDE, 17, 0x10005, 0x01, words));
        ++number;
    }
    EXPECT_EQ(bench.emulator->Samples().Numbers().size(), 10u);
}

TEST(SDSEmulator, TakesAnOpenLoopDumpWithWrappingPacketNumbers)
{
    // 130 packets sent without waiting for any answer: numbers run 0..7F, 0, 1.
    SDSTestBench bench;
    const std::vector<uint32_t> words = TestWords(16, 130 * 40 - 7);
    const std::vector<Bytes> packets = DumpPackets(16, words);
    ASSERT_EQ(packets.size(), 130u);
    EXPECT_EQ(packets[129][4], 1);
    bench.Send(HeaderMessage(3, 16, 20833, static_cast<uint32_t>(words.size()), 0, 0, 0x00));
    for (const Bytes& packet : packets)
        bench.Send(packet);
    bench.Settle();
    EXPECT_EQ(bench.emulator->Samples().Find(3), Expected(3, 16, 20833, 0, 0, 0x00, words));
    // It answered all the same, as a closed-loop receiver does.
    for (const Bytes& ack : Acks(packets.size()))
        EXPECT_EQ(bench.Next(), ack);
}

TEST(SDSEmulator, ChecksPacketNumbersAndChecksums)
{
    SDSTestBench bench;
    const std::vector<uint32_t> words = TestWords(16, 120);
    const std::vector<Bytes> packets = DumpPackets(16, words);
    bench.Send(HeaderMessage(4, 16, 22676, 120, 120, 120, 0x7F));
    EXPECT_EQ(bench.Next(), Ack(0));
    // A damaged packet is refused with its own number; the good copy is taken.
    Bytes damaged = packets[0];
    damaged[40] ^= 0x10;
    bench.Send(damaged);
    EXPECT_EQ(bench.Next(), Nak(0));
    bench.Send(packets[0]);
    EXPECT_EQ(bench.Next(), Ack(0));
    // A packet out of order is refused; the one just taken, sent again, is
    // acknowledged again and not stored twice.
    bench.Send(packets[2]);
    EXPECT_EQ(bench.Next(), Nak(2));
    bench.Send(packets[0]);
    EXPECT_EQ(bench.Next(), Ack(0));
    // A packet cut short is refused.
    bench.Send(Bytes(packets[1].begin(), packets[1].begin() + 60));
    bench.Send({0xF7});
    EXPECT_EQ(bench.Next(), Nak(1));
    bench.Send(packets[1]);
    EXPECT_EQ(bench.Next(), Ack(1));
    bench.Send(packets[2]);
    EXPECT_EQ(bench.Next(), Ack(2));
    bench.Settle();
    EXPECT_EQ(bench.emulator->Samples().Find(4), Expected(4, 16, 22676, 120, 120, 0x7F, words));
    // Once the dump is complete, further packets are not for anyone.
    bench.Send(packets[2]);
    EXPECT_TRUE(bench.SaidNothingMore());
}

TEST(SDSEmulator, AnswersOnlyItsDeviceNumberAndTheAllCall)
{
    SDSTestBench bench;
    bench.Send(HeaderMessage(5, 16, 22676, 0, 0, 0, 0x7F, 3));
    bench.Send({0xF0, 0x41, 0x00, 0x01, 0xF7});
    EXPECT_TRUE(bench.SaidNothingMore());
    bench.Send(HeaderMessage(5, 16, 22676, 0, 0, 0, 0x7F, 0x7F));
    EXPECT_EQ(bench.Next(), Ack(0));
    bench.Settle();
    ASSERT_TRUE(bench.emulator->Samples().Find(5));
    EXPECT_TRUE(bench.StoredWords(5).empty());
}

TEST(SDSEmulator, CancelsAHeaderOutsideEightTo28Bits)
{
    SDSTestBench bench;
    bench.Send(HeaderMessage(6, 29, 22676, 10, 0, 0, 0x7F));
    EXPECT_EQ(bench.Next(), Cancel(0));
    bench.Send(HeaderMessage(6, 7, 22676, 10, 0, 0, 0x7F));
    EXPECT_EQ(bench.Next(), Cancel(0));
    bench.Settle();
    EXPECT_FALSE(bench.emulator->Samples().Find(6));
}

TEST(SDSEmulator, DumpsAStoredSampleWithTheReceiversHandshake)
{
    for (uint8_t format : {8, 12, 16, 24, 28}) {
        SCOPED_TRACE(int(format));
        SDSTestBench bench;
        const std::vector<uint32_t> words = TestWords(format, 95, 7);
        const std::vector<Bytes> packets = DumpPackets(format, words);
        const Bytes header = HeaderMessage(300, format, 31250, 95, 10, 90, 0x00);
        bench.DumpClosedLoop(header, packets);

        bench.Send(Request(300));
        // The header as it was received, then packet by packet as they are acknowledged.
        EXPECT_EQ(bench.Next(), header);
        bench.Send(Ack(0));
        for (size_t n = 0; n < packets.size(); ++n) {
            EXPECT_EQ(bench.Next(), packets[n]);
            if (n == 1) {
                // NAK: the same packet again. WAIT: nothing until the next word.
                bench.Send(Nak(1));
                EXPECT_EQ(bench.Next(), packets[n]);
                bench.Send(Wait(1));
                EXPECT_TRUE(bench.SaidNothingMore());
                bench.AdvanceClock(60000);
                EXPECT_TRUE(bench.SaidNothingMore());
            }
            bench.Send(Ack(static_cast<uint8_t>(n)));
        }
        EXPECT_TRUE(bench.SaidNothingMore());
    }
}

TEST(SDSEmulator, ARequestForASampleItDoesNotHoldIsIgnored)
{
    SDSTestBench bench;
    bench.Send(Request(12));
    EXPECT_TRUE(bench.SaidNothingMore());
}

TEST(SDSEmulator, ADumpStopsAtCancelAndGoesOpenLoopWithoutAnAnswer)
{
    SDSTestBench bench;
    const std::vector<uint32_t> words = TestWords(16, 200);
    const std::vector<Bytes> packets = DumpPackets(16, words);
    const Bytes header = HeaderMessage(9, 16, 22676, 200, 0, 0, 0x7F);
    bench.DumpClosedLoop(header, packets);

    bench.Send(Request(9));
    EXPECT_EQ(bench.Next(), header);
    bench.Send(Ack(0));
    EXPECT_EQ(bench.Next(), packets[0]);
    bench.Send(Cancel(0));
    EXPECT_TRUE(bench.SaidNothingMore());
    bench.AdvanceClock(10000);
    EXPECT_TRUE(bench.SaidNothingMore());

    // Nobody answers the header: after two seconds every packet follows.
    bench.Send(Request(9));
    EXPECT_EQ(bench.Next(), header);
    bench.AdvanceClock(CSDSEmulator::kHeaderReplyMs - 1);
    EXPECT_TRUE(bench.SaidNothingMore());
    bench.AdvanceClock(1);
    for (const Bytes& packet : packets)
        EXPECT_EQ(bench.Next(), packet);
    EXPECT_TRUE(bench.SaidNothingMore());

    // A receiver that stops answering mid-dump: the rest follows without it.
    bench.Send(Request(9));
    EXPECT_EQ(bench.Next(), header);
    bench.Send(Ack(0));
    EXPECT_EQ(bench.Next(), packets[0]);
    bench.Send(Ack(0));
    EXPECT_EQ(bench.Next(), packets[1]);
    bench.AdvanceClock(CSDSEmulator::kPacketReplyMs);
    for (size_t n = 2; n < packets.size(); ++n)
        EXPECT_EQ(bench.Next(), packets[n]);
    EXPECT_TRUE(bench.SaidNothingMore());
}

TEST(SDSEmulator, MessagesSurviveRealTimeBytesAndACutMessageIsDropped)
{
    SDSTestBench bench;
    const std::vector<uint32_t> words = TestWords(16, 40);
    const Bytes packet = DumpPackets(16, words)[0];
    bench.Send(HeaderMessage(11, 16, 22676, 40, 0, 0, 0x7F));
    EXPECT_EQ(bench.Next(), Ack(0));
    // A clock tick and an active sensing inside the packet do not belong to it.
    Bytes ticked(packet.begin(), packet.begin() + 50);
    ticked.push_back(0xF8);
    ticked.insert(ticked.end(), packet.begin() + 50, packet.begin() + 90);
    ticked.push_back(0xFE);
    ticked.insert(ticked.end(), packet.begin() + 90, packet.end());
    // A note-on cuts a message short: nothing of it is taken.
    Bytes cut(packet.begin(), packet.begin() + 70);
    cut.insert(cut.end(), {0x90, 0x3C, 0x40});
    cut.insert(cut.end(), packet.begin() + 70, packet.end());
    bench.Send(cut);
    EXPECT_TRUE(bench.SaidNothingMore());
    bench.Send(ticked);
    EXPECT_EQ(bench.Next(), Ack(0));
    bench.Settle();
    EXPECT_EQ(bench.StoredWords(11), words);
}

TEST(SDSEmulator, WorksThroughPacedWires)
{
    // Ten times MIDI's rate: the bytes come one or a few at a time.
    SDSTestBench bench({}, {}, 312500);
    const std::vector<uint32_t> words = TestWords(20, 100);
    const std::vector<Bytes> packets = DumpPackets(20, words);
    const Bytes header = HeaderMessage(12, 20, 22676, 100, 0, 0, 0x7F);
    EXPECT_EQ(bench.DumpClosedLoop(header, packets), Acks(packets.size()));
    bench.Send(Request(12));
    EXPECT_EQ(bench.Next(), header);
    for (size_t n = 0; n < packets.size(); ++n) {
        bench.Send(Ack(n == 0 ? 0 : static_cast<uint8_t>(n - 1)));
        EXPECT_EQ(bench.Next(), packets[n]);
    }
    bench.Send(Ack(static_cast<uint8_t>(packets.size() - 1)));
    EXPECT_TRUE(bench.SaidNothingMore());
}

TEST(SDSEmulator, TheReceiverCanRefuseOrHoldTheHeaderOfADump)
{
    SDSTestBench bench;
    const std::vector<uint32_t> words = TestWords(8, 61);
    const std::vector<Bytes> packets = DumpPackets(8, words);
    const Bytes header = HeaderMessage(13, 8, 22676, 61, 0, 0, 0x7F);
    bench.DumpClosedLoop(header, packets);
    bench.Send(Request(13));
    EXPECT_EQ(bench.Next(), header);
    // NAK: the header again. WAIT: nothing, however long, until an ACK.
    bench.Send(Nak(0));
    EXPECT_EQ(bench.Next(), header);
    bench.Send(Wait(0));
    bench.Settle();
    bench.AdvanceClock(60000);
    EXPECT_TRUE(bench.SaidNothingMore());
    bench.Send(Ack(0));
    EXPECT_EQ(bench.Next(), packets[0]);
    // An answer for another packet is stale: still waiting for packet 0's.
    bench.Send(Ack(5));
    EXPECT_TRUE(bench.SaidNothingMore());
    bench.Send(Ack(0));
    EXPECT_EQ(bench.Next(), packets[1]);
    bench.Send(Ack(1));
    EXPECT_TRUE(bench.SaidNothingMore());
}
