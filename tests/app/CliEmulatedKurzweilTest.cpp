// The emulated Kurzweils through the command-line tool, a K2000 over MIDI
// (sample data by the sample dump) and a K2500 over MIDI+SCSI (by SMDI): the
// list shows the sound blocks by id, one comes back by name bit-exactly, a
// deleted one is gone; installed ones tell their version.
#include <gtest/gtest.h>

#include <cstdlib>

#include <nlohmann/json.hpp>

#include "../common/TempFolder.h"
#include "RunTool.h"
#include "devices/emulated/EmulatedSamplers.h"
#include "devices/scsi/SCSIBusRegistry.h"
#include "fileformats/PreferenceObjects.h"
#include "fileformats/SoundImport.h"
#include "fileformats/WaveFileWriter.h"
#include "framework/FileSpec.h"
#include "framework/SafeFileWriter.h"
#include "loopgen/DrumLoopGenerator.h"
#include "samplers/SamplerBrands.h"

namespace quorvel {
namespace {

using nlohmann::json;
using test::RunTool;
using test::TempFolder;

std::vector<int16_t> Values(const std::string& path)
{
    const auto sound = LoadSound(CFileSpec(path), ChannelMode::Mix);
    std::vector<int16_t> values;
    for (int32_t i = 0; i < sound->Length(); ++i)
        values.push_back(sound->Value(i));
    return values;
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

struct Model {
    std::string name;
    std::string port;
    std::string scsi; // the target options of a MIDI+SCSI row
};

class CliEmulatedKurzweil : public ::testing::TestWithParam<Model> {};

TEST_P(CliEmulatedKurzweil, TheSoundBlocksAreListedReceivedByNameAndDeleted)
{
    TempFolder folder;
    const std::string loop = folder / "loop.wav";
    const loopgen::GeneratedLoop generated = loopgen::GenerateDrumLoop(loopgen::LoopSpec{});
    SafeWrite(CFileSpec(loop), [&](CMedia& media) {
        WriteWaveFile(media, generated.samples.data(), generated.frames, generated.channels, generated.sampleRate);
    });
    const std::string document = " --sensitivity 99 --bars 1";
    auto run = RunTool("quorvel-cli", "export " + loop + document + " --sound " + (folder / "slice.wav"));
    ASSERT_EQ(run.status, 0) << run.err;
    ::setenv("QUORVEL_EMULATED_SAMPLERS", "1000,1012", 1);
    ::setenv("QUORVEL_EMULATOR_DIR", (folder / "memory").c_str(), 1);

    const Model& model = GetParam();
    const std::string port = "'" + model.port + "'";
    const std::string sampler = " --model '" + model.name + "' --midi-in " + port + " --midi-out " + port + model.scsi;
    run = RunTool("quorvel-cli", "transmit " + loop + document + sampler + " --program-id 5 --use-defaults");
    ASSERT_EQ(run.status, 0) << run.err;
    const json sent = json::parse(run.out)["samples"];
    ASSERT_GE(sent.size(), 3u);

    run = RunTool("quorvel-cli", "list" + sampler);
    ASSERT_EQ(run.status, 0) << run.err;
    const json listed = json::parse(run.out)["samples"];
    ASSERT_EQ(listed.size(), sent.size()) << "the sound blocks only, not the keymap or program";
    EXPECT_EQ(listed[2]["name"], sent[2]["name"]);
    EXPECT_EQ(listed[2]["number"], sent[2]["number"]);

    const std::string back = folder / "back.wav";
    run = RunTool("quorvel-cli", "receive" + sampler + " --name '" + sent[2]["name"].get<std::string>() + "' " + back);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(json::parse(run.out)["rate"], 44100);
    EXPECT_EQ(Values(back), Values(folder / "slice #003.wav"));

    const std::string second = std::to_string(sent[1]["number"].get<int>());
    run = RunTool("quorvel-cli", "delete" + sampler + " --sample " + second);
    ASSERT_EQ(run.status, 0) << run.err;
    run = RunTool("quorvel-cli", "list" + sampler);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(json::parse(run.out)["samples"].size(), sent.size() - 1);
    run = RunTool("quorvel-cli", "receive" + sampler + " --sample " + second + " " + (folder / "gone.wav"));
    EXPECT_EQ(run.status, 3);
    run = RunTool("quorvel-cli", "delete" + sampler + " --sample 1000");
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Contains(run.err, "from 1 to 999")) << run.err;
    ::unsetenv("QUORVEL_EMULATED_SAMPLERS");
    ::unsetenv("QUORVEL_EMULATOR_DIR");
}

INSTANTIATE_TEST_SUITE_P(
    BothTransports, CliEmulatedKurzweil,
    ::testing::Values(Model{"Kurzweil K2000 via MIDI", "Emulated Kurzweil K2000 via MIDI", ""},
                      Model{"1012", "Emulated K2500 via MIDI+SCSI", " --scsi-bus Loopback --scsi-id 0"}),
    [](const auto& info) { return info.param.scsi.empty() ? "K2000OverMIDI" : "K2500OverMIDIAndSCSI"; });

TEST(EmulatedKurzweil, InstalledOnesTellTheirVersionAndTalkAsTheirModel)
{
    ::setenv("QUORVEL_EMULATED_SAMPLERS", "1000,1012", 1);
    ::unsetenv("QUORVEL_EMULATOR_DIR");
    CMIDIPortLists ports;
    CSCSIBusRegistry buses;
    const std::unique_ptr<CEmulatedSamplers> emulators = StartEmulatedSamplersFromEnvironment(ports, buses);
    ::unsetenv("QUORVEL_EMULATED_SAMPLERS");
    const auto installed = [](uint32_t typeId, const std::string& port) {
        CPersistentInstalledSampler record;
        record.modelTypeId = typeId;
        record.midiIn = {port, "Loopback"};
        record.midiOut = {port, "Loopback"};
        record.scsiBus = {"Loopback", "Loopback"};
        record.scsiId = 0;
        return record;
    };
    const SSamplerDevices devices{ports, buses};
    EXPECT_TRUE(SamplerBrandBuilt(1000) && SamplerBrandBuilt(1002) && SamplerBrandBuilt(1010) && SamplerBrandBuilt(1012));
    CVersion version;
    ASSERT_TRUE(ReadOSVersion(installed(1000, "Emulated Kurzweil K2000 via MIDI"), devices, version));
    EXPECT_EQ(version.major, 3);
    EXPECT_EQ(version.minor, 1);
    ASSERT_TRUE(ReadOSVersion(installed(1012, "Emulated K2500 via MIDI+SCSI"), devices, version));
    EXPECT_EQ(version.minor, 80);
    // A K2500 is not the K2000 it is installed as.
    EXPECT_FALSE(ReadOSVersion(installed(1000, "Emulated K2500 via MIDI+SCSI"), devices, version));

    const auto k2500 = CreateSamplerInterface(installed(1012, "Emulated K2500 via MIDI+SCSI"), devices);
    SamplerCapabilities capabilities;
    k2500->GetCapabilities(capabilities);
    EXPECT_STREQ(capabilities.protocolName, "Kurzweil K2500");
    EXPECT_EQ(k2500->GetSampleList(0, 0)->Count(), 0);
}

} // namespace
} // namespace quorvel
