// Files dragged from a file manager onto the program: dropped on the frame or
// on a document window they open as files named at start do.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>

#include <algorithm>
#include <memory>

#include "framework/CommandLine.h"
#include "framework/window/AlertBox.h"
#include "Quorvel.h"
#include "ui/views/WaveformPane.h"
#include "ui/window/QuorvelWindow.h"
#include "QtTestApplication.h"
#include "RunApplication.h"
#include "TestSounds.h"
#include "../common/TempFolder.h"

namespace quorvel::test {
namespace {

using gui::CQuorvel;

// File managers send the addresses as plain text as well.
std::unique_ptr<QMimeData> Dragged(const QList<QUrl>& urls)
{
    auto data = std::make_unique<QMimeData>();
    data->setUrls(urls);
    QStringList text;
    for (const QUrl& url : urls)
        text << url.toString();
    data->setText(text.join('\n'));
    return data;
}

QUrl Local(const std::string& path) { return QUrl::fromLocalFile(QString::fromStdString(path)); }

// What a file manager sends when the user drags with the move modifier.
bool SendDrag(QWidget& target, const QMimeData& data, Qt::DropAction* chosen = nullptr)
{
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::ShiftModifier);
    enter.setDropAction(Qt::MoveAction);
    QApplication::sendEvent(&target, &enter);
    if (chosen)
        *chosen = enter.dropAction();
    return enter.isAccepted();
}

bool SendDrop(QWidget& target, const QMimeData& data, Qt::DropAction* chosen = nullptr)
{
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::ShiftModifier);
    drop.setDropAction(Qt::MoveAction);
    QApplication::sendEvent(&target, &drop);
    if (chosen)
        *chosen = drop.dropAction();
    return drop.isAccepted();
}

class FileDropTest : public ::testing::Test {
protected:
    FileDropTest()
    {
        TestApplication();
        CAlertBox::SetResponder([this](const AlertRecord& record) {
            alerts.push_back(record.title + " " + record.message);
            return AlertResultForSlot(0);
        });
        WriteLoopWav(folder / "loop.wav");
        WriteLoopDocument(folder / "saved.qvl");
        WriteBytes(folder / "broken.wav", {'R', 'I', 'F', 'F', 0, 0});
    }
    ~FileDropTest() override
    {
        CAlertBox::SetResponder({});
        CModalDialog::SetAutoAnswer(std::nullopt);
    }

    TempFolder folder;
    std::vector<std::string> alerts;
};

TEST_F(FileDropTest, FilesDroppedOnTheFrameOpenEachInAWindowAndAnUnreadableOneIsNamed)
{
    CQuorvel application(TestApplication(), "", false);
    application.UseSilentCardOnly();
    bool webOnlyAccepted = true;
    bool enterAccepted = false;
    bool dropAccepted = false;
    Qt::DropAction enterAction = Qt::IgnoreAction;
    Qt::DropAction dropAction = Qt::IgnoreAction;
    size_t windowsDuringDrop = 99;
    std::vector<std::string> titles;
    int documentBars = 0;
    const int status = RunWith(application, [&] {
        CFrameWindow& frame = application.Frame();
        webOnlyAccepted = SendDrag(frame, *Dragged({QUrl("https://quorvel.example/loops/beat.wav")}));
        const auto files = Dragged({Local(folder / "loop.wav"), QUrl("https://quorvel.example/loops/beat.wav"),
                                    Local(folder / "broken.wav"), Local(folder / "saved.qvl")});
        enterAccepted = SendDrag(frame, *files, &enterAction);
        dropAccepted = SendDrop(frame, *files, &dropAction);
        windowsDuringDrop = application.DocumentWindows().size();
        Later(application, 0, [&] {
            for (CQuorvelWindow* window : application.DocumentWindows()) {
                titles.push_back(window->windowTitle().toStdString());
                if (window->Document().DocumentFile())
                    documentBars = window->Document().Bars();
            }
            application.Quit();
        });
    });
    EXPECT_EQ(status, 0);
    EXPECT_FALSE(webOnlyAccepted) << "nothing on this machine to open";
    EXPECT_TRUE(enterAccepted);
    EXPECT_TRUE(dropAccepted);
    EXPECT_EQ(enterAction, Qt::CopyAction) << "a move would let the file manager delete the file";
    EXPECT_EQ(dropAction, Qt::CopyAction);
    EXPECT_EQ(windowsDuringDrop, 0u) << "files open after the drop has returned to the file manager";
    ASSERT_EQ(titles.size(), 2u);
    EXPECT_EQ(documentBars, 5) << "the document restores its settings";
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_NE(alerts[0].find("\"broken.wav\""), std::string::npos) << alerts[0];
}

TEST_F(FileDropTest, AFileDroppedOnADocumentWindowsViewOrFieldOpensBesideIt)
{
    CQuorvel application(TestApplication(), "", false);
    application.UseSilentCardOnly();
    bool onView = false;
    bool onField = false;
    size_t windows = 0;
    QString barsText;
    const int status = RunWith(application, [&] {
        application.ReceiveCommandLine(JoinCommandLine(std::vector<std::string>{folder / "loop.wav"}));
        ASSERT_EQ(application.DocumentWindows().size(), 1u);
        CQuorvelWindow& window = *application.DocumentWindows().front();
        const auto files = Dragged({Local(folder / "saved.qvl")});
        onView = SendDrag(window.Pane(), *files) && SendDrop(window.Pane(), *files);
        // The Bars field: the only text field before New Tempo.
        QLineEdit* bars = window.findChildren<QLineEdit*>().value(0);
        ASSERT_NE(bars, nullptr);
        onField = SendDrag(*bars, *files) && SendDrop(*bars, *files);
        barsText = bars->text();
        Later(application, 0, [&] {
            windows = application.DocumentWindows().size();
            application.Quit();
        });
    });
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(onView);
    EXPECT_TRUE(onField);
    EXPECT_FALSE(barsText.contains("saved.qvl")) << "the path was typed into the field";
    EXPECT_EQ(windows, 3u);
    EXPECT_TRUE(alerts.empty());
}

} // namespace
} // namespace quorvel::test
