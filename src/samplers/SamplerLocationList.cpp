#include "samplers/SamplerLocationList.h"

namespace quorvel {

bool CSamplerLocationList::Add(const SSamplerLocation& location, uint16_t* index)
{
    if (locations_.size() >= kCapacity)
        return false;
    SSamplerLocation copy = location;
    if (copy.name.size() > kMaxNameLength)
        copy.name.resize(kMaxNameLength);
    if (index)
        *index = Count();
    locations_.push_back(std::move(copy));
    return true;
}

} // namespace quorvel
