#pragma once
// How far the emulated Kurzweil sampler looks into an object body: only
// far enough to see that its size agrees with the counts it carries, so
// that a body built wrong is refused instead of kept.
#include <cstdint>
#include <vector>

namespace quorvel {

// Programs, keymaps and sound blocks are checked; other types pass.
bool KurzweilBodyHoldsTogether(uint16_t type, const std::vector<uint8_t>& body);

} // namespace quorvel
