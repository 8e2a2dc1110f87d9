#include "FramePlacement.h"

#include <algorithm>

#include <QByteArray>
#include <QDataStream>
#include <QIODevice>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>

#include "fileformats/PreferencesFile.h"
#include "framework/window/FrameWindow.h"

namespace quorvel::gui {
namespace {

// The placement record: a version, how the window was shown, and its normal
// (not maximised) client-area rectangle. The client area is kept rather than
// the outer frame, because the frame's size is known only once the window
// manager has decorated the window: restoring a frame rectangle before that
// moves the window by its border width at every run.
constexpr quint8 kPlacementVersion = 1;
constexpr qint32 kShownNormal = 1;
constexpr qint32 kShownMinimised = 2;
constexpr qint32 kShownMaximised = 3;

QSettings Settings() { return QSettings(SettingsFilePath(), QSettings::IniFormat); }

bool OnSomeScreen(const QRect& rectangle)
{
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen->availableVirtualGeometry().intersects(rectangle))
            return true;
    return false;
}

// Without a stored place: most of the screen, centred, so that a document
// window's 640 x 360 fits with room for more beside it.
void PlaceByDefault(CFrameWindow& frame)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    const QRect available = screen->availableGeometry();
    const QSize size(std::min(available.width(), std::max(900, available.width() * 4 / 5)),
                     std::min(available.height(), std::max(620, available.height() * 4 / 5)));
    frame.resize(size);
    frame.move(available.center() - QPoint(size.width() / 2, size.height() / 2));
}

} // namespace

QString SettingsFilePath()
{
    return QString::fromStdString(PreferencesFolder() + "/" + kSettingsFileName);
}

void RestoreFramePlacement(CFrameWindow& frame)
{
    const QSettings settings = Settings();
    QByteArray record = settings.value(kPlacementKey).toByteArray();
    QDataStream in(&record, QIODevice::ReadOnly);
    quint8 version = 0;
    qint32 shown = 0;
    QRect normal;
    in >> version >> shown >> normal;
    // A damaged record, a minimised window, or a place on a screen that is no
    // longer there: the window opens where the platform puts it.
    if (in.status() == QDataStream::Ok && version == kPlacementVersion &&
        (shown == kShownNormal || shown == kShownMaximised) && normal.isValid() && OnSomeScreen(normal)) {
        frame.setGeometry(normal);
        if (shown == kShownMaximised)
            frame.setWindowState(frame.windowState() | Qt::WindowMaximized);
    } else {
        PlaceByDefault(frame);
    }
    if (settings.contains(kStayOnTopKey))
        frame.SetStayOnTop(settings.value(kStayOnTopKey).toBool());
}

void SaveFramePlacement(const CFrameWindow& frame)
{
    QByteArray record;
    QDataStream out(&record, QIODevice::WriteOnly);
    const qint32 shown = frame.isMaximized() ? kShownMaximised : frame.isMinimized() ? kShownMinimised : kShownNormal;
    // A maximised or minimised window reports its normal rectangle here.
    const QRect normal = frame.isMaximized() || frame.isMinimized() ? frame.normalGeometry() : frame.geometry();
    out << kPlacementVersion << shown << normal;

    QSettings settings = Settings();
    settings.setValue(kPlacementKey, record);
    settings.setValue(kStayOnTopKey, frame.StayOnTop());
    settings.sync();
}

} // namespace quorvel::gui
