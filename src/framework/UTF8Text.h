#pragma once
// Text cut to a byte limit (stored records, file names) without splitting a
// UTF-8 character.
#include <cstddef>
#include <string>
#include <string_view>

namespace quorvel {

// At most `maxBytes` of `text`, backing off to the start of a character.
std::string CutUTF8(std::string_view text, size_t maxBytes);

} // namespace quorvel
