#include "document/CurrentSliceRules.h"

namespace quorvel {

namespace {

void MakeCurrent(CSoundDocument& document, CSlice* slice)
{
    if (!slice)
        return;
    document.SetCurrentSlice(slice);
    document.SetCurrentPosition(slice->position);
}

} // namespace

void StepToNextSlice(CSoundDocument& document)
{
    if (!document.Sound())
        return;
    CSliceList& slices = document.Slices();
    CSlice* here = slices.SliceAt(document.CurrentPosition());
    if (!here) {
        if (document.CurrentPosition() == 0)
            MakeCurrent(document, slices.First(SliceFilter::Active));
        return;
    }
    CSlice* next = slices.Next(here, SliceFilter::Active);
    MakeCurrent(document, next ? next : slices.First(SliceFilter::Active));
}

void StepToPreviousSlice(CSoundDocument& document)
{
    if (!document.Sound())
        return;
    CSliceList& slices = document.Slices();
    CSlice* here = slices.SliceAt(document.CurrentPosition());
    if (!here) {
        if (document.CurrentPosition() == 0)
            MakeCurrent(document, slices.Last(SliceFilter::Active));
        return;
    }
    CSlice* previous = slices.Previous(here, SliceFilter::Active);
    // Slices may share a position; only one that starts earlier counts.
    while (previous && previous->position >= here->position)
        previous = slices.Previous(previous, SliceFilter::Active);
    MakeCurrent(document, previous ? previous : slices.Last(SliceFilter::Active));
}

bool ReconcileCurrentSlice(CSoundDocument& document)
{
    CSlice* current = document.CurrentSlice();
    if (!document.Sound() || !current || Passes(*current, SliceFilter::Active))
        return false;
    const int32_t cursor = document.CurrentPosition();
    const int32_t left = document.Sound()->LoopStart();
    CSlice* slice = document.Slices().SliceAt(cursor);
    document.SetCurrentSlice(slice);
    if (slice)
        document.SetCurrentPosition(cursor >= left && slice->position <= left ? left : slice->position);
    else
        document.SetCurrentPosition(cursor < left ? 0 : left);
    return true;
}

} // namespace quorvel
