#include <gtest/gtest.h>

#include "framework/GrowingMemoryMedia.h"
#include "framework/Media.h"

namespace quorvel {
namespace {

// A 100-byte stream whose byte i is i.
class CountingMedia : public ::testing::Test {
protected:
    CountingMedia()
    {
        for (int i = 0; i < 100; ++i)
            base.Data()[i] = static_cast<uint8_t>(i);
    }
    CMemoryMedia base{100};
};

TEST_F(CountingMedia, MemoryMediaRefusesToLeaveItsBlock)
{
    uint8_t buffer[2] = {};
    base.SetPosition(98);
    base.Read(2, buffer);
    EXPECT_EQ(buffer[1], 99);
    EXPECT_THROW(base.Read(1, buffer), XRead);
    EXPECT_THROW(base.Write(1, buffer), XWrite);
    EXPECT_EQ(base.GetPosition(), 100) << "a refused access leaves the position";
    base.SetPosition(-1);
    EXPECT_THROW(base.ReadByte(), XRead);
    base.SetPosition(0);
    EXPECT_THROW(base.Read(-1, buffer), XRead);
}

// A zero-size chunk reaches the streams as a count of 0 with no block and no
// buffer behind it; copying nothing from nowhere must stay well defined (the
// sanitizer build reports a null pointer handed to memcpy).
TEST(EmptyMedia, ZeroCountsNeedNoMemory)
{
    CMemoryMedia nothing(nullptr, 0);
    nothing.Read(0, nullptr);
    nothing.Write(0, nullptr);
    EXPECT_EQ(nothing.GetPosition(), 0);
    EXPECT_THROW(nothing.Read(1, nullptr), XRead);

    CGrowingMemoryMedia growing;
    growing.Read(0, nullptr);
    growing.Write(0, nullptr);
    EXPECT_EQ(growing.GetLength(), 0);
}

TEST_F(CountingMedia, PartialMediaKeepsReadsInsideItsWindow)
{
    CPartialMedia window(base, 8, 4);
    EXPECT_EQ(window.GetLength(), 4);
    window.SetPosition(0);
    uint8_t buffer[4] = {};
    window.Read(4, buffer);
    EXPECT_EQ(buffer[0], 8);
    EXPECT_EQ(buffer[3], 11);
    EXPECT_EQ(window.GetPosition(), 4);
    EXPECT_THROW(window.Read(1, buffer), XRead);
    EXPECT_THROW(window.ReadByte(), XRead);
    EXPECT_THROW(window.PeekByte(), XRead);
    EXPECT_EQ(base.GetPosition(), 12) << "the base is untouched by a refused read";

    EXPECT_THROW(window.SetPosition(5), XPosition);
    window.SetPosition(4); // the end itself is a valid position
    EXPECT_THROW(window.SetPosition(-9), XPosition);

    window.ReadAt(1, 2, buffer);
    EXPECT_EQ(buffer[0], 9);
    EXPECT_THROW(window.Skip(2), XBase);
    window.Skip(-3);
    EXPECT_EQ(window.GetPosition(), 0);
    EXPECT_THROW(window.Skip(-1), XBase);

    // ReadWordAt takes an absolute base position.
    EXPECT_EQ(window.ReadWordAt(9) & 0xFF, 9);
    EXPECT_THROW(window.ReadWordAt(7), XBase);
    EXPECT_THROW(window.ReadWordAt(13), XBase);

    const uint8_t two[2] = {1, 2};
    window.SetPosition(3);
    EXPECT_THROW(window.Write(2, two), XWrite);
    window.Write(1, two);
    EXPECT_EQ(base.Data()[11], 1);
}

TEST_F(CountingMedia, OpenEndedWindowWritesFreelyButNeverReads)
{
    CPartialMedia window(base, 8, 0);
    EXPECT_EQ(window.GetLength(), 92);
    uint8_t bytes[50] = {};
    window.SetPosition(0);
    window.Write(50, bytes);
    EXPECT_EQ(window.GetPosition(), 50);
    window.SetPosition(0);
    EXPECT_THROW(window.Read(1, bytes), XRead);
    window.SetPosition(80); // no upper bound on positions either
    EXPECT_EQ(base.GetPosition(), 88);
}

} // namespace
} // namespace quorvel
