// The tool and the emulator process meeting over a dummy JACK server, as the
// program and a sampler meet on a desk: a slice there and back, a server
// that dies in the middle of a dump, and what the emulator refuses.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <thread>

#include <nlohmann/json.hpp>

#include "../common/DummyJackServer.h"
#include "../common/TempFolder.h"
#include "ChildProcess.h"
#include "RunTool.h"
#include "ToolTestFiles.h"

namespace quorvel {
namespace {

using namespace std::chrono_literals;
using nlohmann::json;
using test::ChildProcess;
using test::RunTool;
using test::TempFolder;
using test::Values;

const std::string kSampler = " --model sds --midi-in 'Emulated SDS:out' --midi-out 'Emulated SDS:in'";
const std::string kDocument = " --sensitivity 99 --bars 1";
const std::string kMIDIFailedAlert = "[MIDI communication failed!]";

// JACK loses and repeats MIDI events of a client that misses its cycle, as
// happens on a busy machine. A transfer that failed while the server
// reported such misses is tried again, twice at most; one that failed
// without them is a fault of ours.
test::ToolRun RunOverJack(const test::CDummyJackServer& server, const std::string& arguments)
{
    for (int attempt = 1;; ++attempt) {
        const int xruns = server.XRuns();
        test::ToolRun run = RunTool("quorvel-cli", arguments);
        if (run.status == 0 || server.XRuns() == xruns || attempt == 3)
            return run;
    }
}

// One bar at 480 beats a minute and 11025 frames a second: half a second
// of sound, about a hundred and forty sample dump packets.
void WriteShortLoop(const std::string& path)
{
    loopgen::LoopSpec shape;
    shape.sampleRate = 11025;
    shape.bpm = 480;
    const loopgen::GeneratedLoop loop = loopgen::GenerateDrumLoop(shape);
    SafeWrite(CFileSpec(path), [&](CMedia& media) {
        WriteWaveFile(media, loop.samples.data(), loop.frames, loop.channels, loop.sampleRate);
    });
}

std::string ReadText(const std::string& path)
{
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// The emulator process on the memory folder `memory`, ready for the tool.
class EmulatorProcess {
public:
    EmulatorProcess(const TempFolder& folder, const std::string& memory, const std::string& label)
    {
        ::setenv("QUORVEL_EMULATOR_DIR", memory.c_str(), 1);
        process_ = std::make_unique<ChildProcess>("quorvel-sampler-emulator", std::vector<std::string>{"--model", "sds"},
                                                  folder / (label + ".out"), folder / (label + ".err"));
        ::unsetenv("QUORVEL_EMULATOR_DIR");
        ready_ = process_->WaitForOutput("ready: Emulated SDS:in Emulated SDS:out\n", 10s);
    }
    bool Ready() const { return ready_; }
    ChildProcess& Process() { return *process_; }

private:
    std::unique_ptr<ChildProcess> process_;
    bool ready_ = false;
};

TEST(CliJackEmulator, ASliceGoesToTheEmulatorProcessAndComesBackBitExactly)
{
    QUORVEL_DUMMY_JACK_SERVER(server, 44100, 256);
    TempFolder folder;
    const std::string loop = folder / "loop.wav";
    WriteShortLoop(loop);
    {
        EmulatorProcess emulator(folder, folder / "memory", "first");
        ASSERT_TRUE(emulator.Ready()) << emulator.Process().Err();
        const auto ports = RunTool("quorvel-cli", "midi-ports");
        EXPECT_NE(ports.out.find("\"name\": \"Emulated SDS:out\",\n      \"driver\": \"JACK\""), std::string::npos)
            << ports.out;
        const auto run = RunOverJack(server, "transmit " + loop + kDocument + kSampler + " --sample-number 10");
        ASSERT_EQ(run.status, 0) << run.err << server.XRuns() << " xruns";
        ASSERT_GE(json::parse(run.out)["samples"].size(), 2u);
        // Stopped as a user stops it, it keeps its memory.
        emulator.Process().Signal(SIGTERM);
        EXPECT_EQ(emulator.Process().WaitForExit(10s), 0) << emulator.Process().Err();
    }

    EmulatorProcess emulator(folder, folder / "memory", "second");
    ASSERT_TRUE(emulator.Ready()) << emulator.Process().Err();
    auto run = RunOverJack(server, "receive" + kSampler + " --sample 11 " + (folder / "back.wav"));
    ASSERT_EQ(run.status, 0) << run.err << server.XRuns() << " xruns";
    run = RunTool("quorvel-cli", "export " + loop + kDocument + " --sound " + (folder / "slice.wav"));
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<int16_t> back = Values(folder / "back.wav");
    EXPECT_GT(back.size(), 500u);
    EXPECT_EQ(back, Values(folder / "slice #002.wav"));
}

TEST(CliJackEmulator, TheServerDyingDuringADumpEndsTheToolWithTheFailureAndTheEmulatorToo)
{
    for (int attempt = 1;; ++attempt) {
        QUORVEL_DUMMY_JACK_SERVER(server, 44100, 256);
        TempFolder folder;
        const std::string loop = folder / "loop.wav";
        test::WriteDrumLoop(loop); // long enough to be under way when the server dies
        EmulatorProcess emulator(folder, "", "emulator");
        ASSERT_TRUE(emulator.Ready()) << emulator.Process().Err();

        const std::string trace = folder / "trace.txt";
        std::vector<std::string> arguments = {"transmit", loop, "--sensitivity", "99", "--bars", "1",
                                              "--model", "sds", "--midi-in", "Emulated SDS:out",
                                              "--midi-out", "Emulated SDS:in", "--trace", trace};
        ChildProcess tool("quorvel-cli", arguments, folder / "tool.out", folder / "tool.err");
        // Once data packets flow, the server crashes.
        const auto until = std::chrono::steady_clock::now() + 20s;
        while (std::chrono::steady_clock::now() < until &&
               ReadText(trace).find("\tF0 7E 00 02 ") == std::string::npos)
            std::this_thread::sleep_for(10ms);
        ASSERT_NE(ReadText(trace).find("\tF0 7E 00 02 "), std::string::npos) << tool.Err();
        // Events lost to missed cycles may have ended the dump already.
        if (tool.WaitForExit(0s).has_value() && server.XRuns() > 0 && attempt < 3)
            continue;
        server.Kill();

        const std::optional<int> status = tool.WaitForExit(30s);
        ASSERT_TRUE(status.has_value()) << "the tool hung or crashed";
        EXPECT_EQ(*status, 3);
        // The send fails, or the input the answer is awaited on goes away:
        // either way the protocol's alert, and no waiting out a time-out.
        EXPECT_NE(tool.Err().find(kMIDIFailedAlert), std::string::npos) << tool.Err();
        EXPECT_TRUE(tool.Err().find("the MIDI input went away") != std::string::npos ||
                    tool.Err().find("the MIDI output refused the data") != std::string::npos)
            << tool.Err();
        EXPECT_EQ(emulator.Process().WaitForExit(10s), 3) << emulator.Process().Err();
        EXPECT_NE(emulator.Process().Err().find("the JACK server went away"), std::string::npos);
        return;
    }
}

TEST(CliJackEmulator, TheEmulatorRefusesWithoutAServerAndForASamplerReachedOverSCSIOnly)
{
    ::setenv("JACK_DEFAULT_SERVER", "quorvel-test-nobody-runs-this", 1);
    auto run = RunTool("quorvel-sampler-emulator", "--model sds");
    ::unsetenv("JACK_DEFAULT_SERVER");
    EXPECT_EQ(run.status, 3);
    EXPECT_NE(run.err.find("no JACK server answers"), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");

    run = RunTool("quorvel-sampler-emulator", "--model smdi");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("reached over SCSI only"), std::string::npos) << run.err;
}

} // namespace
} // namespace quorvel
