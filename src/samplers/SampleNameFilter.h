#pragma once
// Sample names arrive from samplers as raw bytes. Control characters (a NUL
// would cut the name short, a line break would break lists and file names)
// become blanks; every other byte is kept, whatever character set the
// sampler uses.
#include <string>
#include <string_view>

namespace quorvel {

std::string FilterSampleName(std::string_view name);

} // namespace quorvel
