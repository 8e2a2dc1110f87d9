#pragma once
// The HTML manual in a window of the program's own, for a desktop where no
// browser starts: Help works wherever the program does.
#include <QWidget>

#include <string>

class QTextBrowser;

namespace quorvel {

class CManualWindow final : public QWidget {
    Q_OBJECT
public:
    // Shows `indexPage` (a local HTML file); its links to the manual's other
    // pages and pictures are followed in the window.
    explicit CManualWindow(const std::string& indexPage, QWidget* parent = nullptr);

    QTextBrowser& Browser() const { return *browser_; }

    // The one manual window, made or brought forward; owned by `parent`.
    static CManualWindow& Show(const std::string& indexPage, QWidget* parent);

private:
    QTextBrowser* browser_;
};

} // namespace quorvel
