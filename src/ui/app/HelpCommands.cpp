#include "ui/app/HelpCommands.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

#include <string>

#include "framework/AlertContent.h"
#include "framework/ResourceReference.h"
#include "framework/window/AlertBox.h"
#include "ui/app/HelpLocations.h"
#include "ui/app/ManualWindow.h"

namespace quorvel {

namespace {

constexpr uint32_t kNoBrowser = AlertReference(129, 100);

// A build that was never installed finds the manual in the tree it was built
// from (an absolute path, whatever the folder the program runs in).
std::string SourceFolder() { return QUORVEL_SOURCE_TREE; }

UrlOpener& Opener()
{
    static UrlOpener opener = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    return opener;
}

bool OpenUrl(const QUrl& url) { return Opener()(url); }

} // namespace

void SetUrlOpener(UrlOpener opener)
{
    Opener() = opener ? std::move(opener) : [](const QUrl& url) { return QDesktopServices::openUrl(url); };
}

bool WebBrowserAvailable()
{
    return !qEnvironmentVariableIsEmpty("BROWSER") || !QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty();
}

void OpenWebPage(uint32_t command, QWidget* parent)
{
    const std::string address = WebPageAddress(command);
    if (address.empty())
        return;
    if (!OpenUrl(QUrl(QString::fromStdString(address))))
        ShowAlert(kNoBrowser, {}, parent);
}

void OpenManual(QWidget* parent)
{
    const std::vector<std::string> candidates =
        ManualCandidates(QCoreApplication::applicationDirPath().toStdString(), SourceFolder());
    const std::optional<std::string> manual =
        FindManual(candidates, [](const std::string& path) { return QFileInfo(QString::fromStdString(path)).isFile(); });
    if (!manual) {
        CAlertContent content("[STOP][The manual could not be found!]It is not installed with this copy of Quorvel!.[OK]");
        CAlertBox(content, parent).RunModal();
        return;
    }
    // The manual is ours and on this machine: without a browser it still
    // shows, in a window of our own.
    if (!OpenUrl(QUrl::fromLocalFile(QString::fromStdString(*manual))))
        CManualWindow::Show(*manual, parent);
}

} // namespace quorvel
