#include "framework/SafeFileWriter.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "../common/TempFolder.h"

namespace quorvel {
namespace {

using test::ReadBytes;
using test::TempFolder;

std::vector<uint8_t> Text(const std::string& s) { return {s.begin(), s.end()}; }
void Put(CMedia& media, const std::string& s) { media.Write(static_cast<int32_t>(s.size()), s.data()); }

TEST(SafeWrite, ReplacesOnlyWithACompleteFile)
{
    TempFolder dir;
    const CFileSpec target(dir.Path(), "doc.qvl", "QVSO");
    test::WriteBytes(target.FullPath(), Text("the previous document, longer than the new one"));
    ::chmod(target.FullPath().c_str(), 0640);

    EXPECT_THROW(SafeWrite(target,
                           [](CMedia& media) {
                               Put(media, "half");
                               throw XWrite(); // e.g. the disk filled up
                           }),
                 XWrite);
    EXPECT_EQ(ReadBytes(target.FullPath()), Text("the previous document, longer than the new one"));
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"doc.qvl"}); // the temporary file is gone

    SafeWrite(target, [](CMedia& media) { Put(media, "new"); });
    EXPECT_EQ(ReadBytes(target.FullPath()), Text("new"));
    EXPECT_EQ(dir.Names().size(), 1u);
    struct stat st {};
    ASSERT_EQ(::stat(target.FullPath().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u); // permissions survive the replacement
}

TEST(SafeWrite, WritesThroughLinksAndDiscardsWithoutCommit)
{
    TempFolder dir;
    SafeWrite(CFileSpec(dir / "new.wav"), [](CMedia& media) { Put(media, "abc"); });
    ASSERT_EQ(::symlink("new.wav", (dir / "link.wav").c_str()), 0);
    SafeWrite(CFileSpec(dir / "link.wav"), [](CMedia& media) { Put(media, "xyz"); });
    struct stat st {};
    ASSERT_EQ(::lstat((dir / "link.wav").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(ReadBytes(dir / "new.wav"), Text("xyz"));

    {
        CSafeFileWriter writer(CFileSpec(dir / "abandoned.aif"));
        Put(writer.Media(), "never committed");
    }
    EXPECT_EQ(dir.Names().size(), 2u); // new.wav and link.wav only
    EXPECT_THROW(CSafeFileWriter(CFileSpec(dir / "no/such/folder.aif")), XCreateFailed);
}

} // namespace
} // namespace quorvel
