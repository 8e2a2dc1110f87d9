#include "document/SliceList.h"

#include <algorithm>
#include <cstdlib>

#include "analysis/OnsetScan.h"
#include "document/WaveSample.h"

namespace quorvel {

int CSliceList::NextIndex(int index, SliceFilter filter) const
{
    for (int i = index + 1; i < count_; ++i)
        if (Passes(slots_[static_cast<size_t>(i)], filter))
            return i;
    return -1;
}

int CSliceList::PreviousIndex(int index, SliceFilter filter) const
{
    for (int i = std::min<int>(index, count_) - 1; i >= 0; --i)
        if (Passes(slots_[static_cast<size_t>(i)], filter))
            return i;
    return -1;
}

int32_t CSliceList::SliceLastFrame(const CSlice* slice, SliceFilter filter) const
{
    const CSlice* next = Next(slice, filter);
    return next ? next->position - 1 : end_;
}

int32_t CSliceList::SliceLength(const CSlice* slice, SliceFilter filter) const
{
    const CSlice* next = Next(slice, filter);
    return (next ? next->position : end_) - slice->position;
}

CSlice* CSliceList::SliceAt(int32_t frame)
{
    for (CSlice* s = First(SliceFilter::Active); s; s = Next(s, SliceFilter::Active))
        if (s->position <= frame && frame <= SliceLastFrame(s, SliceFilter::Active))
            return s;
    return nullptr;
}

const CSlice* CSliceList::NearestSlice(int32_t frame) const
{
    const CSlice* best = nullptr;
    int64_t bestDistance = 0;
    for (const CSlice* s = First(SliceFilter::Active); s; s = Next(s, SliceFilter::Active)) {
        const int64_t distance = std::llabs(int64_t(s->position) - frame);
        if (!best || distance < bestDistance) {
            best = s;
            bestDistance = distance;
        }
    }
    return best;
}

CSlice* CSliceList::NearestSlice(int32_t frame)
{
    return const_cast<CSlice*>(static_cast<const CSliceList*>(this)->NearestSlice(frame));
}

int32_t CSliceList::SnapToSlice(int32_t frame, int32_t end) const
{
    const CSlice* first = First(SliceFilter::Active);
    if (first && frame < first->position / 2)
        return 0;
    const CSlice* last = Last(SliceFilter::Active);
    if (last && frame > last->position + (end - last->position) / 2)
        return end;
    const CSlice* nearest = NearestSlice(frame);
    return nearest ? nearest->position : frame;
}

CSlice* CSliceList::InsertSlice(int32_t frame)
{
    if (count_ >= kCapacity)
        return nullptr;
    int at = 0;
    while (at < count_ && slots_[static_cast<size_t>(at)].position <= frame)
        ++at;
    std::copy_backward(slots_.begin() + at, slots_.begin() + count_, slots_.begin() + count_ + 1);
    CSlice& slot = slots_[static_cast<size_t>(at)];
    slot = CSlice{};
    slot.position = frame;
    ++count_;
    return &slot;
}

CSlice* CSliceList::Append(const CSlice& slice)
{
    if (count_ >= kCapacity || (count_ > 0 && slice.position < slots_[static_cast<size_t>(count_ - 1)].position))
        return nullptr;
    CSlice& slot = slots_[static_cast<size_t>(count_++)];
    slot = slice;
    return &slot;
}

void CSliceList::ApplyThreshold(int16_t threshold)
{
    // Branch-free so the whole table goes through in about a microsecond.
    for (int i = 0; i < count_; ++i) {
        CSlice& s = slots_[static_cast<size_t>(i)];
        const bool above = s.strength > threshold;
        s.changed = s.changed | (above != s.aboveThreshold);
        s.aboveThreshold = above;
    }
}

void CSliceList::ClearChanged()
{
    for (int i = 0; i < count_; ++i)
        slots_[static_cast<size_t>(i)].changed = false;
}

void CSliceList::Reset()
{
    slots_.fill(CSlice{});
    count_ = 0;
    end_ = 0;
}

void CSliceList::Analyse(const WAVE_SAMPLE& sound)
{
    Reset();
    OnsetBuffer onsets;
    const int found = ScanOnsets(sound.Store(), sound.Length(), onsets);
    for (int i = 0; i < found; ++i) {
        CSlice& slot = slots_[static_cast<size_t>(i)];
        slot.position = onsets[static_cast<size_t>(i)].position;
        slot.strength = std::max<int16_t>(onsets[static_cast<size_t>(i)].strength, 1);
    }
    count_ = static_cast<int16_t>(found);
    end_ = sound.Length();
}

} // namespace quorvel
