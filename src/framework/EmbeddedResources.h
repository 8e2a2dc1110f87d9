#pragma once
// The text resources built into the program. The build turns every
// resources/<TYPE>_<id>.txt into a byte array (cmake/EmbedTextResources.cmake),
// so no resource file is needed at run time.
#include <cstddef>
#include <cstdint>

#include "framework/ResourceSource.h"
#include "framework/TextResources.h"

namespace quorvel {

struct EmbeddedResource {
    FourCC type;
    uint16_t id;
    const unsigned char* bytes;
    size_t size;
};

// Defined by the generated source.
extern const EmbeddedResource kEmbeddedTextResources[];
extern const size_t kEmbeddedTextResourceCount;

class CEmbeddedResources final : public CResourceSource {
public:
    std::optional<std::string_view> Find(const FourCC& type, uint16_t id) const override;
};

// The program's texts, shared by everything in the process.
CTextResources& BuiltInTextResources();

} // namespace quorvel
