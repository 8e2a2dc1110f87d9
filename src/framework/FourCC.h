#pragma once
// Four 8-bit characters naming a chunk, a group type, a file type or a
// creator. Compared byte for byte; trailing blanks count ("CAT ").
#include <array>
#include <cstring>
#include <string>

namespace quorvel {

struct FourCC {
    std::array<char, 4> bytes{};

    constexpr FourCC() = default;
    // Only four-character literals convert, so a typo in a chunk name is a
    // compile error rather than a silent mismatch.
    constexpr FourCC(const char (&text)[5]) : bytes{text[0], text[1], text[2], text[3]} {}

    static FourCC FromBytes(const void* source)
    {
        FourCC code;
        std::memcpy(code.bytes.data(), source, 4);
        return code;
    }
    void CopyTo(void* destination) const { std::memcpy(destination, bytes.data(), 4); }
    std::string String() const { return std::string(bytes.data(), 4); }

    friend bool operator==(const FourCC&, const FourCC&) = default;
};

} // namespace quorvel
