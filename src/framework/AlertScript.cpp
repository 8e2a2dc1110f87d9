#include "framework/AlertScript.h"

#include <algorithm>
#include <vector>

namespace quorvel {

namespace {

std::string TrimLineBreaks(std::string_view text)
{
    const auto isBreak = [](char c) { return c == '\r' || c == '\n'; };
    while (!text.empty() && isBreak(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBreak(text.back()))
        text.remove_suffix(1);
    return std::string(text);
}

AlertIcon ReadIconTag(std::string_view& script)
{
    static constexpr struct {
        std::string_view tag;
        AlertIcon icon;
    } kTags[] = {
        {"[STOP]", AlertIcon::Stop},
        {"[NOTE]", AlertIcon::Note},
        {"[WARN]", AlertIcon::Warn},
        {"[NONE]", AlertIcon::None},
    };
    for (const auto& [tag, icon] : kTags) {
        if (script.starts_with(tag)) {
            script.remove_prefix(tag.size());
            return icon;
        }
    }
    return AlertIcon::None;
}

} // namespace

AlertRecord ParseAlertScript(std::string_view script)
{
    AlertRecord record;
    record.icon = ReadIconTag(script);

    if (script.starts_with('[')) {
        const size_t close = script.find(']', 1);
        record.title = TrimLineBreaks(script.substr(1, close == std::string_view::npos ? close : close - 1));
        script.remove_prefix(close == std::string_view::npos ? script.size() : close + 1);
    }

    const size_t firstButton = script.find('[');
    record.message = TrimLineBreaks(script.substr(0, firstButton));
    script.remove_prefix(firstButton == std::string_view::npos ? script.size() : firstButton);

    // Every '[' opens one button, which runs to its ']' (or to the next '[').
    std::vector<std::string_view> listed;
    while (!script.empty()) {
        script.remove_prefix(1); // the '['
        const size_t end = script.find_first_of("[]");
        listed.push_back(script.substr(0, end));
        script.remove_prefix(end == std::string_view::npos ? script.size() : end);
        const size_t next = script.find('[');
        script.remove_prefix(next == std::string_view::npos ? script.size() : next);
    }

    // Three slots: further buttons are dropped instead of written past them.
    record.buttonCount = static_cast<int>(std::min(listed.size(), kAlertButtonSlots));
    for (int i = 0; i < record.buttonCount; ++i)
        record.buttons[static_cast<size_t>(record.buttonCount - 1 - i)] =
            std::string(listed[static_cast<size_t>(i)].substr(0, kMaxAlertButtonText));
    return record;
}

} // namespace quorvel
