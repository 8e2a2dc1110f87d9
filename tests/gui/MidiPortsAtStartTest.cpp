// The real program registers the MIDI ports at start-up, with those of the
// emulated samplers named in its environment.
#include <gtest/gtest.h>

#include <filesystem>

#include "../common/TempFolder.h"
#include "ChildProcess.h"

namespace quorvel::test {
namespace {

const std::string kProgram = std::string(QUORVEL_BIN_DIR) + "/quorvel";

TEST(MidiPortsAtStartTest, EmulatedSamplerPortsAreRegisteredBeforeTheProgramStarts)
{
    const TempFolder folder;
    std::filesystem::create_directories(folder / "run");
    std::filesystem::permissions(folder / "run", std::filesystem::perms::owner_all);
    const std::vector<std::string> environment{"QT_QPA_PLATFORM=offscreen", "XDG_RUNTIME_DIR=" + folder / "run",
                                               "QUORVEL_EMULATED_SAMPLERS=sds"};
    const std::string trace = folder / "trace.log";
    ChildProcess run(kProgram, {"--quit-after-start", "--trace", trace}, environment);
    EXPECT_EQ(run.Wait(), 0);
    std::string text(1, '\n');
    text += ReadText(trace);
    const size_t input = text.find("\nmidi port In: Emulated SDS (Loopback)\n");
    const size_t output = text.find("\nmidi port Out: Emulated SDS (Loopback)\n");
    const size_t started = text.find("\nstarted\n");
    ASSERT_NE(input, std::string::npos) << text;
    ASSERT_NE(output, std::string::npos) << text;
    ASSERT_NE(started, std::string::npos) << text;
    EXPECT_LT(output, started) << text;
}

} // namespace
} // namespace quorvel::test
