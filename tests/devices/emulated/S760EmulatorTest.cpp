#include <gtest/gtest.h>

#include "S760TestBench.h"

using namespace quorvel;
using namespace quorvel::test;

TEST(S760Emulator, AnEmptyFileListIsOneEndEntry)
{
    S760TestBench bench;
    for (uint8_t category : {3, 4, 5}) {
        const Bytes m = bench.Ask(DataSet(kFileList, {category, 0}));
        EXPECT_EQ(m, DataSet(kFileList, Bytes(20, 0)));
    }
    EXPECT_TRUE(bench.SaidNothingMore());
}

TEST(S760Emulator, ASampleSentByDumpThenNamedIsListedAndReadsBackInWholeBlocks)
{
    S760TestBench bench;
    const std::vector<uint32_t> words = TestWords(16, 100, 7);
    const std::vector<Bytes> answers = bench.SendSample(3, words);
    ASSERT_EQ(answers.size(), 4u);
    EXPECT_EQ(answers[0], Ack(0));
    EXPECT_EQ(answers[3], Ack(2));

    const Bytes params = SampleParams("LOOP 1", 100, 1, 1, 20);
    std::vector<size_t> pieces;
    ASSERT_TRUE(bench.HandshakeWrite(SampleParamsAddress(3), HighLow(params), &pieces));
    EXPECT_EQ(pieces, std::vector<size_t>{96});

    const std::vector<SListEntry> list = bench.FileList(5);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0], (SListEntry{5, 3, Name16("LOOP 1")}));
    EXPECT_EQ(bench.HandshakeRead(SampleParamsAddress(3), 96), HighLow(params));

    // One block of 4608 frames comes back as 4604: the 100 sent, then silence.
    Bytes header;
    const std::vector<uint32_t> back = bench.ReceiveSample(3, &header);
    ASSERT_EQ(back.size(), 4604u);
    EXPECT_EQ(std::vector<uint32_t>(back.begin(), back.begin() + 100), words);
    EXPECT_EQ(std::count(back.begin() + 100, back.end(), 0x8000u), 4504);
    // 44100 Hz (index 1), forward loop from frame 20 to the last frame.
    EXPECT_EQ(header, HeaderMessage(3, 16, 1000000000 / 44100, 4604, 20, 99, 0x00));
    EXPECT_TRUE(bench.SaidNothingMore());
}

TEST(S760Emulator, BlockRoundingOfADumpWithoutParameters)
{
    S760TestBench bench;
    const std::vector<uint32_t> words = TestWords(16, 4609, 3);
    bench.SendSample(0, words, 1000000000 / 22050);
    // Its own block: a made-up name, two blocks, 22050 Hz (index 3), no loop.
    const std::vector<SListEntry> list = bench.FileList(5);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].name, Name16("Sample 0"));
    const Bytes block = bench.HandshakeRead(SampleParamsAddress(0), 96);
    ASSERT_EQ(block.size(), 96u);
    EXPECT_EQ(block[84] * 16 + block[85], 2);  // blocks
    EXPECT_EQ(block[88] * 16 + block[89], 3);  // rate index
    EXPECT_EQ(block[90] * 16 + block[91], 60); // root key
    const std::vector<uint32_t> back = bench.ReceiveSample(0);
    ASSERT_EQ(back.size(), 2u * 4608 - 4);
    EXPECT_EQ(std::vector<uint32_t>(back.begin(), back.begin() + 4609), words);

    // Exactly one block reads back 4 frames short.
    const std::vector<uint32_t> one = TestWords(16, 4608, 5);
    bench.SendSample(1, one);
    EXPECT_EQ(bench.ReceiveSample(1), std::vector<uint32_t>(one.begin(), one.begin() + 4604));
}

TEST(S760Emulator, FileListsSpanDataSetsOfSixteenEntries)
{
    S760TestBench bench;
    // Seventeen samples named one way, numbers up to 300 (three 4-bit groups).
    for (uint32_t i = 0; i < 17; ++i) {
        const uint32_t number = i * 18 + 12;
        std::string name(1, 'S');
        name.append(std::to_string(number));
        bench.Send(DataSet(SampleParamsAddress(number), HighLow(SampleParams(name, 10, 1))));
    }
    size_t sets = 0;
    const std::vector<SListEntry> list = bench.FileList(5, &sets);
    ASSERT_EQ(list.size(), 17u);
    EXPECT_EQ(sets, 2u);
    EXPECT_EQ(list[16], (SListEntry{5, 300, Name16("S300")}));
    // Another category does not show them.
    EXPECT_TRUE(bench.FileList(3).empty());
    // A stereo half keeps its mark in the list.
    Bytes half = Name16("BEAT");
    half[14] = 0x7F;
    half[15] = 'L';
    Bytes params = SampleParams("", 10, 1);
    std::copy(half.begin(), half.end(), params.begin());
    bench.Send(DataSet(SampleParamsAddress(511), HighLow(params)));
    EXPECT_EQ(bench.FileList(5).back(), (SListEntry{5, 511, half}));
}

TEST(S760Emulator, PatchesAndPartialsAreWrittenAndReadBack)
{
    S760TestBench bench;
    // Partial 5, partial 6 and the start of partial 7 in one handshake write.
    Bytes patches(600);
    for (size_t i = 0; i < patches.size(); ++i)
        patches[i] = uint8_t((i * 7 + 3) % 16);
    const Bytes name5 = HighLow(Name16("PARTIAL FIVE"));
    const Bytes name6 = HighLow(Name16("PARTIAL SIX"));
    const Bytes name7 = HighLow(Name16("PARTIAL SEVEN"));
    std::copy(name5.begin(), name5.end(), patches.begin());
    std::copy(name6.begin(), name6.end(), patches.begin() + 256);
    std::copy(name7.begin(), name7.end(), patches.begin() + 512);
    std::vector<size_t> pieces;
    ASSERT_TRUE(bench.HandshakeWrite(PartialAddress(5), patches, &pieces));
    EXPECT_EQ(pieces, (std::vector<size_t>{256, 256, 88}));
    EXPECT_EQ(bench.HandshakeRead(PartialAddress(5), 600), patches);
    const std::vector<SListEntry> list = bench.FileList(4);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0], (SListEntry{4, 5, Name16("PARTIAL FIVE")}));
    EXPECT_EQ(list[2], (SListEntry{4, 7, Name16("PARTIAL SEVEN")}));

    // The first half of a patch written one way and asked for one way.
    Bytes patch = HighLow(Name16("PATCH 9"));
    patch.resize(256, 0x0A);
    bench.Send(DataSet(PatchAddress(9), patch));
    EXPECT_EQ(bench.Ask(AddressSize(0x11, PatchAddress(9), 256)), DataSet(PatchAddress(9), patch));
    EXPECT_EQ(bench.FileList(3), (std::vector<SListEntry>{{3, 9, Name16("PATCH 9")}}));
}

TEST(S760Emulator, TheUnusedMarkDeletesASampleWithItsData)
{
    S760TestBench bench;
    bench.SendSample(2, TestWords(16, 50));
    ASSERT_EQ(bench.FileList(5).size(), 1u);
    bench.Send(DataSet(SampleParamsAddress(2), {0x07, 0x0F}));
    EXPECT_TRUE(bench.FileList(5).empty());
    bench.Send(Request(2));
    EXPECT_TRUE(bench.SaidNothingMore());
    // An unused slot reads as the mark followed by zeros.
    const Bytes unused = bench.HandshakeRead(SampleParamsAddress(2), 96);
    ASSERT_EQ(unused.size(), 96u);
    EXPECT_EQ(Bytes(unused.begin(), unused.begin() + 4), (Bytes{0x07, 0x0F, 0x07, 0x0F}));
    EXPECT_EQ(std::count(unused.begin() + 32, unused.end(), 0), 64);
}

TEST(S760Emulator, TheModeBytesAreWrittenAndReadBack)
{
    S760TestBench bench;
    EXPECT_EQ(bench.Ask(DataSet(0x200008, {0, 1})), DataSet(0x200008, {0, 1}));
    EXPECT_EQ(bench.Ask(DataSet(0x200008, {0, 0})), DataSet(0x200008, {0, 0}));
}

TEST(S760Emulator, DamagedAndMisplacedMessagesAreRefused)
{
    S760TestBench bench;
    Bytes bad = AddressSize(0x40, PatchAddress(0), 256);
    bad[13] ^= 0x01;
    EXPECT_EQ(bench.Ask(bad), RolandError());
    // Outside every block, or nothing at all.
    EXPECT_EQ(bench.Ask(AddressSize(0x40, 0x100000, 16)), RolandReject());
    EXPECT_EQ(bench.Ask(AddressSize(0x41, PatchAddress(127), 1024)), RolandReject());
    EXPECT_EQ(bench.Ask(AddressSize(0x40, PatchAddress(0), 0)), RolandReject());

    // A damaged data message is answered with an error and may come again.
    Bytes data = HighLow(Name16("RETRY"));
    ASSERT_EQ(bench.Ask(AddressSize(0x40, PatchAddress(1), 32)), RolandAck());
    Bytes damaged = DataMessage(PatchAddress(1), data);
    damaged[20] ^= 0x02;
    EXPECT_EQ(bench.Ask(damaged), RolandError());
    EXPECT_EQ(bench.Ask(DataMessage(PatchAddress(1), data)), RolandAck());
    EXPECT_EQ(bench.Ask(AddressSize(0x45, PatchAddress(1), 32)), RolandAck());
    EXPECT_EQ(bench.FileList(3).size(), 1u);

    // A data message at the wrong address ends the exchange.
    ASSERT_EQ(bench.Ask(AddressSize(0x40, PatchAddress(2), 32)), RolandAck());
    EXPECT_EQ(bench.Ask(DataMessage(PatchAddress(2) + 2, data)), RolandReject());
    EXPECT_EQ(bench.Ask(AddressSize(0x45, PatchAddress(2), 32)), RolandReject());

    // A damaged one-way write is dropped unanswered.
    Bytes oneWay = DataSet(PatchAddress(3), HighLow(Name16("LOST")));
    oneWay[oneWay.size() - 2] ^= 0x01;
    bench.Send(oneWay);
    EXPECT_TRUE(bench.SaidNothingMore());
    EXPECT_EQ(bench.FileList(3).size(), 1u);

    // A reader's error brings the same data message again.
    const Bytes first = bench.Ask(AddressSize(0x41, PatchAddress(1), 32));
    EXPECT_EQ(first, DataMessage(PatchAddress(1), data));
    EXPECT_EQ(bench.Ask(RolandError()), first);
    EXPECT_EQ(bench.Ask(RolandAck()), AddressSize(0x45, PatchAddress(1), 32));
    bench.Send(RolandAck());
    EXPECT_TRUE(bench.SaidNothingMore());
}

TEST(S760Emulator, TheRateTable)
{
    EXPECT_EQ(CS760Emulator::IndexOfRate(44101), 0);
    EXPECT_EQ(CS760Emulator::IndexOfRate(22050), 3);
    EXPECT_EQ(CS760Emulator::IndexOfRate(16001), 3);
    EXPECT_EQ(CS760Emulator::IndexOfRate(8000), 5);
    EXPECT_EQ(CS760Emulator::IndexOfRate(15001), 7);
    EXPECT_EQ(CS760Emulator::IndexOfRate(96000), 0);
    EXPECT_EQ(CS760Emulator::RateOfIndex(6), 32000u);
    EXPECT_EQ(CS760Emulator::RateOfIndex(9), 44100u);
}

TEST(S760Emulator, ADumpGoesOnWithoutAnswersAndHoldsOnAWait)
{
    S760TestBench bench;
    bench.SendSample(6, TestWords(16, 10, 4));
    const Bytes header = bench.Ask(Request(6));
    ASSERT_EQ(header.size(), 21u);
    // Nobody answers the header: after two seconds the packets go open loop.
    bench.clock.Advance(CS760Emulator::kDumpReplyMs - 1);
    EXPECT_TRUE(bench.SaidNothingMore());
    bench.clock.Advance(1);
    EXPECT_EQ(bench.Next()[4], 0);
    // A WAIT holds the next packet however long it takes; an ACK releases it.
    bench.Send(Wait(0));
    bench.Settle();
    bench.clock.Advance(60000);
    EXPECT_TRUE(bench.SaidNothingMore());
    EXPECT_EQ(bench.Ask(Ack(0))[4], 1);
    // A NAK brings the same packet again.
    const Bytes again = bench.Ask(Nak(1));
    EXPECT_EQ(again[4], 1);
    EXPECT_EQ(bench.Ask(Nak(1)), again);
    EXPECT_EQ(bench.Ask(Ack(1))[4], 2);
}
