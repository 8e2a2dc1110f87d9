#pragma once
// The name of an emulated sampler's Loopback ports.
#include <string>

namespace quorvel {

// "Emulated " and the model's name; where that is longer than a port name
// may be, the maker's name (the model name's first word) is left out, and
// what is still too long is cut.
std::string EmulatedPortName(const std::string& modelName);

} // namespace quorvel
