#include "fileformats/PortableFileName.h"

#include "framework/UTF8Text.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string_view>

namespace quorvel {

namespace {

bool Refused(unsigned char c) { return c < 0x20 || c == 0x7F || std::strchr("/\\:*?\"<>|", c) != nullptr; }

std::string Upper(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

bool ReservedDeviceName(const std::string& name)
{
    static constexpr std::array<std::string_view, 22> kReserved{
        "CON",  "PRN",  "AUX",  "NUL",  "COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7",
        "COM8", "COM9", "LPT1", "LPT2", "LPT3", "LPT4", "LPT5", "LPT6", "LPT7", "LPT8", "LPT9"};
    const std::string stem = Upper(name.substr(0, name.find('.')));
    return std::find(kReserved.begin(), kReserved.end(), stem) != kReserved.end();
}

void DropTrailingDotsAndBlanks(std::string& name)
{
    while (!name.empty() && (name.back() == '.' || name.back() == ' '))
        name.pop_back();
}

} // namespace

std::string PortableFileName(const std::string& name, size_t maxBytes, const std::string& fallback)
{
    std::string portable;
    for (const char c : name)
        portable += Refused(static_cast<unsigned char>(c)) ? '_' : c;
    portable = CutUTF8(portable, maxBytes);
    DropTrailingDotsAndBlanks(portable);
    // A name of dots alone ("..") would name a folder that already exists.
    if (portable.find_first_not_of(". ") == std::string::npos)
        portable = fallback;
    if (ReservedDeviceName(portable))
        portable.insert(std::min(portable.find('.'), portable.size()), 1, '_');
    return portable;
}

std::string NumberedSliceFileName(const std::string& portableName, int index, const std::string& extension)
{
    char number[16];
    std::snprintf(number, sizeof number, "_%03d", index + 1);
    return portableName + number + extension;
}

} // namespace quorvel
