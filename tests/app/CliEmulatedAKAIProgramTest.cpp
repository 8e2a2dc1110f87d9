// A loop to the emulated AKAI samplers as a program through the
// command-line tool, the program then read back through the program side's
// own AKAI interface: one keygroup per slice from the first key up, a
// replace that takes the old samples with it, a name clash, and a slice
// limit that sends nothing unless it is accepted.
#include <gtest/gtest.h>

#include <cstdlib>

#include <nlohmann/json.hpp>

#include "../common/TempFolder.h"
#include "RunTool.h"
#include "ToolTestFiles.h"
#include "devices/emulated/EmulatedSamplers.h"
#include "devices/scsi/SCSIBusRegistry.h"
#include "fileformats/PreferenceObjects.h"
#include "fileformats/WaveFileWriter.h"
#include "framework/FileSpec.h"
#include "framework/SafeFileWriter.h"
#include "loopgen/DrumLoopGenerator.h"
#include "samplers/SamplerBrands.h"
#include "samplers/akai/AKAIInterface.h"

namespace quorvel {
namespace {

using nlohmann::json;
using test::RunTool;
using test::Contains;
using test::TempFolder;

struct Model {
    uint32_t typeId;
    std::string name;
};

void PrintTo(const Model& model, std::ostream* out) { *out << model.name; }

// What the emulated sampler holds, read with the program's own interface on
// emulators started from the same memory folder.
struct SamplerMemory {
    std::vector<std::string> samples;
    std::vector<std::string> programs;
    std::unique_ptr<akai::CAKAIProgram> program; // the one asked for, if any
};

SamplerMemory Read(const Model& model, const std::string& programName = {})
{
    CMIDIPortLists ports;
    CSCSIBusRegistry buses;
    const std::unique_ptr<CEmulatedSamplers> emulators = StartEmulatedSamplersFromEnvironment(ports, buses);
    CPersistentInstalledSampler record;
    record.modelTypeId = model.typeId;
    const std::string port = "Emulated " + model.name;
    record.midiIn = {port, "Loopback"};
    record.midiOut = {port, "Loopback"};
    std::unique_ptr<CABCSamplerInterface> device = CreateSamplerInterface(record, SSamplerDevices{ports, buses});
    auto& akai = dynamic_cast<CABCAKAIInterface&>(*device);
    SamplerMemory memory{akai.SampleNames(), akai.ProgramNames(), nullptr};
    for (size_t i = 0; i < memory.programs.size(); ++i)
        if (memory.programs[i] == programName)
            memory.program = akai.GetProgram(static_cast<uint16_t>(i));
    return memory;
}

// Every keygroup on its own key from `firstKey` up, its first zone playing
// the sample sent for that slice and no other zone playing anything.
void ExpectKeyGroupsFor(const akai::CAKAIProgram& program, const json& sent, int firstKey)
{
    ASSERT_EQ(program.Header().KeyGroupCount(), sent.size());
    ASSERT_EQ(program.KeyGroups().size(), sent.size());
    for (size_t k = 0; k < sent.size(); ++k) {
        const akai::CABCAKAIKeyGroup& group = *program.KeyGroups()[k];
        EXPECT_EQ(group.LowNote(), firstKey + static_cast<int>(k)) << k;
        EXPECT_EQ(group.HighNote(), firstKey + static_cast<int>(k)) << k;
        EXPECT_EQ(group.ZoneSample(0), sent[k]["name"].get<std::string>()) << k;
        for (int32_t zone = 1; zone < akai::kVelocityZones; ++zone)
            EXPECT_EQ(group.ZoneSample(zone), "") << k;
    }
}

class CliEmulatedAKAIProgram : public ::testing::TestWithParam<Model> {
protected:
    void SetUp() override
    {
        const loopgen::GeneratedLoop generated = test::WriteDrumLoop(loop);
        frames = static_cast<int>(generated.frames);
        ::setenv("QUORVEL_EMULATED_SAMPLERS", "4000,4100", 1);
        ::setenv("QUORVEL_EMULATOR_DIR", (folder / "memory").c_str(), 1);
        const std::string port = "'Emulated " + GetParam().name + "'";
        sampler = " --model '" + GetParam().name + "' --midi-in " + port + " --midi-out " + port;
    }
    void TearDown() override
    {
        ::unsetenv("QUORVEL_EMULATED_SAMPLERS");
        ::unsetenv("QUORVEL_EMULATOR_DIR");
    }

    test::ToolRun Transmit(const std::string& options)
    {
        return RunTool("quorvel-cli", "transmit " + loop + " --sensitivity 99 --bars 1" + sampler + options);
    }

    TempFolder folder;
    std::string loop = folder / "loop.wav";
    std::string sampler;
    int frames = 0;
};

TEST_P(CliEmulatedAKAIProgram, TheSlicesBecomeAProgramOfOneKeyGroupPerSlice)
{
    auto run = Transmit("");
    ASSERT_EQ(run.status, 0) << run.err;
    const json report = json::parse(run.out);
    const json sent = report["samples"];
    ASSERT_GE(sent.size(), 3u);
    EXPECT_EQ(sent[0]["name"], "NEW PROGR 01");
    EXPECT_EQ(report["program"]["name"], "NEW PROGRAM");
    EXPECT_EQ(report["program"]["number"], 0);
    EXPECT_EQ(report["program"]["keygroups"], sent.size());

    const SamplerMemory memory = Read(GetParam(), "NEW PROGRAM");
    ASSERT_NE(memory.program, nullptr);
    EXPECT_EQ(memory.program->Header().Name(), "NEW PROGRAM");
    ExpectKeyGroupsFor(*memory.program, sent, 36);
    EXPECT_EQ(memory.samples.size(), sent.size());
}

TEST_P(CliEmulatedAKAIProgram, AReplaceDeletesTheOldProgramAndItsSamplesAndAClashStopsBeforeSending)
{
    auto run = Transmit(" --program-name 'Breakbeat A'");
    ASSERT_EQ(run.status, 0) << run.err;
    const size_t slices = json::parse(run.out)["samples"].size();
    run = Transmit(" --program-name 'Other' --first-key 60");
    ASSERT_EQ(run.status, 0) << run.err;

    // Same program name: the question, answered no by default.
    run = Transmit(" --program-name 'BREAKBEAT A'");
    EXPECT_EQ(run.status, 3);
    EXPECT_TRUE(Contains(run.err, "A Program named \"BREAKBEAT A\" already exists!")) << run.err;
    // Another program whose slices would take the same sample names.
    run = Transmit(" --program-name 'breakbeat b' --replace");
    EXPECT_EQ(run.status, 3);
    EXPECT_TRUE(Contains(run.err, "A sample named \"BREAKBEAT 01\" already exists!")) << run.err;
    SamplerMemory memory = Read(GetParam());
    EXPECT_EQ(memory.samples.size(), 2 * slices) << "nothing was sent or deleted";
    EXPECT_EQ(memory.programs, (std::vector<std::string>{"BREAKBEAT A", "OTHER"}));

    // The whole loop as one sample under the old name: the old slices go,
    // the other program and its samples stay.
    run = Transmit(" --one-sample --program-name 'Breakbeat A' --first-key 48 --replace");
    ASSERT_EQ(run.status, 0) << run.err;
    const json sent = json::parse(run.out)["samples"];
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0]["name"], "BREAKBEAT A");
    EXPECT_EQ(json::parse(run.out)["program"]["number"], 1) << "made after the program that stayed";
    memory = Read(GetParam(), "BREAKBEAT A");
    EXPECT_EQ(memory.programs, (std::vector<std::string>{"OTHER", "BREAKBEAT A"}));
    ASSERT_EQ(memory.samples.size(), slices + 1);
    for (size_t i = 0; i < slices; ++i)
        EXPECT_EQ(memory.samples[i].substr(0, 6), "OTHER ") << i;
    EXPECT_EQ(memory.samples.back(), "BREAKBEAT A");
    ASSERT_NE(memory.program, nullptr);
    ExpectKeyGroupsFor(*memory.program, sent, 48);
}

TEST_P(CliEmulatedAKAIProgram, TooManySlicesSendNothingUnlessTheFirstOnesWillDo)
{
    // 120 slices: 119 drawn, evenly apart, and the loop's own at sensitivity 0.
    std::string added;
    for (int i = 1; i < 120; ++i)
        added += std::to_string(i * (frames / 120) + 3) + ",";
    added.pop_back();
    const std::string many = "transmit " + loop + " --sensitivity 0 --bars 1 --add " + added + sampler;
    auto run = RunTool("quorvel-cli", many);
    EXPECT_EQ(run.status, 3) << run.err;
    EXPECT_TRUE(Contains(run.err, "You've got 120 slices, but the sampler can only use 92.")) << run.err;
    EXPECT_TRUE(Read(GetParam()).samples.empty());

    run = RunTool("quorvel-cli", many + " --accept-limit --first-key 40");
    ASSERT_EQ(run.status, 0) << run.err;
    const json sent = json::parse(run.out)["samples"];
    EXPECT_EQ(sent.size(), 88u) << "128 keys less 40";
    const SamplerMemory memory = Read(GetParam(), "NEW PROGRAM");
    ASSERT_NE(memory.program, nullptr);
    ExpectKeyGroupsFor(*memory.program, sent, 40);
}

TEST_P(CliEmulatedAKAIProgram, AMissingTemplateNeedsLeaveForTheDefaultsAndAFoundOneIsCopied)
{
    auto run = Transmit(" --template 'NO SUCH'");
    EXPECT_EQ(run.status, 3);
    EXPECT_TRUE(Contains(run.err, "Couldn't retrieve template from the sampler!")) << run.err;
    EXPECT_TRUE(Read(GetParam()).samples.empty());

    run = Transmit(" --template 'NO SUCH' --use-defaults --program-name 'Base'");
    ASSERT_EQ(run.status, 0) << run.err;
    run = Transmit(" --template base --program-name 'Copy'");
    ASSERT_EQ(run.status, 0) << run.err;
    const SamplerMemory base = Read(GetParam(), "BASE");
    const SamplerMemory copy = Read(GetParam(), "COPY");
    ASSERT_NE(base.program, nullptr);
    ASSERT_NE(copy.program, nullptr);
    // Apart from the name, the header is the template's.
    std::vector<uint8_t> expected = base.program->Header().Bytes();
    std::vector<uint8_t> actual = copy.program->Header().Bytes();
    for (int i = akai::CABCAKAIProgramHeader::kNameOffset; i < akai::CABCAKAIProgramHeader::kNameOffset + 12; ++i)
        expected[static_cast<size_t>(i)] = actual[static_cast<size_t>(i)] = 0;
    EXPECT_EQ(actual, expected);

    run = Transmit(" --program-name '   '");
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Contains(run.err, "No Program name specified!")) << run.err;
}

INSTANTIATE_TEST_SUITE_P(BothGenerations, CliEmulatedAKAIProgram,
                         ::testing::Values(Model{4000, "AKAI S1000 via MIDI"}, Model{4100, "AKAI S3000 via MIDI"}),
                         [](const auto& info) { return info.param.typeId == 4000 ? "S1000" : "S3000"; });

} // namespace
} // namespace quorvel
