// A slice to the emulated sample dump sampler and back, across two runs of
// the tool (the emulator keeps its memory in a folder). Skipped while the
// tool starts no emulated samplers.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

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
using test::TempFolder;

// The emulator's settings for the runs of one test.
class EmulatedSDS {
public:
    explicit EmulatedSDS(const std::string& memory)
    {
        ::setenv("QUORVEL_EMULATED_SAMPLERS", "sds", 1);
        ::setenv("QUORVEL_EMULATOR_DIR", memory.c_str(), 1);
    }
    ~EmulatedSDS()
    {
        ::unsetenv("QUORVEL_EMULATED_SAMPLERS");
        ::unsetenv("QUORVEL_EMULATOR_DIR");
    }
};

TEST(CliEmulatedSDS, TransmitAndReceiveMoveASliceThereAndBackBitExactly)
{
    TempFolder folder;
    const std::string loop = folder / "loop.wav";
    test::WriteDrumLoop(loop);
    const EmulatedSDS emulator(folder / "memory");
    const auto ports = RunTool("quorvel-cli", "midi-ports");
    ASSERT_EQ(ports.status, 0) << ports.err;
    if (ports.out.find("\"Emulated SDS\"") == std::string::npos)
        GTEST_SKIP() << "quorvel-cli starts no emulated samplers yet";

    const std::string sampler = " --model sds --midi-in 'Emulated SDS' --midi-out 'Emulated SDS'";
    const std::string document = " --sensitivity 99 --bars 1";
    auto run = RunTool("quorvel-cli", "transmit " + loop + document + sampler + " --sample-number 10 --trace " +
                                          (folder / "trace.txt"));
    ASSERT_EQ(run.status, 0) << run.err;
    const json sent = json::parse(run.out)["samples"];
    ASSERT_GE(sent.size(), 3u);
    EXPECT_EQ(sent[1]["number"], 11);

    // The same slices as the export writes them.
    run = RunTool("quorvel-cli", "export " + loop + document + " --sound " + (folder / "slice.wav"));
    ASSERT_EQ(run.status, 0) << run.err;
    run = RunTool("quorvel-cli", "receive" + sampler + " --sample 11 " + (folder / "back.wav"));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(json::parse(run.out)["frames"], sent[1]["frames"]);
    const std::vector<int16_t> back = Values(folder / "back.wav");
    EXPECT_EQ(back.size(), size_t(sent[1]["frames"]));
    EXPECT_EQ(back, Values(folder / "slice #002.wav"));

    std::ifstream traceFile(folder / "trace.txt");
    std::stringstream trace;
    trace << traceFile.rdbuf();
    EXPECT_NE(trace.str().find("\tmidi-out\tEmulated SDS\tF0 7E 00 01 0A 00 10 "), std::string::npos);
    EXPECT_NE(trace.str().find("\tmidi-in\tEmulated SDS\tF0 7E 00 7F 00 F7"), std::string::npos);
}

} // namespace
} // namespace quorvel
