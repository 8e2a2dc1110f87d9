#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include <gtest/gtest.h>

#include "QtPrinters.h"

#include "framework/window/Cursor.h"
#include "framework/window/MessageSource.h"
#include "framework/window/LengthyOperationPresenter.h"
#include "framework/window/LengthyOperationWindow.h"

namespace quorvel {
namespace {

TEST(LengthyOperationWindow, StopSetsTheFlagAndKeepsTheWindow)
{
    CQtLengthyOperationPresenter presenter;
    SProgressContent content;
    content.label = "Examining sound...";
    content.valueText = "12";
    content.count = 3;
    content.countRange = 12;
    std::unique_ptr<CABCProgressWindow> window = presenter.OpenProgressWindow(content);
    auto* qtWindow = dynamic_cast<CLengthyOperationWindow*>(window.get());
    ASSERT_NE(qtWindow, nullptr);
    EXPECT_TRUE(qtWindow->isVisible());
    EXPECT_TRUE(qtWindow->isModal());
    EXPECT_EQ(qtWindow->StopButton()->text(), "Stop");
    EXPECT_EQ(qtWindow->LabelText()->text(), "Examining sound...");
    EXPECT_EQ(qtWindow->ValueText()->text(), "12");
    EXPECT_EQ(qtWindow->Bar()->maximum(), 12);
    EXPECT_EQ(qtWindow->Bar()->value(), 3);

    EXPECT_FALSE(window->StopPressed());
    qtWindow->StopButton()->click();
    EXPECT_TRUE(window->StopPressed());
    EXPECT_TRUE(qtWindow->isVisible());

    // Escape means Stop too, and does not close either.
    CLengthyOperationWindow other;
    other.Show(content);
    other.reject();
    EXPECT_TRUE(other.StopPressed());
    EXPECT_TRUE(other.isVisible());
}

class CManualClock final : public CABCClock {
public:
    uint64_t now = 1000;
    uint64_t Milliseconds() const override { return now; }
    void Sleep(std::chrono::milliseconds duration) override { now += static_cast<uint64_t>(duration.count()); }
};

// The whole path: the operation opens the Qt window, the click travels
// through the message source, the operation sees Stop.
TEST(LengthyOperationWindow, StopReachesTheRunningOperation)
{
    CManualClock clock;
    CQtMessageSource source;
    CMainLoop loop(source, clock, [] {});
    CQtLengthyOperationPresenter presenter;
    CLengthyOperation operation({clock, presenter, loop}, "Exporting...");
    operation.SetShowAtOnce(true);
    clock.now += 300; // past one refresh interval
    operation.Update(5, 1);
    ASSERT_TRUE(operation.WindowOpen());
    auto* window = qobject_cast<CLengthyOperationWindow*>(QApplication::activeModalWidget());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->ValueText()->text(), "5");
    EXPECT_FALSE(operation.StopRequested());

    QMetaObject::invokeMethod(window->StopButton(), "click", Qt::QueuedConnection);
    clock.now += 300;
    operation.Update(6, 2);
    EXPECT_TRUE(operation.StopRequested());
    EXPECT_TRUE(window->isVisible());
}

TEST(LengthyOperationWindow, BusyCursorDoesNotStack)
{
    CQtLengthyOperationPresenter presenter;
    for (unsigned phase = 0; phase < 5; ++phase)
        presenter.ShowBusyCursor(phase);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    presenter.RestoreCursor();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_FALSE(BusyCursorShown());
}

} // namespace
} // namespace quorvel
