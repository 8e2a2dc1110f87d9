#include "framework/AlertContent.h"

#include "framework/TextResources.h"

namespace quorvel {

namespace {

bool IsUtf8Continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

std::string FillMarkers(std::string_view text, const std::vector<std::string>& arguments)
{
    std::string filled;
    filled.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '^' && i + 1 < text.size() && text[i + 1] >= '0' && text[i + 1] <= '9') {
            const auto index = static_cast<size_t>(text[i + 1] - '0');
            if (index < arguments.size()) {
                filled += arguments[index];
                ++i;
                continue;
            }
        }
        filled += text[i];
    }
    return filled;
}

} // namespace

std::string GuardAlertArgument(std::string_view argument)
{
    if (argument.size() > kMaxAlertArgumentLength) {
        size_t cut = kMaxAlertArgumentLength;
        while (cut > 0 && IsUtf8Continuation(argument[cut]))
            --cut;
        argument = argument.substr(0, cut);
    }
    std::string guarded(argument);
    for (char& c : guarded) {
        if (c == '[')
            c = '(';
        else if (c == ']')
            c = ')';
        else if (c == '^')
            c = '~';
    }
    return guarded;
}

CAlertContent::CAlertContent(std::string_view script) : script_(script.substr(0, kMaxAlertScript)) {}

CAlertContent CAlertContent::FromReference(CTextResources& resources, uint32_t reference)
{
    return CAlertContent(resources.AlertScript(reference));
}

void CAlertContent::AddArgument(std::string_view argument)
{
    if (arguments_.size() < kMaxAlertArguments)
        arguments_.push_back(GuardAlertArgument(argument));
}

AlertRecord CAlertContent::Record() const
{
    AlertRecord record = ParseAlertScript(script_);
    // Titles name files and ports too ("Couldn't load sound file "^0"!"), so
    // they are filled like the message.
    record.title = FillMarkers(record.title, arguments_);
    record.message = FillMarkers(record.message, arguments_);
    return record;
}

} // namespace quorvel
