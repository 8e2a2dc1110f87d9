#pragma once
// The Help menu's pages, shown by the desktop's default browser.
#include <cstdint>
#include <functional>

class QUrl;
class QWidget;

namespace quorvel {

// True when the desktop has a program that opens web pages.
bool WebBrowserAvailable();
// Opens the page of command 1401 to 1404; alert 100 when no browser starts.
void OpenWebPage(uint32_t command, QWidget* parent);
// Opens the manual's contents page in the browser, or in a window of the
// program's own when no browser starts; says so when it cannot be found.
void OpenManual(QWidget* parent);

// How addresses reach the desktop's browser (true when one started); tests
// replace it. An empty function restores the desktop's.
using UrlOpener = std::function<bool(const QUrl&)>;
void SetUrlOpener(UrlOpener opener);

} // namespace quorvel
