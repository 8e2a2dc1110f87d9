#include "ui/app/ManualWindow.h"

#include <QPointer>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace quorvel {

namespace {

QPointer<CManualWindow> shownWindow;

} // namespace

CManualWindow::CManualWindow(const std::string& indexPage, QWidget* parent)
    : QWidget(parent, Qt::Window), browser_(new QTextBrowser(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    // Pages of the manual open here; addresses elsewhere go to whatever the
    // desktop has for them.
    browser_->setOpenExternalLinks(true);
    connect(browser_, &QTextBrowser::sourceChanged, this, [this] { setWindowTitle(browser_->documentTitle()); });
    browser_->setSource(QUrl::fromLocalFile(QString::fromStdString(indexPage)));
    setWindowTitle(browser_->documentTitle());
    resize(760, 620);
}

CManualWindow& CManualWindow::Show(const std::string& indexPage, QWidget* parent)
{
    if (!shownWindow) {
        shownWindow = new CManualWindow(indexPage, parent);
        shownWindow->setAttribute(Qt::WA_DeleteOnClose);
    }
    shownWindow->show();
    shownWindow->raise();
    shownWindow->activateWindow();
    return *shownWindow;
}

} // namespace quorvel
