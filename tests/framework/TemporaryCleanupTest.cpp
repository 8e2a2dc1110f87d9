// Temporary files of an interrupted write do not stay beside the user's
// files: a terminating signal removes them at once, and after SIGKILL the
// next write of the same target removes them.
#include <algorithm>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "../common/TempFolder.h"
#include "WrittenText.h"
#include "framework/LiveTemporaryFiles.h"
#include "framework/SafeFileSet.h"

namespace quorvel {
namespace {

using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

using test::Put;
using test::Sorted;
using test::Text;

size_t HiddenCount(const TempFolder& dir)
{
    const auto names = dir.Names();
    return static_cast<size_t>(
        std::count_if(names.begin(), names.end(), [](const std::string& n) { return n[0] == '.'; }));
}

// A child process that writes an export of two finished slice files and an
// unfinished instrument file, tells the parent, and then blocks until it is
// signalled: an export caught in the middle.
struct BlockedExport {
    pid_t pid = -1;
    int hold = -1; // while open, the child's read cannot end
};

BlockedExport StartBlockedExport(const TempFolder& dir)
{
    int ready[2];
    int never[2];
    if (::pipe(ready) != 0 || ::pipe(never) != 0)
        return {};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(ready[0]);
        ::close(never[1]);
        RemoveLiveTemporariesOnSignals();
        CSafeFileSet set;
        set.Write(CFileSpec(dir / "s1.wav"), Put("new slice 1"));
        set.Write(CFileSpec(dir / "s2.wav"), Put("new slice 2"));
        set.Write(CFileSpec(dir / "kit.ins"), [&](CMedia& media) {
            Put("half an instrument")(media);
            const char byte = 1;
            (void)!::write(ready[1], &byte, 1);
            char ignored;
            (void)!::read(never[0], &ignored, 1); // blocks: the parent never writes
        });
        ::_exit(0);
    }
    ::close(ready[1]);
    ::close(never[0]);
    char byte = 0;
    const bool started = ::read(ready[0], &byte, 1) == 1;
    ::close(ready[0]);
    return {started ? child : -1, never[1]};
}

int EndWith(const BlockedExport& child, int signal)
{
    ::kill(child.pid, signal);
    int status = 0;
    ::waitpid(child.pid, &status, 0);
    ::close(child.hold);
    return WIFSIGNALED(status) ? WTERMSIG(status) : -1;
}

TEST(TemporaryCleanup, TerminatingSignalsRemoveTheLiveTemporaries)
{
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        TempFolder dir;
        WriteBytes(dir / "s1.wav", Text("old slice 1"));
        const BlockedExport child = StartBlockedExport(dir);
        ASSERT_GT(child.pid, 0);
        EXPECT_EQ(HiddenCount(dir), 3u) << "three temporaries while the export runs";
        EXPECT_EQ(EndWith(child, signal), signal) << "the process still ends by the signal";
        EXPECT_EQ(Sorted(dir.Names()), std::vector<std::string>{"s1.wav"}) << signal;
        EXPECT_EQ(ReadBytes(dir / "s1.wav"), Text("old slice 1"));
    }
}

TEST(TemporaryCleanup, TheNextWriteRemovesWhatAKilledWriterLeft)
{
    TempFolder dir;
    const BlockedExport child = StartBlockedExport(dir);
    ASSERT_GT(child.pid, 0);
    EXPECT_EQ(EndWith(child, SIGKILL), SIGKILL);
    ASSERT_EQ(HiddenCount(dir), 3u) << "nothing can run on SIGKILL";

    // A live writer's temporary, and files that merely look alike, stay.
    const std::string live = ".s1.wav." + std::to_string(::getpid()) + "-0-1.tmp";
    WriteBytes(dir / live, Text("being written"));
    WriteBytes(dir / ".s1.wav.notes.tmp", Text("the user's"));
    WriteBytes(dir / ".s1.wav.12x-0-1.tmp", Text("the user's"));

    SafeWrite(CFileSpec(dir / "s1.wav"), Put("again"));
    SafeWrite(CFileSpec(dir / "kit.ins"), Put("again"));
    const auto names = Sorted(dir.Names());
    EXPECT_EQ(HiddenCount(dir), 4u) << "the dead writer's s2.wav temporary is only removed with s2.wav";
    EXPECT_TRUE(std::find(names.begin(), names.end(), live) != names.end());
    EXPECT_TRUE(std::find(names.begin(), names.end(), ".s1.wav.notes.tmp") != names.end());
    EXPECT_TRUE(std::find(names.begin(), names.end(), ".s1.wav.12x-0-1.tmp") != names.end());
    SafeWrite(CFileSpec(dir / "s2.wav"), Put("again"));
    EXPECT_EQ(HiddenCount(dir), 3u);
}

} // namespace
} // namespace quorvel
