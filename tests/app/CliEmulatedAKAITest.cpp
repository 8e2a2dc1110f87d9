// Slices to the emulated AKAI samplers over Loopback MIDI ports and back,
// through the command-line tool: the samples arrive named, the sampler
// numbers them in its list, and every one comes back bit-exactly.
#include <gtest/gtest.h>

#include <cstdlib>

#include <nlohmann/json.hpp>

#include "../common/TempFolder.h"
#include "RunTool.h"
#include "ToolTestFiles.h"
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

TEST(CliEmulatedAKAI, BothGenerationsTakeTheSlicesByNameAndGiveThemBackBitExactly)
{
    TempFolder folder;
    const std::string loop = folder / "loop.wav";
    test::WriteDrumLoop(loop);
    const std::string document = " --sensitivity 99 --bars 1";
    auto run = RunTool("quorvel-cli", "export " + loop + document + " --sound " + (folder / "slice.wav"));
    ASSERT_EQ(run.status, 0) << run.err;
    ::setenv("QUORVEL_EMULATED_SAMPLERS", "4000,4100", 1);
    ::setenv("QUORVEL_EMULATOR_DIR", (folder / "memory").c_str(), 1);

    for (const std::string model : {"AKAI S1000 via MIDI", "AKAI S3000 via MIDI"}) {
        SCOPED_TRACE(model);
        const std::string port = "'Emulated " + model + "'";
        const std::string sampler = " --model '" + model + "' --midi-in " + port + " --midi-out " + port;
        run = RunTool("quorvel-cli", "transmit " + loop + document + sampler);
        ASSERT_EQ(run.status, 0) << run.err;
        const json sent = json::parse(run.out)["samples"];
        ASSERT_GE(sent.size(), 3u);
        EXPECT_EQ(sent[1]["name"], "NEW PROGR 02") << "named after the program";

        run = RunTool("quorvel-cli", "list" + sampler);
        ASSERT_EQ(run.status, 0) << run.err;
        const json listed = json::parse(run.out)["samples"];
        ASSERT_EQ(listed.size(), sent.size());
        EXPECT_EQ(listed[2]["name"], "NEW PROGR 03");

        run = RunTool("quorvel-cli", "receive" + sampler + " --name 'NEW PROGR 03' " + (folder / "three.wav") + " --force");
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(Values(folder / "three.wav"), Values(folder / "slice #003.wav"));
        // The sampler keeps the rate where it reads it: the slice comes back at its own rate.
        run = RunTool("quorvel-cli", "info " + (folder / "three.wav"));
        ASSERT_EQ(run.status, 0) << run.err;
        const auto sliceRun = RunTool("quorvel-cli", "info '" + (folder / "slice #003.wav") + "'");
        ASSERT_EQ(sliceRun.status, 0) << sliceRun.err;
        EXPECT_EQ(json::parse(run.out)["rate"], json::parse(sliceRun.out)["rate"]);

        run = RunTool("quorvel-cli", "delete" + sampler + " --sample 2");
        ASSERT_EQ(run.status, 0) << run.err;
        run = RunTool("quorvel-cli", "receive" + sampler + " --name 'NEW PROGR 03' " + (folder / "gone.wav"));
        EXPECT_EQ(run.status, 3);
        EXPECT_TRUE(Contains(run.err, "no sample is named \"NEW PROGR 03\"")) << run.err;

        run = RunTool("quorvel-cli", "transmit " + loop + document + sampler + " --sample-number 5");
        EXPECT_EQ(run.status, 1);
        EXPECT_TRUE(Contains(run.err, "numbers new samples itself")) << run.err;
    }
    ::unsetenv("QUORVEL_EMULATED_SAMPLERS");
    ::unsetenv("QUORVEL_EMULATOR_DIR");
}

} // namespace
} // namespace quorvel
