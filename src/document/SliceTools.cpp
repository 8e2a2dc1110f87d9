#include "document/SliceTools.h"

#include "analysis/SensitivityThreshold.h"

namespace quorvel {

bool SetSliceSelected(CSlice& slice, bool selected)
{
    if (slice.selected == selected)
        return false;
    slice.selected = selected;
    slice.changed = true;
    return true;
}

bool SetSliceState(CSlice& slice, SliceState state)
{
    if (slice.state == state)
        return false;
    slice.state = state;
    slice.changed = true;
    return true;
}

CSlice* SliceStartingAt(CSliceList& slices, int32_t frame)
{
    for (int i = 0; i < slices.Count(); ++i)
        if (slices.At(i).position == frame)
            return &slices.At(i);
    return nullptr;
}

namespace {

// Makes `hit` the only selected slice when it is not selected yet.
bool SelectOnlyUnlessSelected(CSliceList& slices, CSlice& hit)
{
    return hit.selected ? false : SelectWithHandle(slices, hit, false);
}

} // namespace

bool SelectWithHandle(CSliceList& slices, CSlice& hit, bool shift)
{
    if (shift)
        return SetSliceSelected(hit, !hit.selected);
    bool changed = false;
    for (int i = 0; i < slices.Count(); ++i) {
        CSlice& slice = slices.At(i);
        changed |= SetSliceSelected(slice, &slice == &hit);
    }
    return changed;
}

bool HideWithHandle(CSliceList& slices, CSlice& hit)
{
    bool changed = SelectOnlyUnlessSelected(slices, hit);
    const bool reveal = hit.state == SliceState::Hidden;
    for (int i = 0; i < slices.Count(); ++i) {
        CSlice& slice = slices.At(i);
        if (!slice.selected)
            continue;
        if (reveal) {
            if (slice.state == SliceState::Hidden)
                changed |= SetSliceState(slice, SliceState::Normal);
        } else if (Passes(slice, SliceFilter::Shown)) {
            changed |= SetSliceState(slice, SliceState::Hidden);
        }
    }
    return changed;
}

bool LockWithHandle(CSliceList& slices, CSlice& hit)
{
    bool changed = SelectOnlyUnlessSelected(slices, hit);
    const bool unlock = hit.state == SliceState::Locked;
    for (int i = 0; i < slices.Count(); ++i) {
        CSlice& slice = slices.At(i);
        if (!slice.selected)
            continue;
        if (unlock) {
            if (slice.state == SliceState::Locked)
                changed |= SetSliceState(slice, SliceState::Normal);
        } else if (Passes(slice, SliceFilter::Shown)) {
            changed |= SetSliceState(slice, SliceState::Locked);
        }
    }
    return changed;
}

bool ApplyToolToHandle(DocumentTool tool, CSliceList& slices, CSlice& hit, bool shift)
{
    switch (tool) {
    case DocumentTool::Hide:
        return HideWithHandle(slices, hit);
    case DocumentTool::Lock:
        return LockWithHandle(slices, hit);
    case DocumentTool::Arrow:
    case DocumentTool::Pen:
        break;
    }
    return SelectWithHandle(slices, hit, shift);
}

bool ClearSelection(CSliceList& slices)
{
    bool changed = false;
    for (int i = 0; i < slices.Count(); ++i)
        changed |= SetSliceSelected(slices.At(i), false);
    return changed;
}

bool SelectRange(CSliceList& slices, int32_t from, int32_t to)
{
    bool changed = false;
    for (CSlice* slice = slices.First(SliceFilter::Shown); slice; slice = slices.Next(slice, SliceFilter::Shown))
        if (from <= slice->position && slice->position < to)
            changed |= SetSliceSelected(*slice, true);
    return changed;
}

bool SelectAllShown(CSliceList& slices)
{
    bool changed = false;
    for (CSlice* slice = slices.First(SliceFilter::Shown); slice; slice = slices.Next(slice, SliceFilter::Shown))
        changed |= SetSliceSelected(*slice, true);
    return changed;
}

bool InvertShownSelection(CSliceList& slices)
{
    bool changed = false;
    for (CSlice* slice = slices.First(SliceFilter::Shown); slice; slice = slices.Next(slice, SliceFilter::Shown))
        changed |= SetSliceSelected(*slice, !slice->selected);
    return changed;
}

bool AnyShown(const CSliceList& slices)
{
    return slices.First(SliceFilter::Shown) != nullptr;
}

bool AnyShownSelected(const CSliceList& slices)
{
    for (const CSlice* slice = slices.First(SliceFilter::Shown); slice;
         slice = slices.Next(slice, SliceFilter::Shown))
        if (slice->selected)
            return true;
    return false;
}

PenRefusal PenRefusalAt(CSoundDocument& document, int32_t frame)
{
    const WAVE_SAMPLE* sound = document.Sound();
    if (!sound || frame < 0 || frame >= sound->Length())
        return PenRefusal::OutsideSound;
    if (SliceStartingAt(document.Slices(), frame))
        return PenRefusal::SliceThere;
    if (document.Slices().Count() >= CSliceList::kCapacity)
        return PenRefusal::ListFull;
    return PenRefusal::None;
}

CSlice* InsertPenSlice(CSoundDocument& document, int32_t frame)
{
    if (PenRefusalAt(document, frame) != PenRefusal::None)
        return nullptr;
    CSliceList& slices = document.Slices();
    // The insertion shifts the slots after it; keep the current slice.
    CSlice* current = document.CurrentSlice();
    const int currentIndex = current ? slices.IndexOf(current) : -1;
    CSlice* slice = slices.InsertSlice(frame);
    if (!slice)
        return nullptr;
    if (current && currentIndex >= slices.IndexOf(slice))
        document.SetCurrentSlice(&slices.At(currentIndex + 1));
    slice->strength = kPenSliceStrength;
    slice->state = SliceState::Locked;
    slice->aboveThreshold = slice->strength > SensitivityThreshold(document.Sensitivity());
    slice->changed = true;
    document.SetModified();
    return slice;
}

} // namespace quorvel
