// Slices to the emulated S-760 over Loopback MIDI ports and back, through
// the command-line tool: the samples take the free numbers from 0 up, the
// patch plays one partial per slice from C2 up, and each sample comes back
// in whole blocks of 4608 frames less the 4 the sampler does not play: the
// slice's own frames bit-exactly, then the silence that filled its last
// block.
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

std::string SliceFile(size_t k)
{
    char name[32];
    std::snprintf(name, sizeof name, "slice #%03zu.wav", k + 1);
    return name;
}

TEST(CliEmulatedRoland, EverySliceComesBackInWholeBlocks)
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
    ::setenv("QUORVEL_EMULATED_SAMPLERS", "2000", 1);
    ::setenv("QUORVEL_EMULATOR_DIR", (folder / "memory").c_str(), 1);
    const std::string port = "'Emulated Roland S-760 via MIDI'";
    const std::string sampler = " --model 2000 --midi-in " + port + " --midi-out " + port;

    run = RunTool("quorvel-cli", "transmit " + loop + document + sampler + " --patch-name Funky");
    // The samples go before the patch: they are checked below even when the
    // patch fails.
    EXPECT_EQ(run.status, 0) << run.err;
    if (run.status == 0) {
        const json report = json::parse(run.out);
        EXPECT_EQ(report["patch"]["name"], "Funky");
        EXPECT_EQ(report["patch"]["partials"], report["samples"].size());
        for (size_t k = 0; k < report["samples"].size(); ++k)
            EXPECT_EQ(report["samples"][k]["partial"], k);
    }
    run = RunTool("quorvel-cli", "list" + sampler);
    ASSERT_EQ(run.status, 0) << run.err;
    const json sent = json::parse(run.out)["samples"];
    ASSERT_GE(sent.size(), 3u);
    for (size_t k = 0; k < sent.size(); ++k) {
        EXPECT_EQ(sent[k]["number"], k);
        char name[32];
        std::snprintf(name, sizeof name, "Funky %02zu", k + 1);
        EXPECT_EQ(sent[k]["name"], name);
    }

    for (size_t k = 0; k < sent.size(); ++k) {
        SCOPED_TRACE(k);
        const std::string back = folder / ("back" + std::to_string(k) + ".wav");
        run = RunTool("quorvel-cli", "receive" + sampler + " --sample " + std::to_string(k) + " " + back);
        ASSERT_EQ(run.status, 0) << run.err;
        const std::vector<int16_t> slice = Values(folder / SliceFile(k));
        const std::vector<int16_t> received = Values(back);
        const size_t blocks = (slice.size() + 4607) / 4608;
        ASSERT_EQ(received.size(), blocks * 4608 - 4);
        ASSERT_GE(received.size(), slice.size());
        EXPECT_TRUE(std::equal(slice.begin(), slice.end(), received.begin()));
        EXPECT_TRUE(std::all_of(received.begin() + static_cast<std::ptrdiff_t>(slice.size()), received.end(),
                                [](int16_t v) { return v == 0; }));
        EXPECT_EQ(json::parse(run.out)["name"], sent[k]["name"]);
        EXPECT_EQ(json::parse(run.out)["rate"], 44100);
    }

    run = RunTool("quorvel-cli", "delete" + sampler + " --sample 1");
    ASSERT_EQ(run.status, 0) << run.err;
    run = RunTool("quorvel-cli", "receive" + sampler + " --name " + "'" + sent[1]["name"].get<std::string>() + "' " +
                                     (folder / "gone.wav"));
    EXPECT_EQ(run.status, 3);
    EXPECT_TRUE(Contains(run.err, "no sample is named")) << run.err;
    // The freed number is the first the next sample takes.
    run = RunTool("quorvel-cli", "transmit " + loop + document + " --one-sample --patch-name Whole" + sampler);
    EXPECT_EQ(run.status, 0) << run.err;
    run = RunTool("quorvel-cli", "list" + sampler);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(json::parse(run.out)["samples"][1]["name"], "Whole");

    ::unsetenv("QUORVEL_EMULATED_SAMPLERS");
    ::unsetenv("QUORVEL_EMULATOR_DIR");
}

} // namespace
} // namespace quorvel
