#pragma once
// Where the bytes of a text resource come from: the texts built into the
// program, or a test's own.
#include <cstdint>
#include <optional>
#include <string_view>

#include "framework/FourCC.h"

namespace quorvel {

class CResourceSource {
public:
    virtual ~CResourceSource() = default;
    // The whole resource (type, id); none when there is no such resource.
    // The bytes stay valid as long as the source.
    virtual std::optional<std::string_view> Find(const FourCC& type, uint16_t id) const = 0;
};

} // namespace quorvel
