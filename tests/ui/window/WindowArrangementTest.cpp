// The Windows menu's arrangements in a frame too small for them: every
// document window keeps room for both rows of its controls, and what does
// not fit is reached by scrolling the document area.
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QSlider>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "WindowTestServices.h"
#include "framework/window/FrameWindow.h"
#include "ui/window/QuorvelWindow.h"
#include "ui/window/WindowControls.h"

namespace quorvel::test {
namespace {

class WindowArrangementTest : public ::testing::Test {
protected:
    WindowArrangementTest()
    {
        frame_.resize(700, 500);
        frame_.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&frame_));
        for (int i = 0; i < 3; ++i) {
            auto* window = new CQuorvelWindow(EvenlySlicedDocument(8, 4000), services_);
            frame_.AddDocumentWindow(window);
            windows_.push_back(window);
        }
        QCoreApplication::processEvents();
    }

    // Every control of both rows lies inside the part of the window's
    // content that the window shows.
    void ExpectAllControlsShown(const char* arrangement)
    {
        for (CQuorvelWindow* window : windows_) {
            const QSize least = window->ArrangedMinimumSize();
            EXPECT_GE(window->width(), least.width()) << arrangement;
            EXPECT_GE(window->height(), least.height()) << arrangement;
            CWindowControls& controls = window->Controls();
            EXPECT_GE(controls.width(), controls.sizeHint().width()) << arrangement << ": the rows are cut off";
            const QRect shown = window->widget()->rect();
            const std::vector<QWidget*> rightmost{controls.Transmit(), controls.TempoText(), controls.StretchFader()};
            for (QWidget* control : rightmost) {
                const QRect place(control->mapTo(window->widget(), QPoint(0, 0)), control->size());
                EXPECT_TRUE(shown.contains(place)) << arrangement;
            }
        }
    }

    CTestServices services_;
    CFrameWindow frame_;
    std::vector<CQuorvelWindow*> windows_;
};

TEST_F(WindowArrangementTest, NoArrangementCutsTheControlsOff)
{
    // The smallest size still shows the controls at their natural width;
    // it is far larger than the least a user may drag a window to.
    const QSize least = windows_.front()->ArrangedMinimumSize();
    EXPECT_GT(least.width(), 400);
    EXPECT_GT(least.height(), 256);

    const std::vector<std::pair<const char*, std::function<void()>>> arrangements{
        {"cascade", [this] { frame_.Cascade(); }},
        {"tile horizontally", [this] { frame_.TileHorizontally(); }},
        {"tile vertically", [this] { frame_.TileVertically(); }},
    };
    for (const auto& [name, arrange] : arrangements) {
        // Also from a maximised front window.
        windows_.back()->showMaximized();
        arrange();
        QCoreApplication::processEvents();
        EXPECT_FALSE(windows_.back()->isMaximized()) << name;
        ExpectAllControlsShown(name);
    }
}

TEST_F(WindowArrangementTest, WindowsBeyondTheAreaAreReachedByScrolling)
{
    frame_.TileVertically();
    QCoreApplication::processEvents();
    // Three windows side by side do not fit 700 pixels; they do not overlap
    // either, and the area scrolls to the last one.
    for (size_t i = 1; i < windows_.size(); ++i)
        EXPECT_GE(windows_[i]->x(), windows_[i - 1]->geometry().right()) << i;
    EXPECT_GT(frame_.Area().horizontalScrollBar()->maximum(), 0);

    frame_.Cascade();
    QCoreApplication::processEvents();
    // All the same size, each a title bar further right and down.
    EXPECT_EQ(windows_[0]->size(), windows_[2]->size());
    EXPECT_LT(windows_[0]->x(), windows_[1]->x());
    EXPECT_LT(windows_[1]->y(), windows_[2]->y());
}

} // namespace
} // namespace quorvel::test
