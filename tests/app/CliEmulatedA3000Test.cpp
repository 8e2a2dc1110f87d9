// The demo loop to the emulated Yamaha A3000s through the command-line tool,
// over MIDI and over MIDI and SCSI: one sample per slice and a sample bank
// listing them, every slice received back bit-exactly, the bank read back
// through the program's own interface, and a second bank of the same name
// refused before anything is sent.
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
#include "framework/FileSpec.h"
#include "samplers/SamplerBrands.h"
#include "samplers/yamaha/A3000Interface.h"

namespace quorvel {
namespace {

using nlohmann::json;
using test::RunTool;
using test::Values;
using test::Contains;
using test::TempFolder;

struct Model {
    uint32_t typeId;
    std::string port; // the emulator's ports, their names cut to 32 characters
    bool scsi;
};

void PrintTo(const Model& model, std::ostream* out) { *out << model.typeId; }

// The bank as the emulated sampler keeps it, read through the program's
// interface on emulators started from the same memory folder.
a3000::CA3000SampleBank ReadBank(const Model& model, const std::string& name)
{
    CMIDIPortLists ports;
    CSCSIBusRegistry buses;
    const std::unique_ptr<CEmulatedSamplers> emulators = StartEmulatedSamplersFromEnvironment(ports, buses);
    CPersistentInstalledSampler record;
    record.modelTypeId = model.typeId;
    record.midiIn = {model.port, "Loopback"};
    record.midiOut = {model.port, "Loopback"};
    record.scsiBus = {"Loopback", "Loopback"};
    record.scsiId = 0;
    const std::unique_ptr<CABCSamplerInterface> device = CreateSamplerInterface(record, SSamplerDevices{ports, buses});
    return dynamic_cast<CABCA3000Interface&>(*device).GetSampleBank(name);
}

class CliEmulatedA3000 : public ::testing::TestWithParam<Model> {
protected:
    void SetUp() override
    {
        ::setenv("QUORVEL_EMULATED_SAMPLERS", std::to_string(GetParam().typeId).c_str(), 1);
        ::setenv("QUORVEL_EMULATOR_DIR", (folder / "memory").c_str(), 1);
        sampler = " --model " + std::to_string(GetParam().typeId) + " --midi-in '" + GetParam().port +
                  "' --midi-out '" + GetParam().port + "'" +
                  (GetParam().scsi ? " --scsi-bus Loopback --scsi-id 0" : "");
    }
    void TearDown() override
    {
        ::unsetenv("QUORVEL_EMULATED_SAMPLERS");
        ::unsetenv("QUORVEL_EMULATOR_DIR");
    }

    TempFolder folder;
    const std::string loop = std::string(QUORVEL_SOURCE_DIR) + "/examples/demo-loop.wav";
    const std::string document = " --sensitivity 99 --bars 1";
    std::string sampler;
};

TEST_P(CliEmulatedA3000, TheDemoLoopBecomesABankAndEverySliceComesBackBitExactly)
{
    auto run = RunTool("quorvel-cli", "export " + loop + document + " --sound " + (folder / "slice.wav"));
    ASSERT_EQ(run.status, 0) << run.err;
    run = RunTool("quorvel-cli", "transmit " + loop + document + sampler + " --bank-name Breaks");
    ASSERT_EQ(run.status, 0) << run.err;
    const json report = json::parse(run.out);
    const json sent = report["samples"];
    ASSERT_GE(sent.size(), 3u);
    EXPECT_EQ(sent[1]["name"], "Breaks 02");
    EXPECT_EQ(report["bank"]["name"], "Breaks");
    EXPECT_EQ(report["bank"]["members"], sent.size());

    run = RunTool("quorvel-cli", "list" + sampler);
    ASSERT_EQ(run.status, 0) << run.err;
    const json listed = json::parse(run.out)["samples"];
    ASSERT_EQ(listed.size(), sent.size());
    for (size_t k = 0; k < sent.size(); ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(listed[k]["name"], sent[k]["name"]);
        EXPECT_EQ(listed[k]["number"], sent[k]["number"]);
        char file[32];
        std::snprintf(file, sizeof file, "slice #%03zu.wav", k + 1);
        const std::string back = folder / ("back" + std::to_string(k) + ".wav");
        run = RunTool("quorvel-cli", "receive" + sampler + " --sample " + std::to_string(k) + " " + back);
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(Values(back), Values(folder / file));
    }

    const a3000::CA3000SampleBank bank = ReadBank(GetParam(), "Breaks");
    ASSERT_EQ(bank.members.size(), sent.size());
    for (size_t k = 0; k < sent.size(); ++k) {
        EXPECT_EQ(bank.members[k].name, sent[k]["name"].get<std::string>());
        EXPECT_EQ(bank.members[k].keyLow, 36 + k);
    }

    run = RunTool("quorvel-cli", "transmit " + loop + document + sampler + " --bank-name Breaks");
    EXPECT_EQ(run.status, 3);
    EXPECT_TRUE(Contains(run.err, "A Sample Bank named \"Breaks\" already exists")) << run.err;
    run = RunTool("quorvel-cli", "list" + sampler);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(json::parse(run.out)["samples"].size(), sent.size()) << "nothing more was sent";
}

TEST_P(CliEmulatedA3000, DeletingTakesTheSCSISideOnlyAndAnUnknownSampleIsRefused)
{
    auto run = RunTool("quorvel-cli", "transmit " + loop + sampler + " --bank-name One");
    ASSERT_EQ(run.status, 0) << run.err;
    if (!GetParam().scsi) {
        // A wave dump under another name, or with a bad first block, is refused.
        for (const auto& [fault, failure] : std::vector<std::pair<std::string, std::string>>{
                 {"wrong-name", "XA3000ReceivedInvalidSysex"},
                 {"bad-checksum:0", "XA3000ChecksumIncorrect"},
                 {"bad-checksum:1", "XA3000ChecksumIncorrect"}}) {
            ::setenv("QUORVEL_EMULATOR_FAULTS", fault.c_str(), 1);
            run = RunTool("quorvel-cli", "receive" + sampler + " --sample 0 " + (folder / "bad.wav"));
            EXPECT_EQ(run.status, 3) << fault;
            EXPECT_TRUE(Contains(run.err, failure)) << fault << ": " << run.err;
        }
        ::unsetenv("QUORVEL_EMULATOR_FAULTS");
    }
    run = RunTool("quorvel-cli", "receive" + sampler + " --sample 5 " + (folder / "none.wav"));
    EXPECT_EQ(run.status, 3) << run.err;
    run = RunTool("quorvel-cli", "delete" + sampler + " --sample 0");
    if (!GetParam().scsi) {
        EXPECT_EQ(run.status, 3) << "no dump deletes an object";
        return;
    }
    ASSERT_EQ(run.status, 0) << run.err;
    run = RunTool("quorvel-cli", "list" + sampler);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(json::parse(run.out)["samples"].empty());
}

INSTANTIATE_TEST_SUITE_P(Models, CliEmulatedA3000,
                         ::testing::Values(Model{6000, "Emulated Yamaha A3000 via MIDI", false},
                                           Model{6002, "Emulated A3000 via MIDI+SCSI", true}));

} // namespace
} // namespace quorvel
