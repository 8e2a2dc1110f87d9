// The command-line tool, run as a user would run it.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "../common/TempFolder.h"
#include "RunTool.h"
#include "fileformats/WaveFileWriter.h"
#include "framework/FileSpec.h"
#include "framework/SafeFileWriter.h"
#include "loopgen/DrumLoopGenerator.h"

namespace quorvel {
namespace {

using nlohmann::json;
using test::RunTool;
using test::TempFolder;

// A one-bar mono loop at 120 BPM with its hits; returns the hit frames.
std::vector<int32_t> WriteLoop(const std::string& path, int channels = 1)
{
    loopgen::LoopSpec spec;
    spec.channels = channels;
    const loopgen::GeneratedLoop loop = loopgen::GenerateDrumLoop(spec);
    SafeWrite(CFileSpec(path), [&](CMedia& media) {
        WriteWaveFile(media, loop.samples.data(), loop.frames, loop.channels, loop.sampleRate);
    });
    std::vector<int32_t> frames;
    for (const auto& hit : loop.hits)
        frames.push_back(hit.frame);
    return frames;
}

TEST(Cli, InfoDescribesTheFile)
{
    TempFolder folder;
    WriteLoop(folder / "loop.wav", 2);
    const auto run = RunTool("quorvel-cli", "info " + (folder / "loop.wav"));
    ASSERT_EQ(run.status, 0) << run.err;
    const json info = json::parse(run.out);
    EXPECT_EQ(info["type"], "Wave File");
    EXPECT_EQ(info["channels"], 2);
    EXPECT_EQ(info["bits"], 16);
    EXPECT_EQ(info["rate"], 44100);
    EXPECT_EQ(info["frames"], 88200);
    EXPECT_EQ(info["supported"], true);
}

TEST(Cli, SlicesFollowTheOptions)
{
    TempFolder folder;
    const std::vector<int32_t> hits = WriteLoop(folder / "loop.wav");
    ASSERT_GE(hits.size(), 4u);
    const std::string options = " --sensitivity 99 --bars 1 --sign 4/4 --hide " + std::to_string(hits[1]) +
                                " --lock " + std::to_string(hits[2]) + " --select " + std::to_string(hits[3]) +
                                " --add 100";
    const auto run = RunTool("quorvel-cli", "slices " + (folder / "loop.wav") + options);
    ASSERT_EQ(run.status, 0) << run.err;
    const json report = json::parse(run.out);
    EXPECT_EQ(report["tempo"], 120000);
    EXPECT_EQ(report["tempo_text"], "120.000 BPM");
    EXPECT_EQ(report["sensitivity"], 99);
    EXPECT_EQ(report["threshold"], 295);
    const json& slices = report["slices"];
    ASSERT_EQ(slices.size(), hits.size() + 1);
    EXPECT_EQ(slices[1]["position"], 100);
    EXPECT_EQ(slices[1]["state"], "locked");
    EXPECT_EQ(slices[1]["strength"], 16384);
    EXPECT_EQ(slices[2]["state"], "hidden");
    EXPECT_EQ(slices[2]["active"], false);
    EXPECT_EQ(slices[2]["shown"], true);
    EXPECT_EQ(slices[3]["state"], "locked");
    EXPECT_EQ(slices[4]["selected"], true);
    for (size_t i = 0; i < hits.size(); ++i)
        EXPECT_EQ(slices[i == 0 ? 0 : i + 1]["position"], hits[i]);
}

TEST(Cli, RefusalsCarryTheProgramsOwnTextsAndExitStatus)
{
    TempFolder folder;
    WriteLoop(folder / "loop.wav");

    auto run = RunTool("quorvel-cli", "slices " + (folder / "loop.wav") + " --hide 12345");
    EXPECT_EQ(run.status, 1) << "no slice starts there";

    run = RunTool("quorvel-cli", "slices " + (folder / "missing.wav"));
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "[Couldn't load sound file \"missing.wav\"!]The file is in an unknown format or corrupt.\n");

    // 24-bit audio is refused by the import limits.
    ASSERT_EQ(std::system(("sox -n -r 8000 -b 24 '" + (folder / "deep.wav") + "' synth 0.1 sine 440").c_str()), 0);
    run = RunTool("quorvel-cli", "info " + (folder / "deep.wav"));
    EXPECT_EQ(run.status, 0) << "info describes files the import refuses";
    EXPECT_EQ(json::parse(run.out)["supported"], false);
    run = RunTool("quorvel-cli", "slices " + (folder / "deep.wav"));
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "Quorvel! only supports 16-bit audio files.\n");

    run = RunTool("quorvel-cli", "slices " + (folder / "x.qlx"));
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("Reading QLX files is not supported!"), std::string::npos);

    run = RunTool("quorvel-cli", "slices " + (folder / "loop.wav") + " --sensitivity 100");
    EXPECT_EQ(run.status, 1) << "out of the fader's range";
}

TEST(Cli, ReadmeRunCommandPrintsTheDemoLoopsSlices)
{
    const auto run = RunTool("quorvel-analyse", std::string(QUORVEL_SOURCE_DIR) + "/examples/demo-loop.wav --bars 2");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("120.000 BPM"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("16 found, 10 cut the loop"), std::string::npos) << run.out;
}

} // namespace
} // namespace quorvel
