// Files that belong together replace their predecessors all at once or not
// at all.
#include "framework/SafeFileSet.h"

#include <algorithm>
#include <sys/resource.h>

#include <gtest/gtest.h>

#include "../common/TempFolder.h"
#include "WrittenText.h"

namespace quorvel {
namespace {

using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

using test::Put;
using test::Sorted;
using test::Text;

TEST(SafeFileSet, NothingChangesUntilEveryMemberIsComplete)
{
    TempFolder dir;
    WriteBytes(dir / "a.wav", Text("old a"));
    WriteBytes(dir / "b.wav", Text("old b"));
    const std::vector<std::string> before{"a.wav", "b.wav"};

    { // a failure in the third member: the two finished ones are dropped too
        CSafeFileSet set;
        set.Write(CFileSpec(dir / "a.wav"), Put("new a"));
        set.Write(CFileSpec(dir / "b.wav"), Put("new b"));
        EXPECT_THROW(set.Write(CFileSpec(dir / "c.ins"), [](CMedia&) { throw XWrite(); }), XWrite);
        EXPECT_EQ(set.Count(), 2);
        EXPECT_EQ(ReadBytes(dir / "a.wav"), Text("old a"));
    }
    EXPECT_EQ(Sorted(dir.Names()), before);
    EXPECT_EQ(ReadBytes(dir / "b.wav"), Text("old b"));

    { // never committed (a cancel)
        CSafeFileSet set;
        set.Write(CFileSpec(dir / "a.wav"), Put("new a"));
        set.Write(CFileSpec(dir / "c.ins"), Put("new c"));
    }
    EXPECT_EQ(Sorted(dir.Names()), before);

    CSafeFileSet set;
    set.Write(CFileSpec(dir / "a.wav"), Put("new a"));
    set.Write(CFileSpec(dir / "c.ins"), Put("new c"));
    set.Commit();
    EXPECT_EQ(Sorted(dir.Names()), (std::vector<std::string>{"a.wav", "b.wav", "c.ins"}));
    EXPECT_EQ(ReadBytes(dir / "a.wav"), Text("new a"));
    EXPECT_EQ(ReadBytes(dir / "b.wav"), Text("old b"));
    EXPECT_EQ(ReadBytes(dir / "c.ins"), Text("new c"));
}

TEST(SafeFileSet, PendingMembersHoldNoOpenFiles)
{
    // An export of 1000 slice files must not need 1000 descriptors: allow
    // far fewer than the members written.
    TempFolder dir;
    rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &saved), 0);
    rlimit tight = saved;
    tight.rlim_cur = std::min<rlim_t>(saved.rlim_cur, 64);
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &tight), 0);
    CSafeFileSet set;
    try {
        for (int i = 0; i < 100; ++i) {
            std::string name = std::to_string(i);
            name += ".wav";
            set.Write(CFileSpec(dir / name), Put("x"));
        }
        set.Commit();
    } catch (...) {
        ::setrlimit(RLIMIT_NOFILE, &saved);
        FAIL() << "ran out of descriptors";
    }
    ::setrlimit(RLIMIT_NOFILE, &saved);
    EXPECT_EQ(dir.Names().size(), 100u);
}

} // namespace
} // namespace quorvel
