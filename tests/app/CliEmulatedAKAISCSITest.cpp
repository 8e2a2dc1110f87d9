// A loop to the emulated S3000XL on the Loopback SCSI bus through the
// command-line tool: the slices arrive named and as a program of one
// keygroup per slice, the sampler lists them, and a slice longer than one
// packet of words comes back bit-exactly.
#include <gtest/gtest.h>

#include <cstdlib>

#include <nlohmann/json.hpp>

#include "../common/TempFolder.h"
#include "RunTool.h"
#include "ToolTestFiles.h"
#include "devices/emulated/EmulatedSamplers.h"
#include "devices/scsi/SCSIBusRegistry.h"
#include "fileformats/PreferenceObjects.h"
#include "fileformats/SoundImport.h"
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
using test::Values;
using test::TempFolder;

TEST(CliEmulatedAKAISCSI, TheSlicesGoAsAProgramOverSCSIAndComeBackBitExactly)
{
    TempFolder folder;
    const std::string loop = folder / "loop.wav";
    test::WriteDrumLoop(loop);
    const std::string document = " --sensitivity 99 --bars 1";
    auto run = RunTool("quorvel-cli", "export " + loop + document + " --sound " + (folder / "slice.wav"));
    ASSERT_EQ(run.status, 0) << run.err;
    ::setenv("QUORVEL_EMULATED_SAMPLERS", "4151", 1);
    ::setenv("QUORVEL_EMULATOR_DIR", (folder / "memory").c_str(), 1);
    const std::string sampler = " --model 4151 --scsi-bus Loopback --scsi-id 0";

    run = RunTool("quorvel-cli", "transmit " + loop + document + sampler);
    ASSERT_EQ(run.status, 0) << run.err;
    const json report = json::parse(run.out);
    const json sent = report["samples"];
    ASSERT_GE(sent.size(), 3u);
    EXPECT_EQ(sent[2]["name"], "NEW PROGR 03");
    EXPECT_EQ(report["program"]["name"], "NEW PROGRAM");
    EXPECT_EQ(report["program"]["keygroups"], sent.size());

    run = RunTool("quorvel-cli", "list" + sampler);
    ASSERT_EQ(run.status, 0) << run.err;
    const json listed = json::parse(run.out)["samples"];
    ASSERT_EQ(listed.size(), sent.size());
    EXPECT_EQ(listed[2]["name"], "NEW PROGR 03");

    // The longest slice, so that more than one packet of words travels.
    size_t longest = 0;
    for (size_t i = 0; i < sent.size(); ++i)
        if (sent[i]["frames"].get<int>() > sent[longest]["frames"].get<int>())
            longest = i;
    ASSERT_GT(sent[longest]["frames"].get<int>(), 8192);
    char slice[32];
    std::snprintf(slice, sizeof slice, "slice #%03zu.wav", longest + 1);
    run = RunTool("quorvel-cli", "receive" + sampler + " --name '" + sent[longest]["name"].get<std::string>() + "' " +
                                     (folder / "back.wav") + " --force");
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<int16_t> back = Values(folder / "back.wav");
    EXPECT_EQ(back.size(), sent[longest]["frames"].get<size_t>());
    EXPECT_EQ(back, Values(folder / slice));

    // The program, read with the program's own AKAI interface on an emulator
    // started from the same memory folder.
    {
        CMIDIPortLists ports;
        CSCSIBusRegistry buses;
        const std::unique_ptr<CEmulatedSamplers> emulators = StartEmulatedSamplersFromEnvironment(ports, buses);
        CPersistentInstalledSampler record;
        record.modelTypeId = 4151;
        record.scsiBus = {"Loopback", "Loopback"};
        record.scsiId = 0;
        std::unique_ptr<CABCSamplerInterface> device = CreateSamplerInterface(record, SSamplerDevices{ports, buses});
        auto& akai = dynamic_cast<CABCAKAIInterface&>(*device);
        ASSERT_EQ(akai.ProgramNames(), (std::vector<std::string>{"NEW PROGRAM"}));
        EXPECT_EQ(akai.SampleNames().size(), sent.size());
        const std::unique_ptr<akai::CAKAIProgram> program = akai.GetProgram(0);
        ASSERT_NE(program, nullptr);
        ASSERT_EQ(program->KeyGroups().size(), sent.size());
        EXPECT_EQ(program->Header().KeyGroupCount(), sent.size());
        for (size_t k = 0; k < sent.size(); ++k) {
            const akai::CABCAKAIKeyGroup& group = *program->KeyGroups()[k];
            EXPECT_EQ(group.LowNote(), 36 + static_cast<int>(k)) << k;
            EXPECT_EQ(group.HighNote(), 36 + static_cast<int>(k)) << k;
            EXPECT_EQ(group.ZoneSample(0), sent[k]["name"].get<std::string>()) << k;
        }
    }
    ::unsetenv("QUORVEL_EMULATED_SAMPLERS");
    ::unsetenv("QUORVEL_EMULATOR_DIR");
}

} // namespace
} // namespace quorvel
