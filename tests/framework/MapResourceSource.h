#pragma once
// Text resources held by a test, counting how often each is asked for.
#include <map>
#include <string>
#include <utility>

#include "framework/ResourceSource.h"

namespace quorvel::test {

class MapResourceSource final : public CResourceSource {
public:
    void Add(const FourCC& type, uint16_t id, std::string text) { texts_[{type.String(), id}] = std::move(text); }

    std::optional<std::string_view> Find(const FourCC& type, uint16_t id) const override
    {
        ++lookups;
        const auto found = texts_.find({type.String(), id});
        if (found == texts_.end())
            return std::nullopt;
        return std::string_view(found->second);
    }

    mutable int lookups = 0;

private:
    std::map<std::pair<std::string, uint16_t>, std::string> texts_;
};

} // namespace quorvel::test
