#include <gtest/gtest.h>

#include "../common/StoredDocuments.h"
#include "document/SliceTools.h"

namespace quorvel::test {
namespace {

// Six Shown slices at 0, 1000, ... 5000.
class SliceToolsTest : public ::testing::Test {
protected:
    SliceToolsTest() : document_(EvenlySlicedDocument(6)) {}

    CSlice& Slice(int i) { return document_->Slices().At(i); }
    void Select(std::initializer_list<int> indices)
    {
        for (int i : indices)
            Slice(i).selected = true;
    }
    std::vector<int> Selected()
    {
        std::vector<int> selected;
        for (int i = 0; i < document_->Slices().Count(); ++i)
            if (Slice(i).selected)
                selected.push_back(i);
        return selected;
    }

    std::unique_ptr<CSoundDocument> document_;
};

TEST_F(SliceToolsTest, ArrowSelectsOnlyTheHitSliceOrFlipsItWithShift)
{
    Select({1, 2});
    EXPECT_TRUE(SelectWithHandle(document_->Slices(), Slice(4), false));
    EXPECT_EQ(Selected(), (std::vector<int>{4}));
    EXPECT_TRUE(Slice(1).changed && Slice(4).changed);
    EXPECT_FALSE(Slice(0).changed);

    EXPECT_TRUE(SelectWithHandle(document_->Slices(), Slice(2), true));
    EXPECT_EQ(Selected(), (std::vector<int>{2, 4}));
    EXPECT_TRUE(SelectWithHandle(document_->Slices(), Slice(4), true));
    EXPECT_EQ(Selected(), (std::vector<int>{2}));
    // Clicking the only selected slice again changes nothing.
    EXPECT_FALSE(SelectWithHandle(document_->Slices(), Slice(2), false));
}

TEST_F(SliceToolsTest, HideOnAHiddenSliceRevealsOnlyTheSelectedHiddenOnes)
{
    Select({1, 2, 3});
    Slice(2).state = SliceState::Hidden;
    Slice(5).state = SliceState::Hidden; // hidden but not selected
    EXPECT_TRUE(HideWithHandle(document_->Slices(), Slice(2)));
    EXPECT_EQ(Slice(2).state, SliceState::Normal);
    EXPECT_EQ(Slice(1).state, SliceState::Normal);
    EXPECT_EQ(Slice(3).state, SliceState::Normal);
    EXPECT_EQ(Slice(5).state, SliceState::Hidden);
    EXPECT_TRUE(Slice(2).changed);
    EXPECT_FALSE(Slice(1).changed);
    EXPECT_EQ(Selected(), (std::vector<int>{1, 2, 3}));
}

TEST_F(SliceToolsTest, HideOnAVisibleSliceHidesTheWholeSelection)
{
    Select({1, 3});
    Slice(3).state = SliceState::Locked;
    EXPECT_TRUE(HideWithHandle(document_->Slices(), Slice(1)));
    EXPECT_EQ(Slice(1).state, SliceState::Hidden);
    EXPECT_EQ(Slice(3).state, SliceState::Hidden);

    // A click outside the selection first makes the hit slice the selection.
    EXPECT_TRUE(HideWithHandle(document_->Slices(), Slice(4)));
    EXPECT_EQ(Selected(), (std::vector<int>{4}));
    EXPECT_EQ(Slice(4).state, SliceState::Hidden);
    EXPECT_EQ(Slice(1).state, SliceState::Hidden);
}

TEST_F(SliceToolsTest, LockFollowsTheHitSlicesState)
{
    Select({0, 1, 2});
    Slice(1).state = SliceState::Hidden;
    Slice(2).state = SliceState::Locked;
    // The hit slice is not Locked: every selected Shown slice locks.
    EXPECT_TRUE(LockWithHandle(document_->Slices(), Slice(0)));
    EXPECT_EQ(Slice(0).state, SliceState::Locked);
    EXPECT_EQ(Slice(1).state, SliceState::Locked);
    // Now it is: every selected Locked slice returns to Normal.
    EXPECT_TRUE(LockWithHandle(document_->Slices(), Slice(1)));
    for (int i : {0, 1, 2})
        EXPECT_EQ(Slice(i).state, SliceState::Normal) << i;
    EXPECT_FALSE(ApplyToolToHandle(DocumentTool::Lock, document_->Slices(), Slice(3), false) &&
                 Slice(3).state != SliceState::Locked);
}

TEST_F(SliceToolsTest, DragSelectsFromStartInclusiveToEndExclusiveAndAdds)
{
    Select({0});
    EXPECT_TRUE(SelectRange(document_->Slices(), 1000, 3000));
    EXPECT_EQ(Selected(), (std::vector<int>{0, 1, 2}));
    // A slice that is not Shown is never picked up.
    Slice(4).aboveThreshold = false;
    EXPECT_TRUE(SelectRange(document_->Slices(), 3000, 5001));
    EXPECT_EQ(Selected(), (std::vector<int>{0, 1, 2, 3, 5}));
    EXPECT_FALSE(SelectRange(document_->Slices(), 0, 1));
    EXPECT_TRUE(ClearSelection(document_->Slices()));
    EXPECT_TRUE(Selected().empty());
}

TEST_F(SliceToolsTest, PenAddsALockedSliceOnlyAtAFreePosition)
{
    EXPECT_EQ(PenRefusalAt(*document_, 2000), PenRefusal::SliceThere);
    EXPECT_EQ(InsertPenSlice(*document_, 2000), nullptr);
    EXPECT_FALSE(document_->Modified());
    EXPECT_EQ(PenRefusalAt(*document_, -1), PenRefusal::OutsideSound);
    EXPECT_EQ(InsertPenSlice(*document_, -1), nullptr);
    EXPECT_EQ(PenRefusalAt(*document_, 6000), PenRefusal::OutsideSound);
    EXPECT_EQ(InsertPenSlice(*document_, 6000), nullptr);
    EXPECT_EQ(PenRefusalAt(*document_, 2500), PenRefusal::None);

    // The current slice keeps naming the same slice across the insertion.
    document_->SetCurrentSlice(&Slice(3));
    const CSlice* added = InsertPenSlice(*document_, 2500);
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(document_->Slices().Count(), 7);
    EXPECT_EQ(added->position, 2500);
    EXPECT_EQ(added->state, SliceState::Locked);
    EXPECT_EQ(added->strength, kPenSliceStrength);
    EXPECT_TRUE(added->changed);
    EXPECT_TRUE(document_->Modified());
    EXPECT_EQ(document_->CurrentSlice()->position, 3000);
}

TEST(SliceTools, PenAddsNothingToAFullList)
{
    auto document = EvenlySlicedDocument(CSliceList::kCapacity, 10);
    EXPECT_EQ(PenRefusalAt(*document, 5), PenRefusal::ListFull);
    EXPECT_EQ(InsertPenSlice(*document, 5), nullptr);
    EXPECT_EQ(document->Slices().Count(), CSliceList::kCapacity);
    EXPECT_FALSE(document->Modified());
}

} // namespace
} // namespace quorvel::test
