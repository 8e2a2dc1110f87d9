#include "framework/MenuScript.h"

#include <algorithm>
#include <cctype>

namespace quorvel {

namespace {

constexpr std::string_view kFieldMarkers = "#=?~";

char Upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

// Decimal digits at the start of `text`; 0 when there are none or the number
// does not fit.
uint32_t ReadNumber(std::string_view text)
{
    uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            break;
        value = value * 10 + static_cast<uint64_t>(c - '0');
        if (value > UINT32_MAX)
            return 0;
    }
    return static_cast<uint32_t>(value);
}

MenuItemRecord ParseElement(std::string_view element)
{
    while (element.starts_with(' '))
        element.remove_prefix(1);

    MenuItemRecord item;
    const size_t textEnd = std::min(element.find_first_of(kFieldMarkers), element.size());
    item.text = std::string(element.substr(0, std::min(textEnd, kMaxMenuItemText)));
    if (item.text == "-")
        item.kind = MenuItemKind::Separator;

    size_t at = textEnd;
    while (at < element.size()) {
        const char marker = element[at++];
        const std::string_view value = element.substr(at);
        switch (marker) {
        case '#':
            // One character, even a marker character ("#=" is Ctrl+=).
            if (!value.empty()) {
                item.accelerator = Upper(value.front());
                ++at;
            }
            break;
        case '~':
            if (!value.empty()) {
                item.mnemonic = value.front();
                ++at;
            }
            break;
        case '=':
            item.command = ReadNumber(value);
            break;
        case '?':
            item.help = ReadNumber(value);
            break;
        }
        at = std::min(element.find_first_of(kFieldMarkers, at), element.size());
    }
    return item;
}

} // namespace

MenuRecord ParseMenuScript(std::string_view script)
{
    MenuRecord menu;
    bool first = true;
    while (true) {
        const size_t end = script.find(';');
        const std::string_view element = script.substr(0, end);
        if (first) {
            const MenuItemRecord title = ParseElement(element);
            menu.title = title.text;
            menu.titleMnemonic = title.mnemonic;
            first = false;
        } else if (element.find_first_not_of(' ') != std::string_view::npos) {
            // An empty element (";;" or a trailing ';') is no item.
            menu.items.push_back(ParseElement(element));
        }
        if (end == std::string_view::npos)
            break;
        script.remove_prefix(end + 1);
    }
    return menu;
}

std::string MarkMnemonic(std::string_view text, char mnemonic)
{
    // The letter as written wins over an earlier one in the other case:
    // "Save As..." with 'A' underlines the A of "As", not the a of "Save".
    size_t at = std::string_view::npos;
    if (mnemonic != 0) {
        at = text.find(mnemonic);
        if (at == std::string_view::npos)
            at = static_cast<size_t>(std::find_if(text.begin(), text.end(), [mnemonic](char c) {
                                         return Upper(c) == Upper(mnemonic);
                                     }) - text.begin());
    }
    std::string marked;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (i == at)
            marked += '&';
        if (c == '&')
            marked += '&';
        marked += c;
    }
    return marked;
}

std::string MenuItemLabel(const MenuItemRecord& item)
{
    std::string label = MarkMnemonic(item.text, item.mnemonic);
    if (item.accelerator) {
        label += "\tCtrl+";
        label += item.accelerator;
    }
    return label;
}

} // namespace quorvel
