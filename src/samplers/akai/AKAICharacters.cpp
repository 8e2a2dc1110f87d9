#include "samplers/akai/AKAICharacters.h"

#include <cctype>

namespace quorvel::akai {

namespace {
constexpr std::string_view kAlphabet = "0123456789 ABCDEFGHIJKLMNOPQRSTUVWXYZ#+-.";
} // namespace

uint8_t CharacterCode(char c)
{
    const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const size_t at = kAlphabet.find(upper);
    return at == std::string_view::npos ? kSpaceCode : static_cast<uint8_t>(at);
}

char CodeCharacter(uint8_t code) { return code < kAlphabet.size() ? kAlphabet[code] : ' '; }

void EncodeName(std::string_view name, uint8_t* codes)
{
    for (int32_t i = 0; i < kNameLength; ++i)
        codes[i] = static_cast<size_t>(i) < name.size() ? CharacterCode(name[static_cast<size_t>(i)]) : kSpaceCode;
}

std::string DecodeName(const uint8_t* codes)
{
    std::string name;
    for (int32_t i = 0; i < kNameLength; ++i)
        name += CodeCharacter(codes[i]);
    return name;
}

std::string AKAIName(std::string_view name)
{
    uint8_t codes[kNameLength];
    EncodeName(name, codes);
    std::string text = DecodeName(codes);
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

} // namespace quorvel::akai
