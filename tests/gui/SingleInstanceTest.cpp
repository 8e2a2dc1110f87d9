// Two real copies of the desktop program on Qt's offscreen platform: the
// second hands its files to the first and ends.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "../common/TempFolder.h"
#include "ChildProcess.h"
#include "TestSounds.h"

namespace quorvel::test {
namespace {

const std::string kProgram = std::string(QUORVEL_BIN_DIR) + "/quorvel";

class SingleInstanceTest : public ::testing::Test {
protected:
    SingleInstanceTest()
    {
        std::filesystem::create_directories(folder / "run");
        std::filesystem::permissions(folder / "run", std::filesystem::perms::owner_all);
        std::filesystem::create_directories(folder / "config");
    }
    std::vector<std::string> Environment() const
    {
        return {"QT_QPA_PLATFORM=offscreen", "XDG_RUNTIME_DIR=" + folder / "run",
                "XDG_CONFIG_HOME=" + folder / "config"};
    }
    // A real sound: the first copy opens it in a window.
    std::string Touch(const std::string& name) const
    {
        WriteLoopWav(folder / name);
        return folder / name;
    }

    TempFolder folder;
};

TEST_F(SingleInstanceTest, SecondCopyHandsItsFilesToTheFirstAndEnds)
{
    const std::string firstFile = Touch("first.wav");
    const std::string blanks = Touch("my drum loop.wav");
    const std::string other = Touch("b.wav");
    const std::string trace = folder / "first.log";

    ChildProcess first(kProgram, {"--unattended", "--trace", trace, firstFile}, Environment());
    ASSERT_TRUE(first.Started());
    ASSERT_TRUE(WaitForLine(trace, "started")) << ReadText(trace);

    const auto begin = std::chrono::steady_clock::now();
    ChildProcess second(kProgram, {"--trace", folder / "second.log", blanks, folder / "missing.wav", other},
                        Environment());
    EXPECT_EQ(second.Wait(5s), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - begin, 3s);
    EXPECT_EQ(ReadText(folder / "second.log"), "handed over\n");

    // A name that does not exist is skipped; the others arrive in order.
    ASSERT_TRUE(WaitForLine(trace, "opened " + other)) << ReadText(trace);
    const std::string log = ReadText(trace);
    EXPECT_NE(log.find("opened " + firstFile + "\n"), std::string::npos);
    EXPECT_NE(log.find("opened " + blanks + "\n"), std::string::npos);
    EXPECT_LT(log.find("open " + blanks + "\n"), log.find("open " + other + "\n"));
    EXPECT_EQ(log.find("missing.wav\n"), std::string::npos);

    EXPECT_EQ(ReadText(trace).find("Couldn't load"), std::string::npos) << "every file opened";
    first.Signal(SIGTERM);
    EXPECT_EQ(first.Wait(), 0);
    EXPECT_TRUE(WaitForLine(trace, "quit", 0ms));
    // The socket went away with the first copy.
    EXPECT_TRUE(std::filesystem::is_empty(folder / "run"));
}

TEST_F(SingleInstanceTest, SocketLeftByACrashedCopyIsTakenOver)
{
    ChildProcess crashed(kProgram, {"--trace", folder / "crashed.log"}, Environment());
    ASSERT_TRUE(WaitForLine(folder / "crashed.log", "started"));
    crashed.Signal(SIGKILL);
    crashed.Wait();
    ASSERT_FALSE(std::filesystem::is_empty(folder / "run")) << "the crash should leave the socket behind";

    const std::string trace = folder / "next.log";
    ChildProcess next(kProgram, {"--quit-after-start", "--trace", trace}, Environment());
    EXPECT_EQ(next.Wait(), 0);
    EXPECT_TRUE(WaitForLine(trace, "quit", 0ms)) << ReadText(trace);
}

TEST_F(SingleInstanceTest, UnknownOptionIsAUsageErrorWithoutAWindow)
{
    ChildProcess run(kProgram, {"--trace", folder / "log", "--no-such-option"}, Environment());
    EXPECT_EQ(run.Wait(), 1);
}

// A logout while the Left / Mix / Right question of a handed-over file is
// open: the question ends as cancelled, the unsaved document is kept in the
// preferences folder (and listed among the recent documents), the
// preferences are written and the program ends.
TEST_F(SingleInstanceTest, TerminationDuringAModalQuestionEndsTheProgramAndKeepsTheDocument)
{
    const std::string loop = Touch("unsaved loop.wav");
    WriteLoopWav(folder / "stereo.wav", 2);
    const std::string trace = folder / "first.log";
    const std::string preferences = folder / "preferences";
    std::vector<std::string> environment = Environment();
    environment.push_back("QUORVEL_CONFIG_DIR=" + preferences);

    ChildProcess first(kProgram, {"--trace", trace, loop}, environment);
    ASSERT_TRUE(WaitForLine(trace, "started")) << ReadText(trace);
    ASSERT_TRUE(WaitForLine(trace, "opened " + loop)) << ReadText(trace);
    ChildProcess second(kProgram, {folder / "stereo.wav"}, environment);
    EXPECT_EQ(second.Wait(), 0);
    ASSERT_TRUE(WaitForLine(trace, "modal quorvel::CLeftMixRightDialog")) << ReadText(trace);

    first.Signal(SIGTERM);
    EXPECT_EQ(first.Wait(), 0) << ReadText(trace);
    EXPECT_TRUE(WaitForLine(trace, "quit", 0ms)) << ReadText(trace);
    EXPECT_EQ(ReadText(trace).find("opened " + folder / "stereo.wav"), std::string::npos);

    const std::string kept = preferences + "/Kept Documents/unsaved loop.qvl";
    EXPECT_TRUE(std::filesystem::is_regular_file(kept));
    EXPECT_TRUE(std::filesystem::is_regular_file(loop)) << "the user's own file stays as it was";
    const std::string stored = ReadText(preferences + "/Quorvel Preferences.prf");
    EXPECT_NE(stored.find("Kept Documents/unsaved loop.qvl"), std::string::npos) << "a recent document";
}

// Closing the terminal the program was started from ends the session the
// same way: through the quit, keeping what was unsaved.
TEST_F(SingleInstanceTest, AHangUpEndsTheSessionThroughTheQuit)
{
    const std::string loop = Touch("hung up.wav");
    const std::string trace = folder / "first.log";
    const std::string preferences = folder / "preferences";
    std::vector<std::string> environment = Environment();
    environment.push_back("QUORVEL_CONFIG_DIR=" + preferences);

    ChildProcess first(kProgram, {"--trace", trace, loop}, environment);
    ASSERT_TRUE(WaitForLine(trace, "opened " + loop)) << ReadText(trace);
    first.Signal(SIGHUP);
    EXPECT_EQ(first.Wait(), 0) << ReadText(trace);
    EXPECT_TRUE(WaitForLine(trace, "quit", 0ms)) << ReadText(trace);
    EXPECT_TRUE(std::filesystem::is_regular_file(preferences + "/Quorvel Preferences.prf"));
}

// A terminal without a desktop: nothing names a display or a Qt platform,
// yet asking for help or the version answers and ends normally.
TEST_F(SingleInstanceTest, HelpAndVersionAnswerWithoutADisplay)
{
    const std::vector<std::string> bare{"PATH=/usr/bin:/bin", "HOME=" + folder.Path(),
                                        "XDG_RUNTIME_DIR=" + folder / "run"};
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
        {{"--help"}, "Usage: quorvel"},
        {{"-h"}, "Usage: quorvel"},
        {{"--unattended", "--help", "no-such-file.wav"}, "Usage: quorvel"},
        {{"--version"}, "quorvel "},
    };
    for (const auto& [arguments, answer] : cases) {
        const std::string output = folder / "output.txt";
        ChildProcess run(kProgram, arguments, bare, output, false);
        ASSERT_TRUE(run.Started());
        EXPECT_EQ(run.Wait(), 0) << arguments.front();
        EXPECT_EQ(ReadText(output).rfind(answer, 0), 0u) << arguments.front() << ": " << ReadText(output);
    }
}

} // namespace
} // namespace quorvel::test
