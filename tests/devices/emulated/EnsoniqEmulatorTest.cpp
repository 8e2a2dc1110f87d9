#include <gtest/gtest.h>

#include "EnsoniqTestBench.h"

using namespace quorvel;
using namespace quorvel::test;

TEST(EnsoniqEmulator, AWaveWrittenInChunksIsReadBackBitExactly)
{
    for (const char* id : {"3000", "3010", "3020"}) {
        SCOPED_TRACE(id);
        EnsoniqTestBench bench(id);
        bench.MakeInstrument(2);
        // Another wavesample of layer 0; it takes number 2, 1 being taken.
        EXPECT_EQ(bench.Ask(Address(0x19, 2, 0, 1)), Status(0));
        std::vector<uint16_t> words = Pattern(700, 0x0123);
        words[0] = 0x8001;
        words[699] = 0x7FFF;
        // The data grows past the square wave the wavesample was made with.
        EXPECT_EQ(bench.Put(Range(0x0F, 2, 0, 2, 0, 300), {words.begin(), words.begin() + 300}),
                  std::make_pair(Status(0), Status(0)));
        EXPECT_EQ(bench.Put(Range(0x0F, 2, 0, 2, 300, 700), {words.begin() + 300, words.end()}),
                  std::make_pair(Status(0), Status(0)));
        EXPECT_EQ(bench.Get(Range(0x06, 2, 0, 2, 0, 700)), words);
        EXPECT_EQ(bench.Get(Range(0x06, 2, 0, 2, 299, 301)), std::vector<uint16_t>(words.begin() + 299,
                                                                                   words.begin() + 301));
        // 0x8001 on the wire is 08 00 01.
        EXPECT_EQ(bench.Ask(Range(0x06, 2, 0, 2, 0, 1)), Status(0));
        bench.Next();
        EXPECT_EQ(bench.Ask(Status(0)), (Bytes{0xF0, 0x0F, 0x03, 0x00, 0x08, 0x00, 0x01, 0xF7}));
        // A range past the end, or empty, or starting beyond the data.
        EXPECT_EQ(bench.Ask(Range(0x06, 2, 0, 2, 0, 701)), Status(0x0A));
        EXPECT_EQ(bench.Ask(Range(0x06, 2, 0, 2, 5, 5)), Status(0x0A));
        EXPECT_EQ(bench.Ask(Range(0x0F, 2, 0, 2, 701, 710)), Status(0x0A));
        // Without the computer's ACK the block never comes.
        EXPECT_EQ(bench.Ask(Range(0x06, 2, 0, 2, 0, 4)), Status(0));
        bench.Next();
        bench.clock.Advance(CEnsoniqEmulator::kReplyMs);
        EXPECT_EQ(bench.Ask(Address(0x03, 7, 0, 1)), Status(5));
        EXPECT_TRUE(bench.SaidNothingMore());
    }
}

TEST(EnsoniqEmulator, ParameterBlocksAreWrittenAndReadBackWordForWord)
{
    EnsoniqTestBench bench("3010");
    bench.MakeInstrument();
    // What the sampler made: its identity word and a layer mapping every
    // key to wavesample 1.
    const std::vector<uint16_t> made = bench.Get(Address(0x03, 0, 0, 1));
    ASSERT_EQ(made.size(), 323u);
    EXPECT_EQ(made[25], 0xFFFF);
    const std::vector<uint16_t> layer = bench.Get(Address(0x04, 0, 0, 1));
    ASSERT_EQ(layer.size(), 107u);
    EXPECT_EQ(layer[19], 0x0100);
    EXPECT_EQ(layer[106], 0x0100);
    EXPECT_EQ(bench.Get(Address(0x05, 0, 0, 1)).size(), 139u);

    const std::vector<uint16_t> instrument = Pattern(323, 1), wave = Pattern(139, 3);
    std::vector<uint16_t> layerBlock = Pattern(107, 2);
    layerBlock[14] = 0x0300; // no stereo link on a mono model
    EXPECT_EQ(bench.Put(Address(0x0C, 0, 0, 1), instrument), std::make_pair(Status(0), Status(0)));
    EXPECT_EQ(bench.Put(Address(0x0D, 0, 0, 1), layerBlock), std::make_pair(Status(0), Status(0)));
    EXPECT_EQ(bench.Put(Address(0x0E, 0, 0, 1), wave), std::make_pair(Status(0), Status(0)));
    EXPECT_EQ(bench.Get(Address(0x03, 0, 0, 1)), instrument);
    EXPECT_EQ(bench.Get(Address(0x04, 0, 0, 1)), layerBlock);
    EXPECT_EQ(bench.Get(Address(0x05, 0, 0, 1)), wave);
    // A block of the wrong size is refused and nothing changes.
    EXPECT_EQ(bench.Put(Address(0x0E, 0, 0, 1), Pattern(138, 9)), std::make_pair(Status(0), Status(0x17)));
    EXPECT_EQ(bench.Get(Address(0x05, 0, 0, 1)), wave);
}

TEST(EnsoniqEmulator, EveryRequestIsAnsweredWithItsStatus)
{
    EnsoniqTestBench bench("3000");
    EXPECT_EQ(bench.Ask(Address(0x16, 0, 0, 1)), Status(5));
    EXPECT_EQ(bench.Ask(Address(0x15, 8, 0, 1)), Status(5));
    bench.MakeInstrument();
    EXPECT_EQ(bench.Ask(Address(0x15, 0, 0, 1)), Status(0x0D));
    EXPECT_EQ(bench.Ask(Address(0x16, 0, 0, 1)), Status(7));
    EXPECT_EQ(bench.Ask(Address(0x04, 0, 3, 1)), Status(6));
    EXPECT_EQ(bench.Ask(Address(0x0D, 0, 3, 1)), Status(6));
    EXPECT_EQ(bench.Ask(Address(0x05, 0, 0, 9)), Status(8));
    EXPECT_EQ(bench.Ask(Address(0x1A, 0, 0, 9)), Status(8));
    EXPECT_EQ(bench.Ask(EnsoniqMessage(0x40, {0x14})), Status(0));
    EXPECT_EQ(bench.Ask(Address(0x14, 0, 0, 1)), Status(0x17)); // not emulated
    EXPECT_EQ(bench.Ask(EnsoniqMessage(0x03, {0, 0})), Status(0x17));
    // Another channel or product is not this sampler.
    bench.Send(EnsoniqMessage(0x15, {1, 0, 1}, 1));
    bench.Send(EnsoniqMessage(0x15, {1, 0, 1}, 0, 4));
    EXPECT_TRUE(bench.SaidNothingMore());
    // Every wavesample number taken.
    for (int n = 2; n <= 127; ++n)
        ASSERT_EQ(bench.Ask(Address(0x19, 0, 0, 1)), Status(0));
    EXPECT_EQ(bench.Ask(Address(0x19, 0, 0, 1)), Status(0x0F));
    // Deletes: a wavesample, a layer with its wavesamples, the instrument.
    EXPECT_EQ(bench.Ask(Address(0x1A, 0, 0, 5)), Status(0));
    EXPECT_EQ(bench.Ask(Address(0x05, 0, 0, 5)), Status(8));
    EXPECT_EQ(bench.Ask(Address(0x17, 0, 0, 1)), Status(0));
    EXPECT_EQ(bench.Ask(Address(0x05, 0, 0, 1)), Status(8));
    EXPECT_EQ(bench.Ask(Address(0x1C, 0, 0, 1)), Status(0));
    EXPECT_EQ(bench.Ask(Address(0x03, 0, 0, 1)), Status(5));
}

TEST(EnsoniqEmulator, OnlyTheASR10LinksCompanionLayersIntoStereoPairs)
{
    std::vector<uint16_t> linked = Pattern(107, 4);
    linked[14] = 0x0001;
    for (const char* id : {"3000", "3010"}) {
        EnsoniqTestBench eps(id);
        eps.MakeInstrument();
        EXPECT_EQ(eps.Ask(Address(0x16, 0, 1, 2)), Status(0));
        EXPECT_EQ(eps.Put(Address(0x0D, 0, 0, 1), linked), std::make_pair(Status(0), Status(4)));
        EXPECT_EQ(eps.Get(Address(0x04, 0, 0, 1))[14], 0);
    }
    EnsoniqTestBench asr("3020");
    asr.MakeInstrument();
    // No companion layer yet.
    EXPECT_EQ(asr.Put(Address(0x0D, 0, 0, 1), linked), std::make_pair(Status(0), Status(6)));
    EXPECT_EQ(asr.Ask(Address(0x16, 0, 1, 2)), Status(0));
    EXPECT_EQ(asr.Put(Address(0x0D, 0, 0, 1), linked), std::make_pair(Status(0), Status(0)));
    EXPECT_EQ(asr.Get(Address(0x04, 0, 1, 2))[14] & 0xFF, 1);
    std::vector<uint16_t> left = Pattern(64, 5), right = Pattern(64, 6);
    EXPECT_EQ(asr.Put(Range(0x0F, 0, 0, 1, 0, 64), left), std::make_pair(Status(0), Status(0)));
    EXPECT_EQ(asr.Put(Range(0x0F, 0, 0, 2, 0, 64), right), std::make_pair(Status(0), Status(0)));
    EXPECT_EQ(asr.Get(Range(0x06, 0, 0, 1, 0, 64)), left);
    EXPECT_EQ(asr.Get(Range(0x06, 0, 1, 2, 0, 64)), right);
    // Deleting one channel deletes its companion.
    EXPECT_EQ(asr.Ask(Address(0x1A, 0, 0, 1)), Status(0));
    EXPECT_EQ(asr.Ask(Address(0x05, 0, 1, 2)), Status(8));
}
