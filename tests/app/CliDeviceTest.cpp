// The tool's device commands, run as a user would run them. Without an
// emulated sampler there is no device to reach, so these cover the ports
// report, the options, and every refusal that comes before any waiting.
#include <gtest/gtest.h>

#include <cstdlib>

#include <filesystem>
#include <fstream>

#include <nlohmann/json.hpp>

#include "../common/TempFolder.h"
#include "RunTool.h"
#include "ToolTestFiles.h"

namespace quorvel {
namespace {

using nlohmann::json;
using test::RunTool;
using test::Contains;
using test::TempFolder;

TEST(CliDevices, MidiPortsReportsEveryPortWithItsDriver)
{
    TempFolder folder;
    const auto run = RunTool("quorvel-cli", "midi-ports --trace " + (folder / "trace.txt"));
    ASSERT_EQ(run.status, 0) << run.err;
    const json report = json::parse(run.out);
    ASSERT_TRUE(report["inputs"].is_array());
    ASSERT_TRUE(report["outputs"].is_array());
    for (const char* side : {"inputs", "outputs"}) {
        for (const json& port : report[side]) {
            EXPECT_TRUE(port["name"].is_string());
            EXPECT_TRUE(port["driver"] == "ALSA" || port["driver"] == "Loopback") << port.dump();
        }
    }
    EXPECT_TRUE(std::filesystem::exists(folder / "trace.txt")) << "--trace opens the trace";
}

TEST(CliDevices, TheSamplerMustBeNamedAsTheToolCanReachIt)
{
    TempFolder folder;
    const std::string loop = folder / "loop.wav";
    ::setenv("QUORVEL_CONFIG_DIR", (folder / "config").c_str(), 1); // no installed samplers
    struct Case {
        std::string arguments;
        int status;
        std::string says;
    };
    const Case cases[] = {
        {"transmit " + loop + " --midi-in A --midi-out B", 1, "--model sds"},
        {"transmit " + loop + " --sampler Mine", 1, "no installed sampler has that name"},
        {"transmit " + loop + " --sampler Mine --model sds", 1, "leave out --model"},
        {"transmit " + loop + " --model 3000 --midi-in A --midi-out B --first-key 40", 1, "from key 36"},
        {"transmit " + loop + " --model 2000 --midi-in A --midi-out B --first-key 40", 1, "from C2 (key 36) up"},
        {"transmit " + loop + " --model 2000 --midi-in A --midi-out B --sysex-id 32", 1, "0 to 31"},
        {"transmit " + loop + " --model 2000 --midi-in A --midi-out B --sample-number 3", 1, "numbers new samples"},
        {"transmit " + loop + " --model 4100 --midi-in A", 1, "--midi-out PORT"},
        {"transmit " + loop + " --model 4151 --midi-in A --midi-out B", 1, "--scsi-bus BUS and --scsi-id N"},
        {"transmit " + loop + " --model 4151 --scsi-bus Loopback --scsi-id 0 --sample-number 0", 1,
         "numbers new samples itself"},
        {"transmit " + loop + " --model 9999 --midi-in A --midi-out B", 1, "no such model"},
        {"transmit " + loop + " --model 1 --midi-in A --midi-out B", 1, "New Window is not a hardware sampler"},
        {"transmit " + loop + " --model smdi --scsi-bus Loopback", 1, "--scsi-id"},
        {"transmit " + loop + " --model \"E-mu E4K via SCSI\" --scsi-id 0", 1, "--scsi-bus"},
        {"transmit " + loop + " --model 5121 --scsi-bus Loopback --scsi-id 0 --sample-number 0", 1, "from 1 to 999"},
        {"delete --model sds --midi-in A --midi-out B --sample 16384", 1, "16384"},
        {"transmit " + loop + " --model sds --midi-in A", 1, "--midi-out"},
        {"transmit " + loop + " --model sds --midi-in A --midi-out B --sample-number 16384", 1, "16384"},
        {"transmit " + loop + " --model sds --midi-in A --midi-out B --sysex-id 128", 1, "128"},
        {"receive " + (folder / "x.wav") + " --model sds --midi-in A --midi-out B", 1, "--sample N"},
        {"receive " + (folder / "x.mp3") + " --model sds --midi-in A --midi-out B --sample 1", 1, ".wav or .aif"},
        {"receive " + (folder / "x.wav") + " --model sds --midi-in A --midi-out B --channel both --sample 1", 1,
         "both"},
        {"list --model sds --midi-in A --midi-out B", 3, "cannot list its samples"},
        {"list --midi-in A --midi-out B", 1, "--model sds"},
        {"receive " + (folder / "x.wav") + " --model sds --midi-in A --midi-out B --name Kick", 3,
         "has no sample names"},
        {"transmit " + loop + " --model sds --midi-in A --midi-out B --trace " + (folder / "no/such/trace.txt"), 1,
         "--trace"},
    };
    for (const Case& c : cases) {
        const auto run = RunTool("quorvel-cli", c.arguments);
        EXPECT_EQ(run.status, c.status) << c.arguments << "\n" << run.err;
        EXPECT_TRUE(Contains(run.err, c.says)) << c.arguments << "\n" << run.err;
        EXPECT_TRUE(run.out.empty()) << c.arguments;
    }
    ::unsetenv("QUORVEL_CONFIG_DIR");
}

TEST(CliDevices, RefusalsBeforeAnyDeviceIsReached)
{
    TempFolder folder;
    // The input is refused first, with the program's own text.
    auto run = RunTool("quorvel-cli", "transmit " + (folder / "missing.wav") + " --model sds --midi-in A --midi-out B");
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(Contains(run.err, "Couldn't load sound file")) << run.err;

    // A receive never replaces a file unasked.
    { std::ofstream(folder / "kept.wav") << "mine"; }
    run = RunTool("quorvel-cli", "receive " + (folder / "kept.wav") + " --model sds --midi-in A --midi-out B --sample 1");
    EXPECT_EQ(run.status, 3);
    EXPECT_TRUE(Contains(run.err, "--force")) << run.err;
    std::ifstream kept(folder / "kept.wav");
    std::string text;
    kept >> text;
    EXPECT_EQ(text, "mine");

    // A port that is not registered gets the program's port alert.
    run = RunTool("quorvel-cli", "receive " + (folder / "new.aif") +
                                     " --model sds --midi-in 'No Such Port' --midi-out B --sample 1");
    EXPECT_EQ(run.status, 3);
    EXPECT_TRUE(Contains(run.err, "Can't open MIDI in port \"No Such Port\"!")) << run.err;
    EXPECT_FALSE(std::filesystem::exists(folder / "new.aif"));
}

TEST(CliDevices, HelpDocumentsTheDeviceCommands)
{
    auto run = RunTool("quorvel-cli", "--help");
    EXPECT_EQ(run.status, 0);
    for (const char* command : {"midi-ports", "list", "transmit", "receive"})
        EXPECT_TRUE(Contains(run.out, command)) << command;
    run = RunTool("quorvel-cli", "transmit --help");
    for (const char* option : {"--model", "--midi-in", "--midi-out", "--sysex-id", "--sample-number", "--one-sample",
                               "--normalize", "--accept-limit", "--trace", "Exit status"})
        EXPECT_TRUE(Contains(run.out, option)) << option;
    run = RunTool("quorvel-cli", "receive --help");
    for (const char* option : {"--sample", "--name", "--channel", "--force", "--trace"})
        EXPECT_TRUE(Contains(run.out, option)) << option;
}

} // namespace
} // namespace quorvel
