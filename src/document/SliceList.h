#pragma once
// The document's slice points: a fixed table of 1000 slots in position order,
// walked through the filters of Slice.h. The table never moves, so pointers
// into it stay valid for the document's life (an insertion shifts the slots
// after it, though, so a pointer then names the slice that moved in).
#include <array>
#include <cstddef>
#include <cstdint>

#include "document/Slice.h"

namespace quorvel {

class WAVE_SAMPLE;

class CSliceList {
public:
    static constexpr int kCapacity = 1000;

    CSliceList() = default;

    int16_t Count() const { return count_; }
    int32_t EndPosition() const { return end_; }
    void SetEndPosition(int32_t end) { end_ = end; }

    // Slot i (no filter); valid for 0 <= i < Count().
    CSlice& At(int i) { return slots_[static_cast<std::size_t>(i)]; }
    const CSlice& At(int i) const { return slots_[static_cast<std::size_t>(i)]; }
    // Slot index of a slice of this list.
    int IndexOf(const CSlice* slice) const { return static_cast<int>(slice - slots_.data()); }

    // Walks in position order; null when there is none.
    CSlice* First(SliceFilter filter) { return Slot(FirstIndex(filter)); }
    const CSlice* First(SliceFilter filter) const { return Slot(FirstIndex(filter)); }
    CSlice* Next(const CSlice* slice, SliceFilter filter) { return Slot(NextIndex(IndexOf(slice), filter)); }
    const CSlice* Next(const CSlice* slice, SliceFilter filter) const { return Slot(NextIndex(IndexOf(slice), filter)); }
    CSlice* Previous(const CSlice* slice, SliceFilter filter) { return Slot(PreviousIndex(IndexOf(slice), filter)); }
    const CSlice* Previous(const CSlice* slice, SliceFilter filter) const
    {
        return Slot(PreviousIndex(IndexOf(slice), filter));
    }
    CSlice* Last(SliceFilter filter) { return Slot(PreviousIndex(count_, filter)); }
    const CSlice* Last(SliceFilter filter) const { return Slot(PreviousIndex(count_, filter)); }

    // Inclusive last frame: the next passing slice's position minus one; for
    // the last passing slice, the end position (the sound length).
    int32_t SliceLastFrame(const CSlice* slice, SliceFilter filter) const;
    // Frames from the slice's position up to the next passing slice (or the
    // end), so that consecutive slices tile the sound without a gap.
    int32_t SliceLength(const CSlice* slice, SliceFilter filter) const;

    // The first Active slice whose span (position .. SliceLastFrame) holds frame.
    CSlice* SliceAt(int32_t frame);
    // The Active slice closest to frame; the earlier one on a tie.
    CSlice* NearestSlice(int32_t frame);
    const CSlice* NearestSlice(int32_t frame) const;
    // Where a dragged locator lands: 0 or end near the ends, else the nearest
    // Active slice, else frame itself.
    int32_t SnapToSlice(int32_t frame, int32_t end) const;

    // A zeroed slice at frame, after every slice at or before it. Null when
    // the table is full.
    CSlice* InsertSlice(int32_t frame);
    // Appends a copy of slice; null when the table is full or the position
    // would break the position order.
    CSlice* Append(const CSlice& slice);

    // aboveThreshold = strength > threshold for every slice; a flip sets changed.
    void ApplyThreshold(int16_t threshold);
    void ClearChanged();
    void Reset();

    // Fills the list from one scan of the sound (see analysis/OnsetScan.h).
    void Analyse(const WAVE_SAMPLE& sound);

private:
    int FirstIndex(SliceFilter filter) const { return NextIndex(-1, filter); }
    int NextIndex(int index, SliceFilter filter) const;
    int PreviousIndex(int index, SliceFilter filter) const;
    CSlice* Slot(int index) { return index < 0 ? nullptr : &slots_[static_cast<std::size_t>(index)]; }
    const CSlice* Slot(int index) const { return index < 0 ? nullptr : &slots_[static_cast<std::size_t>(index)]; }

    std::array<CSlice, kCapacity> slots_{};
    int16_t count_ = 0;
    int32_t end_ = 0;
};

} // namespace quorvel
