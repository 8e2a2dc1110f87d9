#include "document/StretchAmount.h"

#include <algorithm>
#include <array>

namespace quorvel {

namespace {
constexpr std::array<int32_t, kStretchSteps> kPercent{0, 5, 10, 15, 20, 25, 30, 40, 50, 60, 70, 80, 90, 100};
}

int32_t StretchPercent(int32_t index) { return kPercent[static_cast<size_t>(std::clamp(index, 0, kStretchSteps - 1))]; }

int32_t StretchFactor(int32_t index) { return 1000 + 10 * StretchPercent(index); }

std::string StretchText(int32_t index)
{
    const int32_t percent = StretchPercent(index);
    return percent == 0 ? std::string("Off") : std::to_string(percent) + "%";
}

} // namespace quorvel
