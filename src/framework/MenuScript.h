#pragma once
// A portable menu is one entry of a menu resource, elements split at ';':
//
//   File~F;Open...#O=1000?100000~O;-;Quit#Q=1008?100080~Q
//
// The first element is the title, the others the items. After an element's
// text come optional fields: '#' accelerator character (Ctrl+that key),
// '=' command number, '?' help number, '~' mnemonic character. "-" is a
// separator. Popups ("Beats;0;1;2") are the same with plain items.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

constexpr size_t kMaxMenuItemText = 63;

enum class MenuItemKind : uint8_t { Item, Separator };

struct MenuItemRecord {
    MenuItemKind kind = MenuItemKind::Item;
    std::string text;   // at most 63 characters
    uint32_t command = 0; // 0: none
    uint32_t help = 0;    // 0: none
    char accelerator = 0; // upper case; 0: none
    char mnemonic = 0;    // 0: none
    // State the window layer keeps current while the menu lives.
    bool enabled = true;
    bool checked = false;

    friend bool operator==(const MenuItemRecord&, const MenuItemRecord&) = default;
};

struct MenuRecord {
    std::string title;
    char titleMnemonic = 0;
    std::vector<MenuItemRecord> items;
};

MenuRecord ParseMenuScript(std::string_view script);

// The label a menu shows: the text with '&' before the mnemonic's first
// occurrence in the same case, else in any case (a literal '&' doubled), then "\tCtrl+<key>" when the item has
// an accelerator.
std::string MenuItemLabel(const MenuItemRecord& item);
std::string MarkMnemonic(std::string_view text, char mnemonic);

} // namespace quorvel
