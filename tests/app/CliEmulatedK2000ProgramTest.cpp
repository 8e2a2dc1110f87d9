// The demo loop to the emulated Kurzweils through the command-line tool: the
// K2000 over MIDI and the K2500 with its sample data over SCSI. The keymap is
// read back through the program side's own interface, and every slice comes
// back bit-exactly; the questions the options answer stop the job before
// anything is sent.
#include <gtest/gtest.h>

#include <cstdlib>

#include <nlohmann/json.hpp>

#include "../common/TempFolder.h"
#include "RunTool.h"
#include "devices/emulated/EmulatedSamplers.h"
#include "devices/scsi/SCSIBusRegistry.h"
#include "fileformats/PreferenceObjects.h"
#include "fileformats/SoundImport.h"
#include "framework/FileSpec.h"
#include "samplers/SamplerBrands.h"
#include "samplers/kurzweil/K2000Interface.h"
#include "samplers/kurzweil/K2000Keymap.h"
#include "samplers/kurzweil/K2000Program.h"
#include "samplers/kurzweil/KurzweilExceptions.h"

namespace quorvel {
namespace {

using nlohmann::json;
using test::RunTool;
using test::TempFolder;

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

std::vector<int16_t> Values(const std::string& path)
{
    const auto sound = LoadSound(CFileSpec(path), ChannelMode::Mix);
    std::vector<int16_t> values;
    for (int32_t i = 0; i < sound->Length(); ++i)
        values.push_back(sound->Value(i));
    return values;
}

struct Model {
    uint32_t typeId;
    std::string port; // the emulator's MIDI ports
    bool scsi;
};

void PrintTo(const Model& model, std::ostream* out) { *out << model.port; }

// The program and its keymap, read with the program's own interface on emulators started from
// the same memory folder; nothing when the program is not there.
struct ReadBack {
    std::optional<CK2000Program> program;
    std::optional<CK2000Keymap> keymap;
};

ReadBack Read(const Model& model, uint16_t programId)
{
    CMIDIPortLists ports;
    CSCSIBusRegistry buses;
    const std::unique_ptr<CEmulatedSamplers> emulators = StartEmulatedSamplersFromEnvironment(ports, buses);
    CPersistentInstalledSampler record;
    record.modelTypeId = model.typeId;
    const std::string port = model.port;
    record.midiIn = {port, "Loopback"};
    record.midiOut = {port, "Loopback"};
    record.scsiBus.device = "Loopback";
    std::unique_ptr<CABCSamplerInterface> device = CreateSamplerInterface(record, SSamplerDevices{ports, buses});
    CABCKurzweilObjectProtocol& objects = dynamic_cast<CABCK2000Interface&>(*device).Objects();
    ReadBack back;
    try {
        CK2000Program program(programId);
        objects.Read(program, 4000);
        back.program = program;
        CK2000Keymap keymap(CK2000Program::KeymapOf(program.Layers().front()));
        objects.Read(keymap, 4000);
        back.keymap = keymap;
    } catch (const XKurzweilObjectNotFound&) {
    }
    return back;
}

class CliEmulatedK2000Program : public ::testing::TestWithParam<Model> {
protected:
    void SetUp() override
    {
        ::setenv("QUORVEL_EMULATED_SAMPLERS", std::to_string(GetParam().typeId).c_str(), 1);
        ::setenv("QUORVEL_EMULATOR_DIR", (folder / "memory").c_str(), 1);
        const std::string port = "'" + GetParam().port + "'";
        sampler = " --model " + std::to_string(GetParam().typeId) + " --midi-in " + port + " --midi-out " + port;
        if (GetParam().scsi)
            sampler += " --scsi-bus Loopback --scsi-id 0";
    }
    void TearDown() override
    {
        ::unsetenv("QUORVEL_EMULATED_SAMPLERS");
        ::unsetenv("QUORVEL_EMULATOR_DIR");
    }

    test::ToolRun Transmit(const std::string& options)
    {
        return RunTool("quorvel-cli", "transmit " + loop + document + sampler + options);
    }

    TempFolder folder;
    const std::string loop = std::string(QUORVEL_SOURCE_DIR) + "/examples/demo-loop.wav";
    const std::string document = " --bars 2 --sensitivity 99";
    std::string sampler;
};

TEST_P(CliEmulatedK2000Program, TheDemoLoopBecomesAPlayableProgramAndEverySliceComesBackBitExactly)
{
    auto run = RunTool("quorvel-cli", "export " + loop + document + " --sound " + (folder / "slice.wav"));
    ASSERT_EQ(run.status, 0) << run.err;
    run = Transmit(" --program-id 321 --program-name 'Demo Beat' --first-key 48 --use-defaults");
    ASSERT_EQ(run.status, 0) << run.err;
    const json report = json::parse(run.out);
    const json sent = report["samples"];
    ASSERT_GE(sent.size(), 3u);
    EXPECT_EQ(report["program"]["id"], 321);
    EXPECT_EQ(report["program"]["name"], "Demo Beat");
    EXPECT_EQ(report["keymap"]["id"], 321);
    ASSERT_EQ(report["keymap"]["keys"].size(), sent.size());

    const ReadBack back = Read(GetParam(), 321);
    ASSERT_TRUE(back.program && back.keymap);
    EXPECT_EQ(back.program->Name(), "Demo Beat");
    EXPECT_EQ(CK2000Program::KeyRange(back.program->Layers().front()), (std::pair<uint8_t, uint8_t>{0, 127}));
    const CK2000Keymap::Table& table = back.keymap->LevelTable(CK2000Keymap::kSliceLevel);
    for (int key = 12; key < 128; ++key) {
        const size_t k = static_cast<size_t>(key - 48);
        const uint16_t expected = key >= 48 && k < sent.size() ? sent[k]["number"].get<uint16_t>() : 0;
        EXPECT_EQ(table.at(static_cast<size_t>(back.keymap->EntryIndexOfKey(key))).soundBlock, expected) << key;
    }

    for (size_t k = 0; k < sent.size(); ++k) {
        EXPECT_EQ(sent[k]["number"].get<int>() / 100, 3) << "reserved from the program's bank";
        const std::string out = folder / ("back" + std::to_string(k) + ".wav");
        run = RunTool("quorvel-cli", "receive" + sampler + " --sample " + std::to_string(sent[k]["number"].get<int>()) +
                                         " " + out);
        ASSERT_EQ(run.status, 0) << run.err;
        char slice[32];
        std::snprintf(slice, sizeof slice, "slice #%03zu.wav", k + 1);
        EXPECT_EQ(Values(out), Values(folder / slice)) << k;
    }
}

TEST_P(CliEmulatedK2000Program, UnansweredQuestionsSendNothingAndAProgramCanBeItsOwnTemplate)
{
    for (const auto& [options, alert] : std::vector<std::pair<std::string, std::string>>{
             {" --program-name X", "No destination program ID specified!"},
             {" --program-id 300", "No template program specified!"},
             {" --program-id 300 --template 'No Such'", "The specified template program does not exist!"}}) {
        const auto run = Transmit(options);
        EXPECT_NE(run.status, 0);
        EXPECT_TRUE(Contains(run.err, alert)) << run.err;
    }
    EXPECT_FALSE(Read(GetParam(), 300).program);

    auto run = Transmit(" --program-id 300 --use-defaults");
    ASSERT_EQ(run.status, 0) << run.err;
    const json first = json::parse(run.out)["samples"];
    run = Transmit(" --program-id 300 --template 300 --first-key 60");
    EXPECT_EQ(run.status, 3);
    EXPECT_TRUE(Contains(run.err, "Do you want to replace this Program")) << run.err;
    // The template is read before the old program and its blocks go.
    run = Transmit(" --program-id 300 --template 300 --first-key 60 --replace");
    ASSERT_EQ(run.status, 0) << run.err;
    const json report = json::parse(run.out);
    EXPECT_EQ(report["program"]["template"], 300);
    EXPECT_EQ(report["samples"][0]["number"], first[0]["number"]) << "the old blocks' ids are free again";
    const ReadBack back = Read(GetParam(), 300);
    ASSERT_TRUE(back.keymap);
    EXPECT_EQ(back.keymap->LevelTable(7).at(48).soundBlock, first[0]["number"].get<uint16_t>()) << "key 60";
    EXPECT_EQ(back.keymap->LevelTable(7).at(24).soundBlock, 0) << "key 36 no longer";
}

INSTANTIATE_TEST_SUITE_P(Kurzweils, CliEmulatedK2000Program,
                         ::testing::Values(Model{1000, "Emulated Kurzweil K2000 via MIDI", false},
                                           Model{1012, "Emulated K2500 via MIDI+SCSI", true}),
                         [](const auto& info) { return std::to_string(info.param.typeId); });

} // namespace
} // namespace quorvel
