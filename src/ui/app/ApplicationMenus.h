#pragma once
// Puts the variable items into the application's menus just before they
// show: recent documents above Quit, installed samplers after Silence
// Selected, the open document windows at the end of the Windows menu. Each
// list brings its own separator and takes it away again when it empties.
#include <string>
#include <vector>

namespace quorvel {

class CMenu;

void ShowRecentDocuments(CMenu& fileMenu, const std::vector<std::string>& paths);
void ShowInstalledSamplers(CMenu& samplerMenu, const std::vector<std::string>& names);
void ShowWindowList(CMenu& windowsMenu, const std::vector<std::string>& titles);

} // namespace quorvel
