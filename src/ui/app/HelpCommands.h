#pragma once
// The Help menu's pages, shown by the desktop's default browser.
#include <cstdint>

class QWidget;

namespace quorvel {

// True when the desktop has a program that opens web pages.
bool WebBrowserAvailable();
// Opens the page of command 1401 to 1404; alert 100 when no browser starts.
void OpenWebPage(uint32_t command, QWidget* parent);
// Opens the manual's contents page; says so when it cannot be found or shown.
void OpenManual(QWidget* parent);

} // namespace quorvel
