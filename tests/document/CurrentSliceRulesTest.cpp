#include <gtest/gtest.h>

#include "../common/StoredDocuments.h"
#include "document/CurrentSliceRules.h"

namespace quorvel::test {
namespace {

// Active slices at 1000, 3000 and 6000 of 10000 frames; one hidden at 4500.
class CurrentSliceRulesTest : public ::testing::Test {
protected:
    CurrentSliceRulesTest()
        : document_(DocumentWithSlices(10000, {NormalSlice(1000), NormalSlice(3000),
                                               {int32_t(SliceState::Hidden), false, 4500, 20000},
                                               NormalSlice(6000)}))
    {
    }
    int32_t Current() const { return document_->CurrentSlice() ? document_->CurrentSlice()->position : -1; }

    std::unique_ptr<CSoundDocument> document_;
};

TEST_F(CurrentSliceRulesTest, NextAndPreviousWalkTheActiveSlicesAndWrap)
{
    document_->SetCurrentPosition(3200);
    StepToNextSlice(*document_);
    EXPECT_EQ(Current(), 6000);
    EXPECT_EQ(document_->CurrentPosition(), 6000);
    StepToNextSlice(*document_);
    EXPECT_EQ(Current(), 1000);

    StepToPreviousSlice(*document_);
    EXPECT_EQ(Current(), 6000);
    StepToPreviousSlice(*document_);
    EXPECT_EQ(Current(), 3000); // the hidden slice is skipped
}

TEST_F(CurrentSliceRulesTest, WithoutASliceAtTheCursorOnlyZeroSteps)
{
    document_->SetCurrentPosition(500);
    StepToNextSlice(*document_);
    StepToPreviousSlice(*document_);
    EXPECT_EQ(Current(), -1);
    EXPECT_EQ(document_->CurrentPosition(), 500);

    document_->SetCurrentPosition(0);
    StepToNextSlice(*document_);
    EXPECT_EQ(Current(), 1000);
    document_->SetCurrentPosition(0);
    document_->SetCurrentSlice(nullptr);
    StepToPreviousSlice(*document_);
    EXPECT_EQ(Current(), 6000);
}

TEST_F(CurrentSliceRulesTest, ACurrentSliceThatStopsCuttingTheLoopGivesWay)
{
    document_->SetLocators(2000, 9000);
    CSlice& third = document_->Slices().At(3);
    document_->SetCurrentSlice(&third);
    document_->SetCurrentPosition(7000);
    EXPECT_FALSE(ReconcileCurrentSlice(*document_));

    // The slice before takes over: the cursor moves to its start.
    third.state = SliceState::Hidden;
    EXPECT_TRUE(ReconcileCurrentSlice(*document_));
    EXPECT_EQ(Current(), 3000);
    EXPECT_EQ(document_->CurrentPosition(), 3000);

    // The slice holding the cursor starts before the left locator while the
    // cursor is inside the loop: the cursor stops at the locator.
    document_->SetLocators(3500, 9000);
    CSlice& second = document_->Slices().At(1);
    document_->SetCurrentSlice(&third);
    document_->SetCurrentPosition(4000);
    EXPECT_TRUE(ReconcileCurrentSlice(*document_));
    EXPECT_EQ(document_->CurrentSlice(), &second);
    EXPECT_EQ(document_->CurrentPosition(), 3500);
    document_->SetLocators(2000, 9000);

    // No slice holds the cursor, inside the loop: the left locator.
    CSlice& first = document_->Slices().At(0);
    document_->SetCurrentSlice(&first);
    first.state = SliceState::Hidden;
    document_->SetCurrentPosition(2500);
    ASSERT_TRUE(document_->Slices().SliceAt(2500) == nullptr);
    EXPECT_TRUE(ReconcileCurrentSlice(*document_));
    EXPECT_EQ(Current(), -1);
    EXPECT_EQ(document_->CurrentPosition(), 2000);

    // No slice holds the cursor, before the left locator: back to 0.
    document_->SetCurrentSlice(&first);
    document_->SetCurrentPosition(1500);
    EXPECT_TRUE(ReconcileCurrentSlice(*document_));
    EXPECT_EQ(document_->CurrentPosition(), 0);
}

} // namespace
} // namespace quorvel::test
