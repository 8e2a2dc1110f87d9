#include "ui/app/ApplicationMenuItems.h"

#include <algorithm>

namespace quorvel {

namespace {

MenuItemRecord Item(std::string text, uint32_t command, char mnemonic = 0)
{
    MenuItemRecord item;
    item.text = std::move(text);
    if (item.text.size() > kMaxMenuItemText) {
        // Never inside a UTF-8 character.
        size_t cut = kMaxMenuItemText;
        while (cut > 0 && (static_cast<unsigned char>(item.text[cut]) & 0xC0) == 0x80)
            --cut;
        item.text.resize(cut);
    }
    item.command = command;
    item.mnemonic = mnemonic;
    return item;
}

std::string FileNameOf(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

std::vector<MenuItemRecord> RecentDocumentItems(const std::vector<std::string>& paths)
{
    std::vector<MenuItemRecord> items;
    const size_t count = std::min(paths.size(), kMaxNumberedMenuItems);
    for (size_t i = 0; i < count; ++i) {
        const std::string number = std::to_string(i + 1);
        items.push_back(Item(number + " " + FileNameOf(paths[i]), kCmdOpenRecentFirst + static_cast<uint32_t>(i),
                             number[0]));
    }
    return items;
}

std::vector<MenuItemRecord> SamplerItems(const std::vector<std::string>& names)
{
    std::vector<MenuItemRecord> items;
    const size_t count = std::min(names.size(), kMaxNumberedMenuItems);
    for (size_t i = 0; i < count; ++i)
        items.push_back(Item(names[i], kCmdChooseSamplerFirst + static_cast<uint32_t>(i)));
    return items;
}

std::vector<MenuItemRecord> WindowListItems(const std::vector<std::string>& titles)
{
    std::vector<MenuItemRecord> items;
    const size_t count = std::min(titles.size(), kMaxListedWindows);
    for (size_t i = 0; i < count; ++i)
        items.push_back(Item(titles[i], kCmdShowWindowFirst + static_cast<uint32_t>(i)));
    return items;
}

} // namespace quorvel
