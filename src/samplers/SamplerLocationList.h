#pragma once
// The memory locations a sampler offers to put samples in (banks, disks,
// partitions, whatever the brand calls them).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

struct SSamplerLocation {
    int32_t id = 0;
    std::string name; // at most 63 characters
    int32_t value = 0;
};

class CSamplerLocationList {
public:
    static constexpr size_t kCapacity = 64;
    static constexpr size_t kMaxNameLength = 63;

    explicit CSamplerLocationList(std::string_view name = "Locations") : name_(name) {}
    virtual ~CSamplerLocationList() = default;

    // False (and nothing changes) when 64 locations are present. The name is
    // cut to 63 characters.
    bool Add(const SSamplerLocation& location, uint16_t* index = nullptr);
    uint16_t Count() const { return static_cast<uint16_t>(locations_.size()); }
    const SSamplerLocation& Get(uint16_t index) const { return locations_.at(index); }
    const std::string& Name() const { return name_; }

private:
    std::string name_;
    std::vector<SSamplerLocation> locations_;
};

} // namespace quorvel
