#pragma once
// Where a dragged or clicked locator lands: snapped to the nearest Active
// slice unless constrained, and never closer than 256 frames to the other.
#include <cstdint>
#include <optional>

namespace quorvel {

class CSliceList;

constexpr int32_t kMinLocatorDistance = 256;

enum class LocatorSide { Left, Right };

struct SLocators {
    int32_t left = 0;
    int32_t right = 0;
    bool operator==(const SLocators&) const = default;
};

enum class LocatorMove {
    Drag,  // a dragged handle stops at the nearest allowed frame
    Click, // a click outside the allowed frames does nothing
};

// The locators after moving `side` to `frame` of a sound of `length` frames;
// `snapTo` null leaves the frame unsnapped. Nothing when a click misses the
// allowed frames or the sound leaves no room.
std::optional<SLocators> MoveLocator(SLocators current, LocatorSide side, int32_t frame, int32_t length,
                                     const CSliceList* snapTo, LocatorMove move);

} // namespace quorvel
