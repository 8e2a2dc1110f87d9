#include <gtest/gtest.h>

#include "A3000TestBench.h"

using namespace quorvel;
using namespace quorvel::test;

TEST(A3000EmulatorFaults, ADumpThatFailsACheckIsThrownAwayWhole)
{
    CA3000TestBench bench;
    const Bytes good = YamahaDump("WD", "Kick", WavePayload(3000));
    bench.Put(good);

    // The XOR of the third block is one off.
    Bytes badXor = YamahaDump("WD", "Kick", WavePayload(3000, 9));
    badXor[badXor.size() - 2] ^= 0x01;
    // The first block's XOR covers the name too.
    Bytes badHeaderXor = YamahaDump("WD", "Hat", WavePayload(20));
    badHeaderXor[20] = 'Q';
    Bytes notLM = YamahaDump("WD", "Hat", WavePayload(20));
    notLM[10] = '1';
    notLM[4 + 2 + 26 + 2 * (73 + 40)] ^= '0' ^ '1'; // keeps its XOR right
    Bytes highNibble = YamahaDump("WD", "Hat", WavePayload(20));
    highNibble[40] |= 0x10;
    highNibble[4 + 2 + 26 + 2 * (73 + 40)] ^= 0x10;
    Bytes truncated = YamahaDump("WD", "Hat", WavePayload(3000));
    truncated.erase(truncated.end() - 10, truncated.end() - 1);
    const Bytes oddWave = YamahaDump("WD", "Hat", Bytes(74, 1));
    for (const Bytes& dump : {badXor, badHeaderXor, notLM, highNibble, truncated, oddWave})
        bench.Put(dump);

    EXPECT_EQ(bench.emulator->RefusedDumps(), 6u);
    EXPECT_EQ(bench.ObjectList(), ObjectEntry(16, "Kick"));
    EXPECT_EQ(bench.Fetch("WD", "Kick").payload, WavePayload(3000));
    EXPECT_TRUE(bench.SaidNothingMore());
}

TEST(A3000EmulatorFaults, WrongNameAnswersUnderAnotherName)
{
    CA3000TestBench bench("6000", "wrong-name");
    bench.Put(YamahaDump("WD", "Kick", WavePayload(10)));
    const SReadDump wave = bench.Fetch("WD", "Kick");
    EXPECT_NE(wave.name, "Kick            ");
    EXPECT_EQ(wave.name.substr(1), "ick            ");
    EXPECT_EQ(wave.payload, WavePayload(10)); // everything else matches
    EXPECT_NE(bench.Fetch("SP", "Kick").name, "Kick            ");
    // The object list names objects as they are.
    EXPECT_EQ(bench.ObjectList(), ObjectEntry(16, "Kick"));
}

TEST(A3000EmulatorFaults, BadXorSpoilsThatBlockOfEveryDump)
{
    CA3000TestBench bench("6000", "bad-xor:1");
    bench.Put(YamahaDump("WD", "Kick", WavePayload(3000)));
    const SReadDump wave = bench.Fetch("WD", "Kick");
    EXPECT_EQ(wave.badXor, std::vector<size_t>{1});
    EXPECT_EQ(wave.payload, WavePayload(3000));
    bench.Put(YamahaDump("SB", "Bank", Bytes(3000, 7)));
    EXPECT_EQ(bench.Fetch("SB", "Bank").badXor, std::vector<size_t>{1});
    // A dump of one block has no block 1.
    EXPECT_TRUE(bench.Fetch("OL", "Object List").badXor.empty());
}

TEST(A3000EmulatorFaults, BadChecksumSpoilsOnlyWaveData)
{
    CA3000TestBench bench("6000", "bad-checksum:0");
    bench.Put(YamahaDump("WD", "Kick", WavePayload(3000)));
    EXPECT_EQ(bench.Fetch("WD", "Kick").badXor, std::vector<size_t>{0});
    EXPECT_TRUE(bench.Fetch("SP", "Kick").badXor.empty());
    EXPECT_TRUE(bench.Fetch("OL", "Object List").badXor.empty());
}

TEST(A3000EmulatorFaults, SilentAnswersNothingButStillKeeps)
{
    CA3000TestBench bench("6000", "silent");
    bench.Put(YamahaDump("WD", "Kick", WavePayload(10)));
    bench.Send({0xF0, 0x7E, 0x00, 0x06, 0x01, 0xF7});
    bench.Send(YamahaRequest("OL", "Object List"));
    bench.Send(YamahaRequest("WD", "Kick"));
    EXPECT_TRUE(bench.SaidNothingMore());
    EXPECT_EQ(bench.emulator->Memory().SampleCount(), 1u);
}
