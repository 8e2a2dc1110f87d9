#include "ui/views/LocatorEdit.h"

#include <algorithm>

#include "document/SliceList.h"

namespace quorvel {

std::optional<SLocators> MoveLocator(SLocators current, LocatorSide side, int32_t frame, int32_t length,
                                     const CSliceList* snapTo, LocatorMove move)
{
    if (snapTo)
        frame = snapTo->SnapToSlice(frame, length);
    // The loop may end at the sound's end, so the right locator may reach it.
    const int32_t low = side == LocatorSide::Left ? 0 : current.left + kMinLocatorDistance;
    const int32_t high = side == LocatorSide::Left ? current.right - kMinLocatorDistance : length;
    if (low > high)
        return std::nullopt;
    if (move == LocatorMove::Click && (frame < low || frame > high))
        return std::nullopt;
    frame = std::clamp(frame, low, high);
    SLocators moved = current;
    (side == LocatorSide::Left ? moved.left : moved.right) = frame;
    return moved;
}

} // namespace quorvel
