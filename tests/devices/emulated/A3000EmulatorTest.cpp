#include <gtest/gtest.h>

#include "A3000TestBench.h"

using namespace quorvel;
using namespace quorvel::test;

namespace {

Bytes Concat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

// A sample bank payload: a 64-byte common part, then one 21-byte record per
// member (object type as 32 bits, the name, a terminator).
Bytes BankPayload(const std::vector<std::string>& members)
{
    Bytes payload(64, 0);
    payload[0] = 17;
    for (const std::string& member : members)
        payload = Concat({payload, {0, 0, 0, 16}, Padded(member), {0}});
    return payload;
}

} // namespace

TEST(A3000Emulator, AnswersTheIdentityRequestAsAnA3000)
{
    CA3000TestBench bench;
    const Bytes reply = {0xF0, 0x7E, 0x00, 0x06, 0x02, 0x43, 0x00, 0x41, 0x01, 0x16, 0, 2, 0, 0, 0xF7};
    EXPECT_EQ(bench.Ask({0xF0, 0x7E, 0x00, 0x06, 0x01, 0xF7}), reply);
    EXPECT_EQ(bench.Ask({0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7}), reply);
    // Another device number is not this sampler.
    bench.Send({0xF0, 0x7E, 0x03, 0x06, 0x01, 0xF7});
    EXPECT_TRUE(bench.SaidNothingMore());
}

TEST(A3000Emulator, AWaveDumpIsListedAndComesBackBitExactly)
{
    CA3000TestBench bench;
    EXPECT_TRUE(bench.ObjectList().empty());

    // 3000 words: one full first block, two more (2048 and 4008 - 2035 - 2048 bytes).
    const Bytes kick = WavePayload(3000, 1);
    const Bytes snare = WavePayload(10, 2);
    bench.Put(YamahaDump("WD", "Kick", kick));
    // Blocks of another size than the sampler's own are read just as well.
    bench.Put(YamahaDump("WD", "Snare L", snare, 40, 6));
    EXPECT_EQ(bench.ObjectList(), Concat({ObjectEntry(16, "Kick"), ObjectEntry(16, "Snare L")}));

    const SReadDump back = bench.Fetch("WD", "Kick");
    EXPECT_TRUE(back.framed);
    EXPECT_EQ(back.type, "WD");
    EXPECT_EQ(back.name, "Kick            ");
    EXPECT_EQ(back.payload, kick);
    EXPECT_EQ(back.counts, (std::vector<size_t>{4096, 4096, 2 * (kick.size() - 2035 - 2048)}));
    EXPECT_TRUE(back.badXor.empty());
    EXPECT_EQ(bench.Fetch("WD", "Snare L").payload, snare);

    // The same name again replaces the wave; the list keeps its order.
    const Bytes shorter = WavePayload(5, 3);
    bench.Put(YamahaDump("WD", "Kick", shorter));
    EXPECT_EQ(bench.Fetch("WD", "Kick").payload, shorter);
    EXPECT_EQ(bench.ObjectList().size(), 34u);
}

TEST(A3000Emulator, PayloadsFillTheFirstBlockAt2035Bytes)
{
    CA3000TestBench bench;
    for (size_t size : {size_t{2035}, size_t{2036}}) {
        Bytes payload(size);
        for (size_t i = 0; i < size; ++i)
            payload[i] = static_cast<uint8_t>(i * 31);
        const std::string name = "Bank " + std::to_string(size);
        bench.Put(YamahaDump("SB", name, payload));
        const SReadDump back = bench.Fetch("SB", name);
        EXPECT_EQ(back.payload, payload);
        if (size == 2035)
            EXPECT_EQ(back.counts, std::vector<size_t>{4096});
        else
            EXPECT_EQ(back.counts, (std::vector<size_t>{4096, 2}));
    }
}

TEST(A3000Emulator, KeepsSampleParametersAndBanksByName)
{
    CA3000TestBench bench;
    Bytes parameters(336);
    for (size_t i = 0; i < parameters.size(); ++i)
        parameters[i] = static_cast<uint8_t>(255 - i);
    bench.Put(YamahaDump("WD", "Loop 1", WavePayload(100)));
    bench.Put(YamahaDump("SP", "Loop 1", parameters));
    const Bytes bank = BankPayload({"Loop 1", "Loop 2"});
    bench.Put(YamahaDump("SB", "My Bank", bank));

    EXPECT_EQ(bench.Fetch("SP", "Loop 1").payload, parameters);
    const SReadDump back = bench.Fetch("SB", "My Bank");
    EXPECT_EQ(back.name, "My Bank         ");
    EXPECT_EQ(back.payload, bank);
    EXPECT_EQ(back.payload.size(), 64u + 2 * 21);
    // Parameters before any wave make a sample without data.
    bench.Put(YamahaDump("SP", "Loop 2", parameters));
    EXPECT_EQ(bench.ObjectList(),
              Concat({ObjectEntry(16, "Loop 1"), ObjectEntry(17, "My Bank"), ObjectEntry(16, "Loop 2")}));
    const SReadDump empty = bench.Fetch("WD", "Loop 2");
    EXPECT_EQ(empty.payload.size(), 73u);
    EXPECT_EQ(empty.payload[0], 2);
    EXPECT_EQ(Bytes(empty.payload.begin() + 2, empty.payload.begin() + 18), Padded("Loop 2"));
}

TEST(A3000Emulator, MakesTheParametersOfASampleThatCameWithoutThem)
{
    CA3000TestBench bench;
    Bytes wave = WavePayload(1000);
    // Rate 32000 Hz at bytes 64-67 of the wave block, key 48 at 68.
    wave[64] = 0, wave[65] = 0, wave[66] = 0x7D, wave[67] = 0x00, wave[68] = 48, wave[69] = 0;
    bench.Put(YamahaDump("WD", "Pad", wave));
    const SReadDump sp = bench.Fetch("SP", "Pad");
    ASSERT_EQ(sp.payload.size(), 128u);
    EXPECT_EQ(sp.payload[0], 16);
    EXPECT_EQ(Bytes(sp.payload.begin() + 2, sp.payload.begin() + 18), Padded("Pad"));
    EXPECT_EQ(Bytes(sp.payload.begin() + 19, sp.payload.begin() + 23), (Bytes{0, 0, 0x03, 0xE8})); // 1000 words
    EXPECT_EQ(Bytes(sp.payload.begin() + 64, sp.payload.begin() + 69), (Bytes{0, 0, 0x7D, 0x00, 48}));
}

TEST(A3000Emulator, StaysQuietForWhatItDoesNotHave)
{
    CA3000TestBench bench;
    bench.Put(YamahaDump("WD", "Kick", WavePayload(10)));
    bench.Send(YamahaRequest("WD", "Snare"));
    bench.Send(YamahaRequest("SB", "Kick"));    // a sample, not a bank
    bench.Send(YamahaRequest("PG", "Kick"));    // programs are not kept
    bench.Send(YamahaRequest("WD", "Kick", 1)); // another device number
    EXPECT_TRUE(bench.SaidNothingMore());
    // Names are told apart by case.
    bench.Send(YamahaRequest("WD", "KICK"));
    EXPECT_TRUE(bench.SaidNothingMore());
    EXPECT_EQ(bench.Fetch("WD", "Kick").name, "Kick            ");
}
