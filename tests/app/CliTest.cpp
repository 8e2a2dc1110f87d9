// The command-line tool, run as a user would run it.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <sys/wait.h>
#include <unistd.h>

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

// A mono loop at 120 BPM with its hits; returns the hit frames.
std::vector<int32_t> WriteLoop(const std::string& path, int channels = 1, int bars = 1)
{
    loopgen::LoopSpec recipe;
    recipe.channels = channels;
    recipe.bars = bars;
    const loopgen::GeneratedLoop loop = loopgen::GenerateDrumLoop(recipe);
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

TEST(Cli, ExportWritesEveryOutputThatOtherProgramsRead)
{
    TempFolder folder;
    const std::vector<int32_t> hits = WriteLoop(folder / "loop.wav");
    const auto run = RunTool("quorvel-cli", "export " + (folder / "loop.wav") + " --sensitivity 99 --bars 1" +
                                                " --document " + (folder / "d.qvl") + " --qlx " + (folder / "x.qlx") +
                                                " --midi " + (folder / "g.mid") + " --sound " + (folder / "s.aif") +
                                                " --soundfont " + (folder / "b.sf2") + " --samplecell " +
                                                (folder / "i.ins") + " --mixman " + (folder / "m.trk"));
    ASSERT_EQ(run.status, 0) << run.err;
    for (const char* name : {"d.qvl", "x.qlx", "g.mid", "b.sf2", "i.ins", "m.trk"})
        EXPECT_TRUE(CFileSpec(folder / name).Exists()) << name;
    // One slice file per hit, each a valid AIFF.
    for (size_t i = 1; i <= hits.size(); ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "s #%03zu.aif", i);
        EXPECT_EQ(std::system(("sndfile-info '" + (folder / name) + "' >/dev/null 2>&1").c_str()), 0) << name;
    }
    EXPECT_FALSE(CFileSpec(folder / ("s #" + std::to_string(hits.size() + 1) + ".aif")).Exists());
    EXPECT_EQ(std::system(("sox -t aiff '" + (folder / "x.qlx") + "' -n stat 2>/dev/null").c_str()), 0);

    // The saved document reopens with the options applied.
    const auto reopened = RunTool("quorvel-cli", "slices " + (folder / "d.qvl"));
    ASSERT_EQ(reopened.status, 0) << reopened.err;
    const json report = json::parse(reopened.out);
    EXPECT_EQ(report["sensitivity"], 99);
    EXPECT_EQ(report["tempo"], 120000);
}

TEST(Cli, ExportNeverGuesses)
{
    TempFolder folder;
    WriteLoop(folder / "loop.wav", 1, 16);
    const std::string input = "export " + (folder / "loop.wav") + " --sensitivity 99";

    // No length: nothing is written.
    auto run = RunTool("quorvel-cli", input + " --qlx " + (folder / "x.qlx"));
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.err.rfind("Loop Length cannot be set to 0 Bars.", 0), 0u) << run.err;
    EXPECT_FALSE(CFileSpec(folder / "x.qlx").Exists());

    // An existing file is kept unless --force is given.
    test::WriteBytes(folder / "x.qlx", {1, 2, 3});
    run = RunTool("quorvel-cli", input + " --bars 16 --qlx " + (folder / "x.qlx"));
    EXPECT_EQ(run.status, 3);
    EXPECT_NE(run.err.find("already exists"), std::string::npos) << run.err;
    EXPECT_EQ(test::ReadBytes(folder / "x.qlx"), (std::vector<uint8_t>{1, 2, 3}));
    run = RunTool("quorvel-cli", input + " --bars 16 --force --qlx " + (folder / "x.qlx"));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_GT(test::ReadBytes(folder / "x.qlx").size(), 3u);

    // Sixteen bars of the pattern have more slices than a bank's 92 keys.
    run = RunTool("quorvel-cli", input + " --bars 16 --soundfont " + (folder / "b.sf2"));
    EXPECT_EQ(run.status, 3);
    EXPECT_NE(run.err.find("--accept-limit"), std::string::npos) << run.err;
    EXPECT_FALSE(CFileSpec(folder / "b.sf2").Exists());
    run = RunTool("quorvel-cli", input + " --bars 16 --accept-limit --soundfont " + (folder / "b.sf2"));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(CFileSpec(folder / "b.sf2").Exists());

    EXPECT_EQ(RunTool("quorvel-cli", input).status, 1) << "no output named";
}

TEST(Cli, PlayCapturesExactlyTheSliceOnTheSilentCard)
{
    TempFolder folder;
    const std::vector<int32_t> hits = WriteLoop(folder / "loop.wav");
    const auto run = RunTool("quorvel-cli", "play " + (folder / "loop.wav") + " --sensitivity 99 --slice 2 --latency 0" +
                                                " --capture " + (folder / "heard.wav"));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(json::parse(run.out)["underruns"], 0);

    const auto played = LoadSound(CFileSpec(folder / "heard.wav"), ChannelMode::Left);
    const auto original = LoadSound(CFileSpec(folder / "loop.wav"), ChannelMode::Left);
    // The hit is silent on its own frame, so its first sound is one frame in.
    int32_t first = 0;
    while (first < played->Length() && played->Value(first) == 0)
        ++first;
    ASSERT_LT(first, played->Length()) << "nothing was played";
    const int32_t start = first - 1;
    const int32_t length = hits[2] - hits[1];
    ASSERT_LE(start + length, played->Length());
    for (int32_t i = 0; i < length; ++i)
        ASSERT_EQ(played->Value(start + i), original->Value(hits[1] + i)) << "frame " << i;
    for (int32_t i = start + length; i < played->Length(); ++i)
        ASSERT_EQ(played->Value(i), 0) << "the slice is played once, then silence";
}

TEST(Cli, ReadmeRunCommandPrintsTheDemoLoopsSlices)
{
    const auto run = RunTool("quorvel-analyse", std::string(QUORVEL_SOURCE_DIR) + "/examples/demo-loop.wav --bars 2");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("120.000 BPM"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("16 found, 10 cut the loop"), std::string::npos) << run.out;
}

TEST(Cli, OptionValuesTheWindowWouldRefuseAreUsageErrors)
{
    TempFolder folder;
    WriteLoop(folder / "loop.wav"); // 88200 frames
    const std::string slices = "slices " + (folder / "loop.wav") + " --bars 1 ";
    // Text a numeric field would not take, and values outside what it allows.
    for (const char* options :
         {"--pitch-mode --new-tempo 12a", "--new-tempo abc", "--new-tempo -1", "--new-tempo nan", "--new-tempo 0",
          "--new-tempo 0.0004", "--new-tempo 1000", "--new-tempo 1.2.3", "--new-tempo ''", "--left 5 --right 2",
          "--left -100", "--right 999999999", "--right 88201", "--left 88000", "--sensitivity 0x10",
          "--sensitivity 5.0", "--bars 1e1", "--bars ' 2'", "--beats +1", "--stretch 0b1", "--add 1e3",
          "--hide -5", "--left 99999999999"}) {
        const auto run = RunTool("quorvel-cli", slices + std::string(options));
        EXPECT_EQ(run.status, 1) << options;
        EXPECT_FALSE(run.err.empty()) << options;
        EXPECT_TRUE(run.out.empty()) << options;
    }
    auto run = RunTool("quorvel-cli", slices + "--left 5 --right 2");
    EXPECT_NE(run.err.find("256 frames"), std::string::npos) << run.err;
    run = RunTool("quorvel-cli", slices + "--right 999999999");
    EXPECT_NE(run.err.find("past the end of the sound (88200 frames)"), std::string::npos) << run.err;
    run = RunTool("quorvel-cli", slices + "--new-tempo 12a");
    EXPECT_NE(run.err.find("12a"), std::string::npos) << run.err;

    // What the fields do take.
    run = RunTool("quorvel-cli", slices + "--pitch-mode --new-tempo 95.5 --left 0 --right 88200 --beats 00");
    ASSERT_EQ(run.status, 0) << run.err;
    run = RunTool("quorvel-cli", slices + "--new-tempo 999.999 --left 44100 --right 44356");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(json::parse(run.out)["left"], 44100);
    EXPECT_EQ(json::parse(run.out)["right"], 44356);
    for (const char* options : {"--bars 1x", "--sensitivity -1"})
        EXPECT_EQ(RunTool("quorvel-analyse", (folder / "loop.wav") + " " + std::string(options)).status, 1) << options;
}

TEST(Cli, AReportThatCannotBeWrittenIsAFailure)
{
    TempFolder folder;
    WriteLoop(folder / "loop.wav");
    for (const std::string& command :
         {"info " + (folder / "loop.wav"), "slices " + (folder / "loop.wav"), std::string("devices")}) {
        const auto run = RunTool("quorvel-cli", command + " > /dev/full");
        EXPECT_EQ(run.status, 3) << command;
        EXPECT_NE(run.err.find("could not write the output"), std::string::npos) << command << ": " << run.err;
    }
    const auto run = RunTool("quorvel-analyse", (folder / "loop.wav") + " > /dev/full");
    EXPECT_EQ(run.status, 3);
    EXPECT_NE(run.err.find("could not write the output"), std::string::npos) << run.err;
}

// Three seconds of silence as quiet.wav in `folder`, and the frames of 1000
// Pen slices after its start for --add: 1001 outputs.
std::string QuietLoopWithAThousandPenSlices(const TempFolder& folder)
{
    const std::vector<int16_t> quiet(132300, 0);
    SafeWrite(CFileSpec(folder / "quiet.wav"),
              [&](CMedia& media) { WriteWaveFile(media, quiet.data(), 132300, 1, 44100); });
    std::string positions;
    for (int i = 1; i <= 1000; ++i) {
        positions += (i > 1 ? "," : "");
        positions += std::to_string(100 * i);
    }
    return positions;
}

TEST(Cli, QLXOverItsLimitIsNeverCutSilently)
{
    TempFolder folder;
    const std::string positions = QuietLoopWithAThousandPenSlices(folder);
    const std::string input = "export " + (folder / "quiet.wav") + " --bars 1 --add " + positions;

    auto run = RunTool("quorvel-cli", input + " --qlx " + (folder / "x.qlx"));
    EXPECT_EQ(run.status, 3);
    EXPECT_NE(run.err.find("Only the first 1000 slices will be included in the QLX file"), std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("--accept-limit"), std::string::npos) << run.err;
    EXPECT_TRUE(folder.Names().size() == 1) << "nothing written";

    run = RunTool("quorvel-cli", input + " --accept-limit --qlx " + (folder / "x.qlx"));
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<uint8_t> file = test::ReadBytes(folder / "x.qlx");
    ASSERT_GT(file.size(), 512u);
}

// Hidden entries of a folder: the temporaries of files being written.
size_t Hidden(const TempFolder& folder)
{
    size_t hidden = 0;
    for (const std::string& name : folder.Names())
        hidden += name[0] == '.' ? 1 : 0;
    return hidden;
}

TEST(Cli, AnExportStoppedByASignalLeavesNoTemporaries)
{
    // A thousand slice files, each synced: an export that runs for seconds.
    TempFolder folder;
    const std::string positions = QuietLoopWithAThousandPenSlices(folder);
    TempFolder out;
    const std::string tool = std::string(QUORVEL_BIN_DIR) + "/quorvel-cli";
    const std::string input = folder / "quiet.wav";
    const std::string base = out / "s.wav";
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        const pid_t child = ::fork();
        if (child == 0) {
            ::freopen("/dev/null", "w", stdout);
            ::freopen("/dev/null", "w", stderr);
            ::execl(tool.c_str(), tool.c_str(), "export", input.c_str(), "--bars", "1", "--add", positions.c_str(),
                    "--sound", base.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ASSERT_GT(child, 0);
        // Stopped as soon as it writes, long before it could finish.
        for (int polls = 0; Hidden(out) == 0 && polls < 20000; ++polls)
            ::usleep(500);
        ASSERT_GT(Hidden(out), 0u) << "the export never started writing";
        ::kill(child, signal);
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << "status " << status;
        EXPECT_TRUE(out.Names().empty()) << "signal " << signal << ": " << out.Names().size() << " left";
    }
}

TEST(Cli, ALinkThatPointsNowhereIsAnExistingOutput)
{
    TempFolder folder;
    WriteLoop(folder / "loop.wav");
    ASSERT_EQ(::symlink("nowhere.mid", (folder / "g.mid").c_str()), 0);
    const std::string input = "export " + (folder / "loop.wav") + " --sensitivity 99 --bars 1 ";
    for (const char* output : {"--midi ", "--qlx ", "--document "}) {
        const auto run = RunTool("quorvel-cli", input + output + (folder / "g.mid"));
        EXPECT_EQ(run.status, 3) << output;
        EXPECT_NE(run.err.find("already exists"), std::string::npos) << output << run.err;
    }
    ASSERT_EQ(::symlink("nowhere.aif", (folder / "s #002.aif").c_str()), 0);
    auto run = RunTool("quorvel-cli", input + "--sound " + (folder / "s.aif"));
    EXPECT_EQ(run.status, 3);
    EXPECT_NE(run.err.find("already exists"), std::string::npos) << run.err;
    EXPECT_EQ(folder.Names().size(), 3u) << "no slice file written before the refusal";
    run = RunTool("quorvel-cli", input + "--force --midi " + (folder / "g.mid"));
    EXPECT_EQ(run.status, 0) << run.err;
}

} // namespace
} // namespace quorvel
