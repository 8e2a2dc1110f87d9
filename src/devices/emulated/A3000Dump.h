#pragma once
// The emulated A3000's own reading and writing of its bulk dumps: F0 43 0n
// 7A, then blocks of at most 4096 bytes, each led by a two-byte count (7-bit
// groups, most significant first) and closed by the exclusive-or of its
// bytes. The first block opens with "LM  0278", the two-letter dump type and
// the 16-character name; every payload byte travels as two bytes, high
// nibble first. Kept apart from the program's side so that a misreading on
// either side shows as a refusal.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace quorvel {

using A3000Bytes = std::vector<uint8_t>;
using A3000Name = std::array<uint8_t, 16>;

constexpr size_t kA3000MaxBlock = 4096;
// Header bytes the first block's count covers before its payload.
constexpr size_t kA3000HeaderCount = 26;

struct SA3000Dump {
    uint8_t device = 0;
    std::string type; // two characters
    A3000Name name{};
    A3000Bytes payload;
};

enum class EA3000DumpCheck {
    kGood,
    kMalformed,    // too short, not F0 43 0n 7A, counts out of range or not ending in F7
    kNotLM0278,    // the header text is not "LM  0278"
    kBadNibble,    // a payload byte with bits above the low four
    kBadChecksum,  // a block's exclusive-or differs from its checksum byte
};

// `corrupt(n)` true: block n (from 0) goes out with a wrong checksum.
A3000Bytes BuildA3000Dump(uint8_t device, const std::string& type, const A3000Name& name, const A3000Bytes& payload,
                          const std::function<bool(size_t)>& corrupt = {});
// `block` (when not null) is set to the block that failed the checksum.
EA3000DumpCheck ParseA3000Dump(const A3000Bytes& message, SA3000Dump& dump, size_t* block = nullptr);

struct SA3000Request {
    uint8_t device = 0;
    std::string type;
    A3000Name name{};
};

// The 31-byte dump request F0 43 2n 7A "LM  0278" tt name F7.
bool ParseA3000Request(const A3000Bytes& message, SA3000Request& request);

// The name padded with blanks to 16 characters (cut when longer).
A3000Name A3000NameOf(const std::string& text);
// The name without its trailing blanks and zeros.
std::string A3000NameText(const A3000Name& name);
// Names match when they agree but for trailing blanks and zeros.
bool SameA3000Name(const A3000Name& a, const A3000Name& b);

} // namespace quorvel
