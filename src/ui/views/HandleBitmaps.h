#pragma once
// The drawn bitmaps of the slice handles and the locator handles.
#include <QImage>

#include "document/Slice.h"

namespace quorvel {

// kSliceHandleWidth wide, SliceHandleHeight(state) high, standing on the
// strip's bottom edge; the tip is the middle column of the bottom row.
const QImage& SliceHandleBitmap(SliceState state, bool selected);

constexpr int kLocatorHandleWidth = 9;
constexpr int kLocatorHandleHeight = 11;
// A flag standing on the locator's column: the left one points right (its
// left column is the locator), the right one points left (its right column).
const QImage& LocatorHandleBitmap(bool left);

} // namespace quorvel
