#include "framework/EmbeddedResources.h"

namespace quorvel {

std::optional<std::string_view> CEmbeddedResources::Find(const FourCC& type, uint16_t id) const
{
    for (size_t i = 0; i < kEmbeddedTextResourceCount; ++i) {
        const EmbeddedResource& resource = kEmbeddedTextResources[i];
        if (resource.type == type && resource.id == id)
            return std::string_view(reinterpret_cast<const char*>(resource.bytes), resource.size);
    }
    return std::nullopt;
}

CTextResources& BuiltInTextResources()
{
    static const CEmbeddedResources source;
    static CTextResources resources(source);
    return resources;
}

} // namespace quorvel
