#include <QMdiArea>
#include <QPointer>
#include <QScreen>
#include <QTimer>

#include <gtest/gtest.h>

#include "framework/window/Application.h"
#include "framework/window/DocumentWindow.h"

namespace quorvel {
namespace {

class CTestDocument : public CDocumentWindow {
public:
    explicit CTestDocument(int refusals = 0) : refusals_(refusals) { resize(200, 150); }
    bool MayClose() override { return refusals_-- <= 0; }

private:
    int refusals_;
};

TEST(FrameWindow, ArrangesTwoDocumentWindows)
{
    CFrameWindow frame;
    frame.resize(800, 600);
    frame.show();
    auto* first = new CTestDocument;
    auto* second = new CTestDocument;
    frame.AddDocumentWindow(first);
    frame.AddDocumentWindow(second);
    EXPECT_EQ(frame.DocumentWindows().size(), 2u);

    frame.Cascade();
    EXPECT_NE(first->pos(), second->pos());

    const QRect space = frame.Area().viewport()->rect();
    frame.TileVertically();
    EXPECT_EQ(first->height(), space.height());
    EXPECT_EQ(first->width() + second->width(), space.width());
    EXPECT_FALSE(first->geometry().intersects(second->geometry()));

    frame.TileHorizontally();
    EXPECT_EQ(first->width(), space.width());
    EXPECT_EQ(first->height() + second->height(), space.height());
    EXPECT_FALSE(first->geometry().intersects(second->geometry()));
}

TEST(FrameWindow, StayOnTopKeepsTheWindowShown)
{
    CFrameWindow frame;
    frame.show();
    frame.SetStayOnTop(true);
    EXPECT_TRUE(frame.StayOnTop());
    EXPECT_TRUE(frame.isVisible());
    frame.SetStayOnTop(false);
    EXPECT_FALSE(frame.StayOnTop());
    EXPECT_TRUE(frame.isVisible());
}

TEST(FrameWindow, ResizesToJustHoldTheDocuments)
{
    CFrameWindow frame;
    frame.setGeometry(50, 40, 700, 500);
    frame.show();
    const QRect before = frame.geometry();
    frame.ResizeToDocuments();
    EXPECT_EQ(frame.geometry(), before);

    auto* first = new CTestDocument;
    auto* second = new CTestDocument;
    frame.AddDocumentWindow(first);
    frame.AddDocumentWindow(second);
    first->move(30, 20);
    second->move(230, 60);
    const QSize chrome = frame.size() - frame.Area().contentsRect().size();
    frame.ResizeToDocuments();
    EXPECT_EQ(first->pos(), QPoint(0, 0));
    EXPECT_EQ(second->pos(), QPoint(200, 40));
    EXPECT_EQ(frame.size(), QSize(400, 190) + chrome);
    EXPECT_EQ(frame.geometry().topLeft(), before.topLeft());

    // Wider than the screen: cut to the screen, starting at its left edge.
    const QRect screenArea = frame.screen()->availableGeometry();
    second->resize(screenArea.width() + 300, 150);
    frame.ResizeToDocuments();
    EXPECT_EQ(frame.geometry().left(), screenArea.left());
    EXPECT_EQ(frame.geometry().width(), screenArea.width());
}

TEST(FrameWindow, CloseAllStopsAtTheFirstRefusal)
{
    CFrameWindow frame;
    frame.show();
    auto* back = new CTestDocument;
    auto* middle = new CTestDocument(1);
    auto* front = new CTestDocument;
    for (CTestDocument* window : {back, middle, front})
        frame.AddDocumentWindow(window);
    frame.Area().setActiveSubWindow(front);
    ASSERT_EQ(frame.FrontDocumentWindow(), front);

    EXPECT_FALSE(frame.CloseAll());
    EXPECT_EQ(frame.DocumentWindows().size(), 2u);
    EXPECT_TRUE(frame.CloseAll());
    EXPECT_TRUE(frame.DocumentWindows().empty());
}

class CTestApplication : public CApplication {
public:
    using CApplication::CApplication;
    int idleSteps = 0;
    int quitRequests = 0;
    std::vector<uint32_t> commands;
    QPointer<CDocumentWindow> document;
    QPointer<CDocumentWindow> closedByUser;
    bool deletedWhileRunning = false;

protected:
    bool Initialise() override
    {
        document = new CTestDocument(1);
        Frame().AddDocumentWindow(document);
        closedByUser = new CTestDocument;
        Frame().AddDocumentWindow(closedByUser);
        // The frame's close button asks twice; the document refuses once.
        QTimer::singleShot(50, [this] { AskToQuit(); });
        return true;
    }
    void IdleStep() override
    {
        // Closed outside any event delivery, as idle work may do.
        if (idleSteps++ == 0 && closedByUser)
            closedByUser->close();
    }
    bool HandleCommand(uint32_t command) override
    {
        commands.push_back(command);
        return false;
    }

private:
    void AskToQuit()
    {
        ++quitRequests;
        deletedWhileRunning = closedByUser.isNull();
        Frame().close();
        // Later, so that the loop has quiet passes with idle steps between.
        if (quitRequests < 2)
            QTimer::singleShot(50, [this] { AskToQuit(); });
    }
};

TEST(Application, QuitWaitsUntilEveryDocumentAgreed)
{
    CTestApplication app(*qApp, "Quorvel");
    app.AddIdleUser(); // polls, so the idle step runs on every pass
    EXPECT_EQ(app.Run(), 0);
    EXPECT_EQ(app.quitRequests, 2);
    EXPECT_TRUE(app.deletedWhileRunning);
    EXPECT_TRUE(app.Frame().DocumentWindows().empty());
    // Deleted by the loop, not merely hidden.
    EXPECT_TRUE(app.document.isNull());
    EXPECT_GT(app.idleSteps, 0);
    EXPECT_EQ(app.Loop().State(), RunState::kQuit);
}

TEST(Application, UnhandledArrangementCommandsReachTheFrame)
{
    CTestApplication app(*qApp, "Quorvel");
    auto* window = new CTestDocument;
    app.Frame().AddDocumentWindow(window);
    app.DispatchCommand(CApplication::kCmdCloseAll);
    EXPECT_EQ(app.commands, std::vector<uint32_t>{CApplication::kCmdCloseAll});
    EXPECT_TRUE(app.Frame().DocumentWindows().empty());
}

} // namespace
} // namespace quorvel
