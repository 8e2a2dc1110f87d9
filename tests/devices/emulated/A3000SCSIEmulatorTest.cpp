#include <gtest/gtest.h>

#include <filesystem>

#include "A3000TestBench.h"

using namespace quorvel;
using namespace quorvel::test;

namespace {

SHeaderFields Header(uint32_t number, uint32_t frames, const std::string& name)
{
    SHeaderFields header;
    header.number = number;
    header.length = frames;
    header.period = 20833; // 48000 Hz
    header.loopStart = 10;
    header.loopEnd = frames - 1;
    header.loopControl = 0;
    header.pitch = 62;
    header.name = name;
    return header;
}

} // namespace

TEST(A3000SCSIEmulator, AnswersInquiryAsAnA3000)
{
    CA3000TestBench bench("6002");
    const uint8_t block[6] = {0x12, 0, 0, 0, 38, 0};
    Bytes answer(38, 0xEE);
    ASSERT_TRUE(bench.bus->ExecuteIn(bench.device, block, answer.size(), answer.data()).Good());
    EXPECT_EQ(answer[0], 0x03);
    EXPECT_EQ(std::string(answer.begin() + 8, answer.begin() + 14), "YAMAHA");
    EXPECT_EQ(std::string(answer.begin() + 17, answer.begin() + 30), "Sampler A3000");
    EXPECT_EQ(std::string(answer.begin() + 34, answer.begin() + 38), "0200");
    // The MIDI side answers too.
    EXPECT_EQ(bench.Ask({0xF0, 0x7E, 0x00, 0x06, 0x01, 0xF7}).size(), 15u);
}

TEST(A3000SCSIEmulator, ASampleSentBySMDIIsListedAndComesBackBothWays)
{
    CA3000TestBench bench("6002");
    bench.Put(YamahaDump("WD", "Kick", WavePayload(100)));
    const Bytes data = PatternData(2, 12000);
    // Number 7 is past the last sample: the sample is appended as number 1.
    EXPECT_EQ(CodeOf(bench.ScsiTransmit(Header(7, 12000, "A name longer than sixteen"), data)), kEndOfProcedure);
    EXPECT_EQ(bench.ObjectList(), Join(ObjectEntry(16, "Kick"), ObjectEntry(16, "A name longer th")));

    // Over SMDI: the header as it came (the name cut to 16), the data bit for bit.
    const Bytes header = bench.ScsiExchange(HeaderRequest(1));
    SHeaderFields expected = Header(1, 12000, "A name longer th");
    EXPECT_EQ(header, HeaderMessage(expected));
    EXPECT_EQ(bench.ScsiReceive(1, 8000, data.size()), data);
    // Over MIDI: the words follow a wave block of 48000 Hz at key 62.
    const SReadDump wave = bench.Fetch("WD", "A name longer th");
    ASSERT_EQ(wave.payload.size(), 73u + data.size());
    EXPECT_EQ(Bytes(wave.payload.begin() + 73, wave.payload.end()), data);
    EXPECT_EQ(Bytes(wave.payload.begin() + 64, wave.payload.begin() + 69), (Bytes{0, 0, 0xBB, 0x80, 62}));
}

TEST(A3000SCSIEmulator, ASampleSentByMIDIIsReadBySMDI)
{
    CA3000TestBench bench("6002");
    Bytes wave = WavePayload(5000, 3);
    wave[64] = 0, wave[65] = 0, wave[66] = 0xAC, wave[67] = 0x44, wave[68] = 57; // 44100 Hz, key 57
    bench.Put(YamahaDump("WD", "Bass", wave));
    const Bytes header = bench.ScsiExchange(HeaderRequest(0));
    ASSERT_EQ(CodeOf(header), kHeader);
    EXPECT_EQ(Field(header, 14, 1), 16u);    // bits
    EXPECT_EQ(Field(header, 15, 1), 1u);     // channels
    EXPECT_EQ(Field(header, 16, 3), 22676u); // period of 44100 Hz
    EXPECT_EQ(Field(header, 19, 4), 5000u);  // frames
    EXPECT_EQ(Field(header, 31, 1), 0x7Fu);  // no loop
    EXPECT_EQ(Field(header, 32, 2), 57u);    // pitch
    EXPECT_EQ(std::string(header.begin() + 37, header.end()), "Bass");
    EXPECT_EQ(bench.ScsiReceive(0, 4096, 10000), Bytes(wave.begin() + 73, wave.end()));
    EXPECT_EQ(RejectOf(bench.ScsiExchange(HeaderRequest(1))), 0x00200002u); // no such sample
}

TEST(A3000SCSIEmulator, SMDIReplacesAndDeletesByNumber)
{
    CA3000TestBench bench("6002");
    bench.Put(YamahaDump("WD", "One", WavePayload(10, 1)));
    bench.Put(YamahaDump("SB", "Bank", Bytes(64, 0)));
    bench.Put(YamahaDump("WD", "Two", WavePayload(10, 2)));
    const Bytes data = PatternData(2, 50);
    EXPECT_EQ(CodeOf(bench.ScsiTransmit(Header(0, 50, "Uno"), data)), kEndOfProcedure);
    EXPECT_EQ(bench.ObjectList(),
              Join(Join(ObjectEntry(16, "Uno"), ObjectEntry(17, "Bank")), ObjectEntry(16, "Two")));
    EXPECT_EQ(bench.Fetch("WD", "Uno").payload.size(), 73u + 100u);

    EXPECT_EQ(CodeOf(bench.ScsiExchange(DeleteSample(0))), kEndOfProcedure);
    EXPECT_EQ(bench.ObjectList(), Join(ObjectEntry(17, "Bank"), ObjectEntry(16, "Two")));
    // "Two" is number 0 now.
    const Bytes header = bench.ScsiExchange(HeaderRequest(0));
    EXPECT_EQ(std::string(header.begin() + 37, header.end()), "Two");
    EXPECT_EQ(RejectOf(bench.ScsiExchange(DeleteSample(1))), 0x00200002u);
}

TEST(A3000SCSIEmulator, TakesOnlyMonoSixteenBitSamples)
{
    CA3000TestBench bench("6002");
    SHeaderFields stereo = Header(0, 50, "Wide");
    stereo.channels = 2;
    EXPECT_EQ(RejectOf(bench.ScsiExchange(HeaderMessage(stereo))), 0x00200001u);
    SHeaderFields eight = Header(0, 50, "Thin");
    eight.bits = 8;
    EXPECT_EQ(RejectOf(bench.ScsiExchange(HeaderMessage(eight))), 0x00200001u);
    EXPECT_TRUE(bench.ObjectList().empty());
}

TEST(A3000SCSIEmulator, PlaysTheSMDIFaults)
{
    CA3000TestBench bench("6002", "reject-header");
    EXPECT_EQ(RejectOf(bench.ScsiExchange(HeaderMessage(Header(0, 50, "Kick")))), 0x00200001u);
    EXPECT_TRUE(bench.ObjectList().empty());

    CA3000TestBench silent("6002", "silent");
    const uint8_t block[6] = {0x12, 0, 0, 0, 38, 0};
    Bytes answer(38);
    EXPECT_FALSE(silent.bus->ExecuteIn(silent.device, block, answer.size(), answer.data()).Good());
}

TEST(A3000SCSIEmulator, ASampleSentBySMDIOutlivesARestart)
{
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() /
        ("quorvel-a3000-scsi-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    std::filesystem::remove_all(folder);
    const Bytes data = PatternData(2, 3000);
    {
        CA3000TestBench first("6002", "", folder.string());
        EXPECT_EQ(CodeOf(first.ScsiTransmit(Header(0, 3000, "Kept"), data)), kEndOfProcedure);
    }
    EXPECT_TRUE(std::filesystem::exists(folder / "6002" / "memory.a3000"));
    CA3000TestBench second("6002", "", folder.string());
    EXPECT_EQ(second.ScsiExchange(HeaderRequest(0)), HeaderMessage(Header(0, 3000, "Kept")));
    EXPECT_EQ(second.ScsiReceive(0, 2048, data.size()), data);
    EXPECT_EQ(second.ObjectList(), ObjectEntry(16, "Kept"));
    std::filesystem::remove_all(folder);
}
