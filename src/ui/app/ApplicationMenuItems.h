#pragma once
// The variable items of the application's menus, as menu records: the
// recent documents in the File menu, the installed samplers in the Sampler
// menu and the open document windows in the Windows menu.
#include <cstdint>
#include <string>
#include <vector>

#include "framework/MenuScript.h"

namespace quorvel {

constexpr uint32_t kCmdOpenRecentFirst = 1010;
constexpr uint32_t kCmdChooseSamplerFirst = 1210;
// One past the last numbered item of either list (1010 + 88, 1210 + 88).
constexpr size_t kMaxNumberedMenuItems = 89;
// The Windows menu's list of document windows; a range of our own, outside
// the numbers the menu scripts use.
constexpr uint32_t kCmdShowWindowFirst = 1550;
constexpr size_t kMaxListedWindows = 40;

// "%d %s": the number from 1 and the file's name (without folder), the
// number's first digit as mnemonic; at most 89 items.
std::vector<MenuItemRecord> RecentDocumentItems(const std::vector<std::string>& paths);

// One item per sampler name, at most 89, commands from 1210.
std::vector<MenuItemRecord> SamplerItems(const std::vector<std::string>& names);

// One item per window title, at most 40, commands from 1550.
std::vector<MenuItemRecord> WindowListItems(const std::vector<std::string>& titles);

} // namespace quorvel
