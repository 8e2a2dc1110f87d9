// The demo loop to the emulated EPS, EPS-16+ and ASR-10 through the
// command-line tool as one instrument, listed, received back bit-exactly
// and deleted.
#include <gtest/gtest.h>

#include <cstdlib>

#include <nlohmann/json.hpp>

#include "../common/TempFolder.h"
#include "RunTool.h"
#include "fileformats/SoundImport.h"
#include "fileformats/WaveFileWriter.h"
#include "framework/FileSpec.h"
#include "framework/SafeFileWriter.h"
#include "loopgen/DrumLoopGenerator.h"

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

class CliEmulatedEnsoniq : public ::testing::TestWithParam<const char*> {
protected:
    void TearDown() override
    {
        ::unsetenv("QUORVEL_EMULATED_SAMPLERS");
        ::unsetenv("QUORVEL_EMULATOR_DIR");
    }
};

TEST_P(CliEmulatedEnsoniq, TheLoopBecomesAnInstrumentAndEveryWaveComesBackBitExactly)
{
    TempFolder folder;
    const std::string loop = folder / "loop.wav";
    // A short loop: the holds between messages take real time.
    loopgen::LoopSpec shape;
    shape.sampleRate = 22050;
    shape.bpm = 240.0;
    const loopgen::GeneratedLoop generated = loopgen::GenerateDrumLoop(shape);
    SafeWrite(CFileSpec(loop), [&](CMedia& media) {
        WriteWaveFile(media, generated.samples.data(), generated.frames, generated.channels, generated.sampleRate);
    });
    // Every wave comes back from one model, the first from the others, which
    // get three slices only: every slice sent waits out the sampler's holds.
    const std::string model = GetParam();
    const bool everyWave = model == "Ensoniq EPS-16+ via MIDI";
    const std::string document =
        everyWave ? " --sensitivity 50 --bars 1" : " --sensitivity 0 --bars 1 --add 3001 8001";
    auto run = RunTool("quorvel-cli", "export " + loop + document + " --sound " + (folder / "slice.wav"));
    ASSERT_EQ(run.status, 0) << run.err;
    ::setenv("QUORVEL_EMULATED_SAMPLERS", "3000,3010,3020", 1);
    ::setenv("QUORVEL_EMULATOR_DIR", (folder / "memory").c_str(), 1);

    // Port names are kept to 32 characters: the longer ones leave the maker out.
    const std::string port = model == "Ensoniq EPS via MIDI"       ? "'Emulated Ensoniq EPS via MIDI'"
                             : model == "Ensoniq EPS-16+ via MIDI" ? "'Emulated EPS-16+ via MIDI'"
                                                                   : "'Emulated ASR-10/ASR-88 via MIDI'";
    const std::string sampler = " --model '" + model + "' --midi-in " + port + " --midi-out " + port;
    run = RunTool("quorvel-cli", "transmit " + loop + document + sampler + " --program-name Beats --instrument 3");
    ASSERT_EQ(run.status, 0) << run.err;
    const json report = json::parse(run.out);
    const json sent = report["samples"];
    ASSERT_GE(sent.size(), 3u) << run.out;
    EXPECT_EQ(sent[2]["name"], "Beats 03");
    EXPECT_EQ(sent[2]["number"], 2 * 128 + 3) << "instrument 3, wave 3";
    EXPECT_EQ(report["instrument"]["number"], 3);

    run = RunTool("quorvel-cli", "list" + sampler);
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_EQ(json::parse(run.out)["samples"].size(), sent.size());

    for (size_t k = 0; k < (everyWave ? sent.size() : 1); ++k) {
        char slice[32];
        std::snprintf(slice, sizeof slice, "slice #%03zu.wav", k + 1);
        const std::string back = folder / ("back" + std::to_string(k) + ".wav");
        run = RunTool("quorvel-cli", "receive" + sampler + " --sample " + std::to_string(sent[k]["number"].get<int>()) +
                                         " " + back);
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(Values(back), Values(folder / slice)) << k;
    }

    if (!everyWave)
        return;
    // The slot is taken now: only --replace makes it anew.
    run = RunTool("quorvel-cli", "transmit " + loop + document + sampler + " --instrument 3");
    EXPECT_EQ(run.status, 3);
    EXPECT_TRUE(Contains(run.err, "already exists")) << run.err;
    run = RunTool("quorvel-cli", "delete" + sampler + " --sample 257");
    ASSERT_EQ(run.status, 0) << run.err;
    run = RunTool("quorvel-cli", "receive" + sampler + " --sample 257 " + (folder / "gone.wav"));
    EXPECT_EQ(run.status, 3);
}

INSTANTIATE_TEST_SUITE_P(EveryModel, CliEmulatedEnsoniq,
                         ::testing::Values("Ensoniq EPS via MIDI", "Ensoniq EPS-16+ via MIDI",
                                           "Ensoniq ASR-10/ASR-88 via MIDI"));

} // namespace
} // namespace quorvel
