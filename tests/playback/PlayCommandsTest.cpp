#include <gtest/gtest.h>

#include "WavePlayerFixtures.h"
#include "document/SoundDocument.h"
#include "playback/PlayCommands.h"

namespace quorvel::test {
namespace {

// 10000 frames, Locked slices at 1000, 3000, 5000 (100 frames: too short to
// play), 5100 and 8000; loop 3000..8000.
class PlayCommandsTest : public ::testing::Test {
protected:
    PlayCommandsTest()
        : document_(CountingSound(10000), StoredDocumentSettings{},
                    {{2, false, 1000, 1}, {2, false, 3000, 1}, {2, false, 5000, 1}, {2, false, 5100, 1},
                     {2, false, 8000, 1}}),
          commands_(document_, player_, &notifier_)
    {
        document_.SetLocators(3000, 8000);
    }

    int32_t CurrentStart() const
    {
        return document_.CurrentSlice() ? document_.CurrentSlice()->position : -1;
    }
    // The first frame the player produces, as a frame of the sound.
    int32_t PlayedFrom()
    {
        return RenderMono(player_, 1)[0] - 1;
    }
    CSlice& SliceAt(int32_t position) { return *document_.Slices().SliceAt(position); }

    CDirectPlayer player_;
    CCountingNotifier notifier_;
    CSoundDocument document_;
    CPlayCommands commands_;
};

TEST_F(PlayCommandsTest, CurrentSlicePlaysTheSliceUnderTheCursorOnce)
{
    document_.SetCurrentPosition(4000);
    commands_.PlayCurrentSlice();
    EXPECT_EQ(CurrentStart(), 3000);
    EXPECT_EQ(document_.CurrentPosition(), 3000);
    EXPECT_EQ(document_.GetPlayMode(), PlayMode::CurrentSlice);
    EXPECT_EQ(PlayedFrom(), 3000);
    const auto rest = RenderMono(player_, 2000);
    EXPECT_EQ(rest[1998], document_.Sound()->Value(4999));
    EXPECT_EQ(rest[1999], 0);

    // Before the first slice: the first slice.
    document_.SetCurrentPosition(10);
    commands_.PlayCurrentSlice();
    EXPECT_EQ(CurrentStart(), 1000);
    EXPECT_EQ(PlayedFrom(), 1000);

    // Too short to hear: cursor and slice move, nothing plays.
    commands_.Stop();
    document_.SetCurrentPosition(5050);
    commands_.PlayCurrentSlice();
    EXPECT_EQ(CurrentStart(), 5000);
    EXPECT_EQ(document_.CurrentPosition(), 5000);
    EXPECT_FALSE(commands_.IsPlaying());
}

TEST_F(PlayCommandsTest, WithoutActiveSlicesTheWholeSoundPlays)
{
    for (int i = 0; i < document_.Slices().Count(); ++i)
        document_.Slices().At(i).state = SliceState::Hidden;
    document_.SetCurrentPosition(4000);
    commands_.PlaySliceAndMoveToNext();
    EXPECT_EQ(document_.GetPlayMode(), PlayMode::NextSlice);
    EXPECT_EQ(PlayedFrom(), 0);
    EXPECT_EQ(document_.CurrentPosition(), 4000);
}

TEST_F(PlayCommandsTest, SliceAndNextStepsAndLeavesTheLoopAtTheLeftLocator)
{
    document_.SetCurrentPosition(1500);
    commands_.PlaySliceAndMoveToNext();
    EXPECT_EQ(PlayedFrom(), 1000);
    EXPECT_EQ(CurrentStart(), 3000);
    EXPECT_EQ(document_.CurrentPosition(), 3000);

    // The last slice inside the loop: back to the left locator.
    document_.SetCurrentPosition(5200);
    commands_.PlaySliceAndMoveToNext();
    EXPECT_EQ(PlayedFrom(), 5100);
    EXPECT_EQ(document_.CurrentSlice(), nullptr);
    EXPECT_EQ(document_.CurrentPosition(), 3000);

    // The last slice of the list (outside the loop) wraps to the first.
    document_.SetCurrentPosition(9000);
    commands_.PlaySliceAndMoveToNext();
    EXPECT_EQ(PlayedFrom(), 8000);
    EXPECT_EQ(CurrentStart(), 1000);
}

TEST_F(PlayCommandsTest, PreviousSliceStepsBackAndWrapsInsideTheLoop)
{
    document_.SetCurrentPosition(5050);
    commands_.PlayPreviousSlice();
    EXPECT_EQ(CurrentStart(), 3000);
    EXPECT_EQ(PlayedFrom(), 3000);
    EXPECT_EQ(document_.GetPlayMode(), PlayMode::PreviousSlice);

    // The first slice inside the loop: the slice holding the frame before
    // the right locator.
    commands_.PlayPreviousSlice();
    EXPECT_EQ(CurrentStart(), 5100);
    EXPECT_EQ(document_.CurrentPosition(), 5100);

    // The first slice of the list wraps to the last.
    document_.SetLocators(0, 10000);
    document_.SetCurrentPosition(1000);
    commands_.PlayPreviousSlice();
    EXPECT_EQ(CurrentStart(), 8000);
    EXPECT_EQ(PlayedFrom(), 8000);
}

TEST_F(PlayCommandsTest, PlayLoopStartsAtTheCursorOrTheLeftLocatorAndIgnoresARepeat)
{
    document_.SetCurrentPosition(8500);
    commands_.PlayLoop();
    EXPECT_EQ(document_.CurrentPosition(), 3000);
    EXPECT_EQ(PlayedFrom(), 3000);
    EXPECT_EQ(document_.GetPlayMode(), PlayMode::Loop);
    EXPECT_EQ(notifier_.started, 1);

    document_.SetCurrentPosition(6000);
    commands_.PlayLoop();
    EXPECT_EQ(notifier_.started, 1);
    EXPECT_EQ(PlayedFrom(), 3001);
}

TEST_F(PlayCommandsTest, StopMovesTheCursorToWhatWasHeardThenToTheLocatorThenToZero)
{
    document_.SetCurrentPosition(3000);
    commands_.PlayLoop();
    RenderMono(player_, 2500);
    EXPECT_EQ(commands_.CursorPosition(), 5500);
    commands_.Stop();
    EXPECT_FALSE(commands_.IsPlaying());
    EXPECT_EQ(notifier_.stopped, 1);
    EXPECT_EQ(CurrentStart(), 5100);
    EXPECT_EQ(document_.CurrentPosition(), 5100);
    EXPECT_EQ(commands_.CursorPosition(), 5100);

    commands_.Stop();
    EXPECT_EQ(document_.CurrentPosition(), 3000);
    commands_.Stop();
    EXPECT_EQ(document_.CurrentPosition(), 0);
}

TEST_F(PlayCommandsTest, PointsLocatorJumpsAndDisabledSound)
{
    commands_.PlayFromPosition(500);
    EXPECT_EQ(document_.CurrentPosition(), 0);
    EXPECT_EQ(document_.CurrentSlice(), nullptr);
    EXPECT_EQ(PlayedFrom(), 0);
    commands_.PlayFromPosition(6000);
    EXPECT_EQ(document_.CurrentPosition(), 3000);
    EXPECT_EQ(PlayedFrom(), 3000);
    commands_.PlayFromSlice(SliceAt(8000));
    EXPECT_EQ(PlayedFrom(), 8000);
    EXPECT_EQ(document_.GetPlayMode(), PlayMode::CurrentSlice);

    commands_.JumpToRightLocator();
    EXPECT_EQ(document_.CurrentPosition(), 8000);
    EXPECT_EQ(document_.CurrentSlice(), nullptr);
    commands_.JumpToLeftLocator();
    EXPECT_EQ(document_.CurrentPosition(), 3000);

    commands_.Stop();
    commands_.SetSoundEnabled(false);
    document_.SetCurrentPosition(1200);
    commands_.PlaySliceAndMoveToNext();
    EXPECT_FALSE(commands_.IsPlaying());
    EXPECT_EQ(CurrentStart(), 3000);
    commands_.PlayLoop();
    EXPECT_FALSE(commands_.IsPlaying());
}

} // namespace
} // namespace quorvel::test
