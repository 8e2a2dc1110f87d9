#include "framework/FileSpec.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "../common/TempFolder.h"
#include "framework/OpenFile.h"

namespace quorvel {
namespace {

using test::TempFolder;

std::string Split(const std::string& name)
{
    std::string base, extension;
    CFileSpec::SplitName(name, base, extension);
    return base + "|" + extension;
}

TEST(FileSpec, SplitsNamesAtAShortLastExtension)
{
    EXPECT_EQ(Split("loop.aif"), "loop|.aif");
    EXPECT_EQ(Split("my.loop.wav"), "my.loop|.wav");
    EXPECT_EQ(Split("noextension"), "noextension|");
    EXPECT_EQ(Split("x.1234567"), "x|.1234567");          // dot + 7 characters
    EXPECT_EQ(Split("x.12345678"), "x.12345678|");        // dot + 8: no extension
    EXPECT_EQ(Split("x.backup-aiff"), "x.backup-aiff|");
}

TEST(FileSpec, SplitsFullPathsAndNormalisesFolders)
{
    const CFileSpec fromPath("/music/loops/Groove.aif");
    EXPECT_EQ(fromPath.Folder(), "/music/loops/");
    EXPECT_EQ(fromPath.Name(), "Groove.aif");
    EXPECT_EQ(CFileSpec("bare.wav").FullPath(), "bare.wav");
    EXPECT_EQ(CFileSpec("/music", "Groove.qvl", "QVSO").FullPath(), "/music/Groove.qvl");
    EXPECT_EQ(CFileSpec("/music/", "Groove.qvl", "QVSO").FullPath(), "/music/Groove.qvl");
}

TEST(FileSpec, FileQueriesAndOpening)
{
    TempFolder dir;
    const CFileSpec file(dir.Path(), "a.bin", "BINA");
    EXPECT_FALSE(file.Exists());
    EXPECT_THROW(file.OpenForReading(), XCreateFailed);
    EXPECT_THROW(file.Delete(), XFileNotFound);
    EXPECT_THROW(file.Info(), XFileNotFound);

    test::WriteBytes(file.FullPath(), std::vector<uint8_t>(100, 'x'));
    EXPECT_TRUE(file.Exists());
    EXPECT_EQ(file.Info().size, 100);
    EXPECT_LT(std::chrono::abs(std::chrono::system_clock::now() - file.Info().modified), std::chrono::minutes(5));
    EXPECT_EQ(file.OpenForWriting()->GetLength(), 0); // truncated
    file.Delete();
    EXPECT_FALSE(file.Exists());
    EXPECT_THROW(CFileSpec(dir / "missing/x.txt").OpenForWriting(), XCreateFailed);
}

TEST(FileSpec, OnlyRegularFilesOpen)
{
    TempFolder dir;
    // A folder opens for reading on Linux, and a pipe would block the open
    // until a writer appears: both must be refused at once.
    ::mkdir((dir / "folder.aif").c_str(), 0755);
    ASSERT_EQ(::mkfifo((dir / "pipe.aif").c_str(), 0644), 0);
    for (const char* name : {"folder.aif", "pipe.aif"}) {
        const CFileSpec file(dir.Path(), name, "AIFF");
        EXPECT_FALSE(file.Exists()) << name;
        EXPECT_THROW(file.OpenForWriting(), XCreateFailed) << name;
    }
}

TEST(OpenFile, ShortReadsAndBadPositionsThrow)
{
    TempFolder dir;
    auto file = COpenFile::CreateForWriting(dir / "f");
    file->Write(6, "abcdef");
    file->WriteAt(2, 2, "XY");
    char back[6];
    file->ReadAt(0, 6, back);
    EXPECT_EQ(std::string(back, 6), "abXYef");
    file->SetPosition(2);
    EXPECT_THROW(file->Read(6, back), XRead); // 4 bytes before the end
    EXPECT_THROW(file->SetPosition(-1), XPosition);
    file->Close();
    EXPECT_THROW(file->Write(1, "a"), XWrite);
    EXPECT_THROW(file->GetPosition(), XFile);
}

} // namespace
} // namespace quorvel
