// Slices to the emulated SMDI samplers on the Loopback SCSI bus and back,
// across runs of the tool (the emulators keep their memory in a folder).
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include <nlohmann/json.hpp>

#include "../common/TempFolder.h"
#include "RunTool.h"
#include "ToolTestFiles.h"
#include "fileformats/PreferencesFile.h"
#include "fileformats/SoundImport.h"
#include "fileformats/WaveFileWriter.h"
#include "framework/FileSpec.h"
#include "framework/SafeFileWriter.h"
#include "loopgen/DrumLoopGenerator.h"

namespace quorvel {
namespace {

using nlohmann::json;
using test::RunTool;
using test::Values;
using test::Contains;
using test::TempFolder;

// A plain SMDI sampler at SCSI id 0 and an E-mu E4K at id 1.
class EmulatedSCSISamplers {
public:
    EmulatedSCSISamplers(const std::string& memory, const char* faults = "")
    {
        ::setenv("QUORVEL_EMULATED_SAMPLERS", "smdi,5121", 1);
        ::setenv("QUORVEL_EMULATOR_DIR", memory.c_str(), 1);
        ::setenv("QUORVEL_EMULATOR_FAULTS", faults, 1);
    }
    ~EmulatedSCSISamplers()
    {
        ::unsetenv("QUORVEL_EMULATED_SAMPLERS");
        ::unsetenv("QUORVEL_EMULATOR_DIR");
        ::unsetenv("QUORVEL_EMULATOR_FAULTS");
    }
};

constexpr const char* kSMDI = " --model smdi --scsi-bus Loopback --scsi-id 0";
constexpr const char* kE4K = " --model 5121 --scsi-bus Loopback --scsi-id 1";
constexpr const char* kDocument = " --sensitivity 99 --bars 1";

std::string ReadText(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The loop, and its slices as the export writes them ("slice #001.wav" ...).
std::string LoopWithSlices(const TempFolder& folder)
{
    const std::string loop = folder / "loop.wav";
    test::WriteDrumLoop(loop);
    const auto run = RunTool("quorvel-cli", "export " + loop + kDocument + " --sound " + (folder / "slice.wav"));
    EXPECT_EQ(run.status, 0) << run.err;
    return loop;
}

TEST(CliEmulatedSMDI, TheBusListsTheEmulatedTargetsAndSlicesComeBackBitExactly)
{
    TempFolder folder;
    const std::string loop = LoopWithSlices(folder);
    const EmulatedSCSISamplers emulators(folder / "memory");

    auto run = RunTool("quorvel-cli", "scsi-buses");
    ASSERT_EQ(run.status, 0) << run.err;
    const json buses = json::parse(run.out)["buses"];
    json loopback;
    for (const json& bus : buses)
        if (bus["name"] == "Loopback")
            loopback = bus;
    ASSERT_FALSE(loopback.is_null()) << run.out;
    EXPECT_EQ(loopback["driver"], "Loopback");
    EXPECT_EQ(loopback["adapter_id"], 7);
    ASSERT_EQ(loopback["targets"].size(), 8u);
    EXPECT_EQ(loopback["targets"][0], "0: \"Quorvel\" \"SMDI Sampler\"");
    EXPECT_EQ(loopback["targets"][1], "1: \"E-mu\" \"Emulator 4K\"");
    EXPECT_EQ(loopback["targets"][2], "2: ???");
    EXPECT_EQ(loopback["targets"][7], "7: Host Adapter");

    run = RunTool("quorvel-cli", "transmit " + loop + kDocument + kSMDI + " --sample-number 10 --trace " +
                                     (folder / "trace.txt"));
    ASSERT_EQ(run.status, 0) << run.err;
    const json sent = json::parse(run.out)["samples"];
    ASSERT_GE(sent.size(), 3u);
    EXPECT_EQ(sent[1]["number"], 11);
    EXPECT_EQ(sent[1]["name"], "loop 02");

    run = RunTool("quorvel-cli", std::string("receive") + kSMDI + " --sample 11 " + (folder / "back.wav"));
    ASSERT_EQ(run.status, 0) << run.err;
    const json got = json::parse(run.out);
    EXPECT_EQ(got["name"], "loop 02");
    EXPECT_EQ(got["frames"], sent[1]["frames"]);
    EXPECT_EQ(Values(folder / "back.wav"), Values(folder / "slice #002.wav"));

    // Every SEND and RECEIVE is in the trace, with the message bytes.
    const std::string trace = ReadText(folder / "trace.txt");
    EXPECT_TRUE(Contains(trace, "\tscsi\tLoopback:0\t0A 00 00 00 ")) << trace.substr(0, 400);
    EXPECT_TRUE(Contains(trace, "\tout\t53 4D 44 49 01 21 00 00 00 00 ")) << "a Sample Header went out";
    EXPECT_TRUE(Contains(trace, "\tin\t53 4D 44 49 01 03 00 00 ")) << "a Send Next Packet came in";

    // A plain SMDI sampler has no directory and too many numbers to walk.
    run = RunTool("quorvel-cli", std::string("list") + kSMDI);
    EXPECT_EQ(run.status, 3);
    EXPECT_TRUE(Contains(run.err, "too many to ask one by one")) << run.err;
}

TEST(CliEmulatedSMDI, AnEmuSamplerIsListedReceivedByNameAndDeletedFrom)
{
    TempFolder folder;
    const std::string loop = LoopWithSlices(folder);
    const EmulatedSCSISamplers emulators(folder / "memory");

    auto run = RunTool("quorvel-cli", "transmit " + loop + kDocument + kE4K);
    ASSERT_EQ(run.status, 0) << run.err;
    const json sent = json::parse(run.out)["samples"];
    ASSERT_GE(sent.size(), 3u);
    EXPECT_EQ(sent[0]["number"], 1) << "E-mu numbers start at 1";

    run = RunTool("quorvel-cli", std::string("list") + kE4K);
    ASSERT_EQ(run.status, 0) << run.err;
    const json listed = json::parse(run.out)["samples"];
    ASSERT_EQ(listed.size(), sent.size());
    EXPECT_EQ(listed[2]["name"], "loop 03");
    EXPECT_EQ(listed[2]["number"], 3);
    EXPECT_EQ(listed[2]["stereo"], false);

    run = RunTool("quorvel-cli", std::string("receive") + kE4K + " --name 'loop 03' " + (folder / "three.aif"));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(json::parse(run.out)["number"], 3);
    EXPECT_EQ(Values(folder / "three.aif"), Values(folder / "slice #003.wav"));

    run = RunTool("quorvel-cli", std::string("delete") + kE4K + " --sample 3");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(json::parse(run.out)["deleted"], 3);
    run = RunTool("quorvel-cli", std::string("receive") + kE4K + " --sample 3 " + (folder / "gone.wav"));
    EXPECT_EQ(run.status, 3);
    EXPECT_TRUE(Contains(run.err, "The specified sample does not exist!")) << run.err;
    run = RunTool("quorvel-cli", std::string("receive") + kE4K + " --name 'loop 03' " + (folder / "gone.wav"));
    EXPECT_EQ(run.status, 3);
    EXPECT_TRUE(Contains(run.err, "no sample is named \"loop 03\"")) << run.err;

    // The target must be the model named.
    run = RunTool("quorvel-cli", "transmit " + loop + kDocument + " --model 5011 --scsi-bus Loopback --scsi-id 1");
    EXPECT_EQ(run.status, 3);
    EXPECT_TRUE(Contains(run.err, "is not an E-mu ESI-4000 via SCSI")) << run.err;
    run = RunTool("quorvel-cli", "transmit " + loop + kDocument + " --model 5121 --scsi-bus Loopback --scsi-id 5");
    EXPECT_EQ(run.status, 3);
    EXPECT_TRUE(Contains(run.err, "does not answer")) << run.err;
    run = RunTool("quorvel-cli", "transmit " + loop + kDocument + " --model smdi --scsi-bus Nowhere --scsi-id 0");
    EXPECT_EQ(run.status, 3);
    EXPECT_TRUE(Contains(run.err, "There is no SCSI bus \"Nowhere\"")) << run.err;
}

TEST(CliEmulatedSMDI, ARefusingOrBusySamplerEndsInTheProgramsAlerts)
{
    TempFolder folder;
    const std::string loop = LoopWithSlices(folder);
    {
        const EmulatedSCSISamplers emulators(folder / "busy", "busy:3");
        const auto run = RunTool("quorvel-cli", "transmit " + loop + kDocument + kSMDI);
        EXPECT_EQ(run.status, 0) << "three busy answers are retried: " << run.err;
    }
    {
        const EmulatedSCSISamplers emulators(folder / "refusing", "reject-header");
        const auto run = RunTool("quorvel-cli", "transmit " + loop + kDocument + kSMDI);
        EXPECT_EQ(run.status, 3);
        EXPECT_TRUE(Contains(run.err, "[Operation rejected by sampler!]")) << run.err;
        EXPECT_TRUE(Contains(run.err, "the sampler refused the sample header")) << run.err;
        EXPECT_TRUE(run.out.empty());
    }
    {
        const EmulatedSCSISamplers emulators(folder / "aborting", "check-condition");
        const auto run = RunTool("quorvel-cli", "transmit " + loop + kDocument + kSMDI);
        EXPECT_EQ(run.status, 3);
        EXPECT_TRUE(Contains(run.err, "[SCSI communication failed!]")) << run.err;
    }
}

TEST(CliEmulatedSMDI, FindReportsTheEmuOnceAndNothingForAModelNotThere)
{
    TempFolder folder;
    const EmulatedSCSISamplers emulators(folder / "memory");
    ::setenv("QUORVEL_CONFIG_DIR", (folder / "config").c_str(), 1);
    auto run = RunTool("quorvel-cli", "find");
    ASSERT_EQ(run.status, 0) << run.err;
    const json found = json::parse(run.out)["found"];
    ASSERT_EQ(found.size(), 1u) << "the plain SMDI sampler is no model of the table";
    EXPECT_EQ(found[0]["type"], 5121);
    EXPECT_EQ(found[0]["scsi_bus"], "Loopback");
    EXPECT_EQ(found[0]["scsi_id"], 1);
    EXPECT_EQ(found[0]["os"], "4.70");
    EXPECT_EQ(found[0]["double"], "");

    run = RunTool("quorvel-cli", "find --model 'E-mu ESI-32 via SCSI'");
    EXPECT_EQ(run.status, 3);
    EXPECT_TRUE(Contains(run.err, "No sampler of type \"E-mu ESI-32 via SCSI\" was found.")) << run.err;
    ::unsetenv("QUORVEL_CONFIG_DIR");
}

TEST(CliEmulatedSMDI, AnInstalledSamplerIsNamedByItsNameInTheSettings)
{
    TempFolder folder;
    const std::string loop = LoopWithSlices(folder);
    const EmulatedSCSISamplers emulators(folder / "memory");
    SPreferences preferences;
    CPersistentInstalledSampler e4k;
    e4k.modelTypeId = 5121;
    e4k.modelName = "E-mu E4K via SCSI";
    e4k.userName = "My E4K";
    e4k.scsiBus = {"Loopback", "Loopback"};
    e4k.scsiId = 1;
    e4k.versionKnown = true;
    e4k.osVersion = {4, 70, 0};
    preferences.samplers.push_back(e4k);
    ::setenv("QUORVEL_CONFIG_DIR", (folder / "config").c_str(), 1);
    SavePreferences(PreferencesFile(), preferences);
    const std::string before = ReadText(PreferencesFile().FullPath());

    auto run = RunTool("quorvel-cli", "samplers");
    ASSERT_EQ(run.status, 0) << run.err;
    const json report = json::parse(run.out);
    EXPECT_EQ(report["models"].size(), 40u); // the table and the two destinations added after it
    ASSERT_EQ(report["installed"].size(), 1u);
    EXPECT_EQ(report["installed"][0]["name"], "My E4K");
    EXPECT_EQ(report["installed"][0]["scsi_bus"], "Loopback");
    EXPECT_EQ(report["installed"][0]["os"], "4.70");
    for (const json& model : report["models"]) {
        // Every hardware model of the table is spoken; the software destinations are not samplers.
        EXPECT_EQ(model["usable"], model["transport"] != "none") << model["name"];
        if (model["type"] == 5121) {
            EXPECT_EQ(model["name"], "E-mu E4K via SCSI");
            EXPECT_EQ(model["transport"], "SCSI");
        }
    }

    run = RunTool("quorvel-cli", "transmit " + loop + kDocument + " --sampler 'My E4K'");
    ASSERT_EQ(run.status, 0) << run.err;
    run = RunTool("quorvel-cli", "receive --sampler 'My E4K' --sample 2 " + (folder / "two.wav"));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Values(folder / "two.wav"), Values(folder / "slice #002.wav"));
    EXPECT_EQ(ReadText(PreferencesFile().FullPath()), before) << "the tool never writes the preferences";

    // The file the program could not read either is refused, and left alone.
    std::ofstream(PreferencesFile().FullPath(), std::ios::trunc) << "not a preferences file";
    run = RunTool("quorvel-cli", "list --sampler 'My E4K'");
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(Contains(run.err, "cannot be read")) << run.err;
    EXPECT_EQ(ReadText(PreferencesFile().FullPath()), "not a preferences file");
    ::unsetenv("QUORVEL_CONFIG_DIR");
}

} // namespace
} // namespace quorvel
