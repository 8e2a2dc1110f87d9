#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "S760TestBench.h"
#include "devices/emulated/EmulatedSamplers.h"

using namespace quorvel;
using namespace quorvel::test;

namespace {

class S760EmulatorMemory : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = std::filesystem::temp_directory_path() /
                  ("quorvel-s760-memory-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                   "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::filesystem::path folder_;
};

} // namespace

TEST_F(S760EmulatorMemory, SamplesPatchesAndPartialsOutliveARestart)
{
    const std::vector<uint32_t> words = TestWords(16, 300, 9);
    const Bytes params = HighLow(SampleParams("KEPT", 300, 0));
    Bytes patch = HighLow(Name16("KEPT PATCH"));
    patch.resize(512, 0x03);
    Bytes partial = HighLow(Name16("KEPT PARTIAL"));
    partial.resize(256, 0x0C);
    {
        S760TestBench first({}, folder_.string());
        first.SendSample(7, words);
        ASSERT_TRUE(first.HandshakeWrite(SampleParamsAddress(7), params));
        ASSERT_TRUE(first.HandshakeWrite(PatchAddress(1), patch));
        ASSERT_TRUE(first.HandshakeWrite(PartialAddress(2), partial));
        first.SendSample(8, words);
        first.Send(DataSet(SampleParamsAddress(8), {0x07, 0x0F}));
        first.Settle();
    }
    for (const char* file : {"sample-007.blk", "sample-00007.sds", "patch-001.blk", "partial-002.blk"})
        EXPECT_TRUE(std::filesystem::exists(folder_ / file)) << file;
    EXPECT_FALSE(std::filesystem::exists(folder_ / "sample-008.blk"));
    EXPECT_FALSE(std::filesystem::exists(folder_ / "sample-00008.sds"));

    S760TestBench second({}, folder_.string());
    EXPECT_EQ(second.FileList(5), (std::vector<SListEntry>{{5, 7, Name16("KEPT")}}));
    EXPECT_EQ(second.HandshakeRead(SampleParamsAddress(7), 96), params);
    EXPECT_EQ(second.HandshakeRead(PatchAddress(1), 512), patch);
    EXPECT_EQ(second.HandshakeRead(PartialAddress(2), 256), partial);
    const std::vector<uint32_t> back = second.ReceiveSample(7);
    ASSERT_EQ(back.size(), 4604u);
    EXPECT_EQ(std::vector<uint32_t>(back.begin(), back.begin() + 300), words);
}

TEST_F(S760EmulatorMemory, ABlockFileOfTheWrongSizeIsSkipped)
{
    {
        S760TestBench first({}, folder_.string());
        ASSERT_TRUE(first.HandshakeWrite(PatchAddress(0), HighLow(Name16("CUT"))));
    }
    const std::filesystem::path file = folder_ / "patch-000.blk";
    ASSERT_TRUE(std::filesystem::exists(file));
    std::filesystem::resize_file(file, 100);
    S760TestBench second({}, folder_.string());
    EXPECT_TRUE(second.FileList(3).empty());
}

TEST_F(S760EmulatorMemory, StartedFromTheSettingsWithItsPortsAndFolder)
{
    std::ostringstream warnings;
    const SEmulatorSettings settings = ParseEmulatorSettings("2000", folder_.string().c_str(), "reject:1", warnings);
    EXPECT_EQ(warnings.str(), "");
    ASSERT_EQ(settings.samplers, std::vector<std::string>{"2000"});
    CMIDIPortLists ports;
    ManualEmulatorClock clock;
    CEmulatedSamplers samplers(ports, settings, clock, 0, warnings);
    ASSERT_EQ(samplers.MIDIEmulators().size(), 1u);
    auto& emulator = dynamic_cast<CS760Emulator&>(*samplers.MIDIEmulators()[0]);
    EXPECT_NE(ports.FindInput("Emulated Roland S-760 via MIDI"), nullptr);
    ASSERT_NE(ports.FindOutput("Emulated Roland S-760 via MIDI"), nullptr);
    // The faults reach it, and its memory lives in the folder under its id.
    CSysexMIDIInput parser;
    std::unique_ptr<CMIDIInput> input = ports.FindInput("Emulated Roland S-760 via MIDI")->Open(parser);
    std::unique_ptr<CMIDIOutput> output = ports.FindOutput("Emulated Roland S-760 via MIDI")->Open();
    CSysexConnection link(parser, *output);
    const Bytes want = AddressSize(0x40, PatchAddress(0), 32);
    output->SendBytes(want.data(), int32_t(want.size()));
    std::unique_ptr<CRawSysex> answer = link.Receive(5000);
    EXPECT_EQ(Bytes(answer->GetData(), answer->GetData() + answer->GetLength()), RolandReject());
    const Bytes name = DataSet(PatchAddress(0), HighLow(Name16("FOLDER")));
    output->SendBytes(name.data(), int32_t(name.size()));
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (emulator.BytesTaken() < want.size() + name.size() && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_TRUE(std::filesystem::exists(folder_ / "2000" / "patch-000.blk"));
}
