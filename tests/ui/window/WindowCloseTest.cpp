#include <QMdiArea>
#include <QPointer>

#include <gtest/gtest.h>

#include "../../common/TempFolder.h"
#include "WindowTestServices.h"
#include "framework/window/AlertBox.h"
#include "ui/views/ViewActions.h"
#include "ui/window/QuorvelWindow.h"
#include "ui/window/SaveBeforeCloseDialog.h"

namespace quorvel::test {
namespace {

class WindowCloseTest : public ::testing::Test {
protected:
    WindowCloseTest()
    {
        window_ = new CQuorvelWindow(EvenlySlicedDocument(4), services_);
        CAlertBox::SetResponder([this](const AlertRecord& record) {
            alerts_.push_back(record.message);
            return AlertResultForSlot(0);
        });
    }
    ~WindowCloseTest() override
    {
        CModalDialog::SetAutoAnswer(std::nullopt);
        CAlertBox::SetResponder(nullptr);
        delete window_.data();
    }
    CSoundDocument& Document() { return window_->Document(); }

    CTestServices services_;
    QPointer<CQuorvelWindow> window_;
    TempFolder folder_;
    std::vector<std::string> alerts_;
};

TEST_F(WindowCloseTest, NoClosesWithoutSavingAndCancelKeepsTheWindow)
{
    CModalDialog::SetAutoAnswer(CSaveBeforeCloseDialog::Cancel);
    EXPECT_FALSE(window_->MayClose());
    CModalDialog::SetAutoAnswer(CSaveBeforeCloseDialog::No);
    EXPECT_TRUE(window_->MayClose());
    EXPECT_TRUE(services_.dialogs.saveRequests.empty());
}

TEST_F(WindowCloseTest, YesSavesANeverSavedSoundThroughSaveAs)
{
    // Save is not offered for a sound that was never saved, but closing
    // still writes a document.
    EXPECT_FALSE(window_->CommandStatus(CQuorvelWindow::kCmdSave)->enabled);
    EXPECT_TRUE(window_->CommandStatus(CQuorvelWindow::kCmdSaveAs)->enabled);

    CModalDialog::SetAutoAnswer(CSaveBeforeCloseDialog::Yes);
    // The Save As dialog cancelled: the window stays open.
    EXPECT_FALSE(window_->MayClose());
    ASSERT_EQ(services_.dialogs.saveRequests.size(), 1u);
    EXPECT_EQ(services_.dialogs.saveRequests[0].title, "Save Quorvel! Document");
    EXPECT_EQ(services_.dialogs.saveRequests[0].typeName, "Quorvel! Document File");
    EXPECT_EQ(services_.dialogs.saveRequests[0].defaultName, "Loop.qvl");

    const std::string path = folder_ / "Saved.qvl";
    services_.dialogs.saveAnswers.push_back(path);
    EXPECT_TRUE(window_->MayClose());
    EXPECT_FALSE(ReadBytes(path).empty());
    EXPECT_FALSE(Document().Modified());
    EXPECT_EQ(Document().DocumentFile(), path);
    EXPECT_STREQ(Document().Sound()->Name(), "Saved.qvl");
    EXPECT_EQ(window_->windowTitle().toStdString(), "Saved.qvl (44.1kHz)");

    // Saved and unchanged: closing asks nothing.
    CModalDialog::SetAutoAnswer(CSaveBeforeCloseDialog::Cancel);
    EXPECT_TRUE(window_->MayClose());
}

TEST_F(WindowCloseTest, AFailedSaveShowsItsAlertAndKeepsTheWindow)
{
    services_.dialogs.saveAnswers.push_back(folder_ / "missing/folder/Loop.qvl");
    CModalDialog::SetAutoAnswer(CSaveBeforeCloseDialog::Yes);
    EXPECT_FALSE(window_->MayClose());
    ASSERT_EQ(alerts_.size(), 1u);
    EXPECT_NE(alerts_[0].find("You may have run out of memory or disk space."), std::string::npos);
    EXPECT_STREQ(Document().Sound()->Name(), "Loop.aif");
    EXPECT_FALSE(Document().DocumentFile());
}

TEST_F(WindowCloseTest, ClosingStopsThisWindowsPlayback)
{
    CModalDialog::SetAutoAnswer(CSaveBeforeCloseDialog::Cancel);
    window_->Actions().WaveformClicked(10);
    ASSERT_TRUE(services_.player.IsPlaying(Document().Sound()));
    EXPECT_FALSE(window_->MayClose());
    EXPECT_FALSE(services_.player.IsPlaying(Document().Sound()));
}

TEST_F(WindowCloseTest, TheClosedWindowLeavesItsFileAndDefaultsBehind)
{
    Document().SetSourceFile("/loops/Loop.aif");
    Document().SetStretchIndex(5);
    Document().SetTransmitNormalized(true);
    window_->Actions().WaveformClicked(10);
    CModalDialog::SetAutoAnswer(CSaveBeforeCloseDialog::No);
    EXPECT_TRUE(window_->RequestClose());
    delete window_.data();
    EXPECT_FALSE(services_.player.IsPlaying(nullptr));
    EXPECT_EQ(services_.player.Sound(), nullptr);
    ASSERT_EQ(services_.settings.recentDocuments.Paths().size(), 1u);
    EXPECT_EQ(services_.settings.recentDocuments.Paths().front(), "/loops/Loop.aif");
    EXPECT_EQ(services_.settings.documentDefaults.stretchIndex, 5);
    EXPECT_TRUE(services_.settings.documentDefaults.transmitNormalized);
}

TEST_F(WindowCloseTest, LeftLocatorMovesToTheFirstSliceOnYesOrByPreference)
{
    auto later = [this](int32_t first) {
        return new CQuorvelWindow(DocumentWithSlices(10000, {NormalSlice(first), NormalSlice(5000)}), services_);
    };
    std::unique_ptr<CQuorvelWindow> asked(later(700));
    asked->OfferLeftLocatorMove();
    ASSERT_EQ(alerts_.size(), 1u);
    EXPECT_EQ(alerts_[0], "Do you want to move the left locator to the first slice point?");
    EXPECT_EQ(asked->Document().Sound()->LoopStart(), 700);
    EXPECT_EQ(asked->Document().CurrentPosition(), 700);
    EXPECT_TRUE(asked->Document().Modified());

    CAlertBox::SetResponder([](const AlertRecord&) { return AlertResultForSlot(1); }); // No
    std::unique_ptr<CQuorvelWindow> refused(later(700));
    refused->OfferLeftLocatorMove();
    EXPECT_EQ(refused->Document().Sound()->LoopStart(), 0);

    services_.settings.application.alwaysMoveLeftLocator = true;
    std::unique_ptr<CQuorvelWindow> preferred(later(900));
    preferred->OfferLeftLocatorMove();
    EXPECT_EQ(preferred->Document().Sound()->LoopStart(), 900);
}

TEST_F(WindowCloseTest, AHiddenCurrentSliceHandsOverAtTheNextRefresh)
{
    // Slices at 0, 1000, 2000, 3000; the third is current.
    CSlice& third = Document().Slices().At(2);
    Document().SetCurrentSlice(&third);
    Document().SetCurrentPosition(2500);
    Document().SetTool(DocumentTool::Hide);
    window_->Actions().SliceHandlePressed(third, false);
    EXPECT_EQ(third.state, SliceState::Hidden);
    ASSERT_NE(Document().CurrentSlice(), nullptr);
    EXPECT_EQ(Document().CurrentSlice()->position, 1000);
    EXPECT_EQ(Document().CurrentPosition(), 1000);
    EXPECT_TRUE(Document().Modified());
}

TEST(WindowDestruction, TheActiveWindowInAnAreaCanBeDeleted)
{
    // The area reports the deactivation from Qt's own destructor, after the
    // window's parts are gone.
    CTestServices services;
    QMdiArea area;
    auto* window = new CQuorvelWindow(EvenlySlicedDocument(4), services);
    area.addSubWindow(window);
    area.show();
    window->show();
    area.setActiveSubWindow(window);
    ASSERT_EQ(area.activeSubWindow(), window);
    delete window;
    EXPECT_TRUE(area.subWindowList().isEmpty());
    EXPECT_EQ(services.Settings().documentDefaults.stretchIndex, 0);
}

} // namespace
} // namespace quorvel::test
