// Yamaha bulk dumps: the request, blocks and their XOR, every check of a
// received dump, the object list, names and the payload layouts.
#include <gtest/gtest.h>

#include "samplers/yamaha/A3000BulkDump.h"
#include "samplers/yamaha/A3000Exceptions.h"
#include "samplers/yamaha/A3000Layouts.h"

namespace quorvel {
namespace {

using namespace a3000;
using Bytes = std::vector<uint8_t>;

Bytes Payload(size_t count)
{
    Bytes payload(count);
    for (size_t i = 0; i < count; ++i)
        payload[i] = static_cast<uint8_t>(i * 37 + 5);
    return payload;
}

CRawSysex DumpOf(const Bytes& payload, const std::string& type = "SP", const std::string& name = "Kick")
{
    CA3000StandardBulkDump dump;
    dump.device = 3;
    dump.type = type;
    dump.name = name;
    dump.payload = payload;
    return dump.ToMessage();
}

void Expect(const CRawSysex& message, const char* why, bool checksum = false)
{
    if (checksum)
        EXPECT_THROW(CA3000StandardBulkDump::Parse(message), XA3000ChecksumIncorrect) << why;
    else
        EXPECT_THROW(CA3000StandardBulkDump::Parse(message), XA3000ReceivedInvalidSysex) << why;
}

TEST(A3000BulkDump, TheRequestNamesTypeAndObjectIn31Bytes)
{
    const CRawSysex request = A3000Request(5, "WD", "Snare");
    ASSERT_EQ(request.GetLength(), 31);
    const uint8_t* r = request.GetData();
    EXPECT_EQ(r[0], 0xF0);
    EXPECT_EQ(r[1], 0x43);
    EXPECT_EQ(r[2], 0x25);
    EXPECT_EQ(r[3], 0x7A);
    EXPECT_EQ(std::string(r + 4, r + 14), "LM  0278WD");
    EXPECT_EQ(std::string(r + 14, r + 30), "Snare           ");
    EXPECT_EQ(r[30], 0xF7);
}

TEST(A3000BulkDump, A2035BytePayloadFillsTheFirstBlockAndOneMoreOpensASecond)
{
    const CRawSysex full = DumpOf(Payload(2035));
    ASSERT_EQ(full.GetLength(), 6 + 4096 + 1 + 1);
    EXPECT_EQ(full.GetData()[4], 4096 >> 7);
    EXPECT_EQ(full.GetData()[5], 4096 & 0x7F);
    EXPECT_EQ(full.GetData()[32], 0);
    EXPECT_EQ(full.GetData()[33], 5) << "high nibble first";
    EXPECT_EQ(full.GetData()[34], (42 >> 4));
    EXPECT_EQ(full.GetData()[35], (42 & 0x0F));

    const CRawSysex more = DumpOf(Payload(2036));
    ASSERT_EQ(more.GetLength(), 6 + 4096 + 1 + 2 + 2 + 1 + 1);
    EXPECT_EQ(more.GetData()[4103], 0);
    EXPECT_EQ(more.GetData()[4104], 2) << "the second block counts its two nibbles";

    for (size_t count : {0u, 1u, 2035u, 2036u, 2035u + 2048u, 2035u + 2049u, 10000u}) {
        const CA3000StandardBulkDump back = CA3000StandardBulkDump::Parse(DumpOf(Payload(count)));
        EXPECT_EQ(back.payload, Payload(count)) << count;
        EXPECT_EQ(back.device, 3);
        EXPECT_EQ(back.type, "SP");
        EXPECT_EQ(back.name, "Kick");
    }
}

TEST(A3000BulkDump, EveryCheckOfAReceivedDumpRefusesIt)
{
    const Bytes good = [] {
        const CRawSysex m = DumpOf(Payload(2100));
        return Bytes(m.GetData(), m.GetData() + m.GetLength());
    }();
    const auto with = [&](size_t at, uint8_t value) {
        Bytes bytes = good;
        bytes[at] = value;
        return CRawSysex(bytes);
    };
    Expect(with(1, 0x41), "another maker");
    Expect(with(3, 0x7B), "another model byte");
    Expect(with(9, '1'), "another signature");
    Expect(with(5, 24), "a first count below 26");
    Expect(with(5, (4096 + 1) & 0x7F), "an odd first count");
    Expect(CRawSysex(Bytes(good.begin(), good.begin() + 31)), "shorter than a header");
    Expect(CRawSysex(Bytes{0xF0, 0x43, 3, 0x7A, 0, 26, 'L', 'M', ' ', ' ', '0', '2', '7', '8', 'S', 'P',
                           ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', 0xF7}),
           "no room for the checksum");
    Bytes cut = good;
    cut.erase(cut.end() - 4, cut.end() - 1);
    Expect(CRawSysex(cut), "a second block shorter than its count");

    Expect(with(4102, good[4102] ^ 1), "the first block's XOR", true);
    Expect(with(good.size() - 2, good[good.size() - 2] ^ 1), "the second block's XOR", true);
    Expect(with(40, good[40] ^ 1), "a payload nibble changed", true);
    EXPECT_NO_THROW(CA3000StandardBulkDump::Parse(CRawSysex(good)));
}

TEST(A3000BulkDump, TheObjectListIgnoresATrailingPartialEntryAndNumbersSamplesInOrder)
{
    Bytes payload;
    for (const auto& [type, name] : std::vector<std::pair<uint8_t, std::string>>{
             {16, "Kick"}, {17, "Drums"}, {16, "Snare"}, {20, "Program"}, {16, "Hat"}}) {
        payload.push_back(type);
        std::string padded = name;
        padded.resize(16, ' ');
        payload.insert(payload.end(), padded.begin(), padded.end());
    }
    payload.insert(payload.end(), {16, 'P', 'a', 'r', 't'});
    const CA3000ObjectList list = CA3000ObjectList::Decode(payload);
    ASSERT_EQ(list.Entries().size(), 5u);
    EXPECT_EQ(list.NamesOf(kSampleObject), (std::vector<std::string>{"Kick", "Snare", "Hat"}));
    EXPECT_EQ(list.NamesOf(kSampleBankObject), (std::vector<std::string>{"Drums"}));
    EXPECT_TRUE(list.Contains(kSampleObject, "Snare"));
    EXPECT_FALSE(list.Contains(kSampleObject, "Drums"));
    EXPECT_TRUE(CA3000ObjectList::Decode(Bytes(16, 16)).Entries().empty());
}

TEST(A3000Names, StereoHalvesAndTheSamplersCharacters)
{
    EXPECT_EQ(HalfName("Pad", EHalf::Left), "PadL");
    EXPECT_EQ(HalfName("Pad", EHalf::Right), "PadR");
    EXPECT_EQ(HalfName("Pad", EHalf::Mono), "Pad");
    EXPECT_EQ(HalfName("Fifteen chars xx", EHalf::Left), "Ffteen chars xxL") << "16 characters lose the second";
    EXPECT_EQ(HalfName("Fifteen chars x", EHalf::Right), "Fifteen chars xR");
    EXPECT_EQ(HalfName("A name much longer than sixteen", EHalf::Left), "Aname much longL");
    EXPECT_EQ(SamplerName("Tab\there\xE9!  "), "Tab here !");
    EXPECT_EQ(PaddedName("Hi"), "Hi              ");
}

TEST(A3000Layouts, TheWaveParametersAndTheBankKeepWhatTheyCarry)
{
    SampleInfo info;
    info.SetName("Loop 03");
    info.channelCount = 1;
    info.bits = 16;
    info.rate = 48000;
    info.length = 70000;
    info.playStart = 10;
    info.playEnd = 69999;
    info.sustainLoop = {2, 100, 60000};
    info.rootKey = 38;
    info.fineTuning = -12;
    const Bytes block = EncodeWaveParameters(WaveParametersFromInfo(info, EHalf::Right));
    ASSERT_EQ(block.size(), kWaveParameterBytes);
    EXPECT_EQ(std::string(block.begin(), block.begin() + 16), "Loop 03R        ");
    const SWaveParameters back = DecodeWaveParameters(block);
    EXPECT_EQ(back.half, EHalf::Right);
    SampleInfo expected = info;
    expected.SetName("Loop 03R");
    EXPECT_EQ(InfoFromWaveParameters(back), expected);
    EXPECT_THROW(DecodeWaveParameters(Bytes(72)), XA3000ReceivedInvalidSysex);

    CA3000SampleBank bank;
    bank.name = "Drums";
    bank.level = 90;
    bank.pan = -20;
    bank.members = {{"Drums 01", 36, 36, 36, EHalf::Mono}, {"PadL", 40, 50, 45, EHalf::Left}};
    const Bytes payload = bank.Encode();
    ASSERT_EQ(payload.size(), kBankHeaderBytes + 2 * kMemberBytes);
    EXPECT_EQ(payload[kBankHeaderBytes + kMemberBytes], kSampleObject) << "each member opens with its type";
    const CA3000SampleBank read = CA3000SampleBank::Decode(payload);
    EXPECT_EQ(read.name, "Drums");
    EXPECT_EQ(read.pan, -20);
    ASSERT_EQ(read.members.size(), 2u);
    EXPECT_EQ(read.members[1].name, "PadL");
    EXPECT_EQ(read.members[1].keyHigh, 50);
    EXPECT_EQ(read.members[1].half, EHalf::Left);
    EXPECT_THROW(CA3000SampleBank::Decode(Bytes(payload.begin(), payload.end() - 1)), XA3000ReceivedInvalidSysex);
}

} // namespace
} // namespace quorvel
