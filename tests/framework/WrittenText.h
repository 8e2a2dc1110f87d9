#pragma once
// Small helpers for the tests that write whole files through a media writer.
#include <algorithm>
#include <string>
#include <vector>

#include "framework/Media.h"

namespace quorvel::test {

inline std::vector<uint8_t> Text(const std::string& s) { return {s.begin(), s.end()}; }

// A writer that puts `s` into the media it is given.
inline auto Put(const std::string& s)
{
    return [s](CMedia& media) { media.Write(static_cast<int32_t>(s.size()), s.data()); };
}

inline std::vector<std::string> Sorted(std::vector<std::string> names)
{
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace quorvel::test
