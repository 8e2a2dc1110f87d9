#pragma once
// What the four tools do to the slice list when the user clicks the slice
// handle strip or draws with the Pen; the window and the command-line tool
// both edit slices through these rules. Every slice whose flags change is
// marked changed (the slice views redraw it); callers mark the document
// modified when a function reports a change.
#include <cstdint>

#include "document/SoundDocument.h"

namespace quorvel {

// One slice's selection or state; reports whether it changed.
bool SetSliceSelected(CSlice& slice, bool selected);
bool SetSliceState(CSlice& slice, SliceState state);

// The slice that starts exactly at `frame`, or null.
CSlice* SliceStartingAt(CSliceList& slices, int32_t frame);

// Arrow or Pen on a handle: without Shift the hit slice becomes the whole
// selection; with Shift its selection flips.
bool SelectWithHandle(CSliceList& slices, CSlice& hit, bool shift);

// Hide on a handle: a click outside the selection first makes the hit slice
// the selection. A visible hit slice hides every selected Shown slice; a
// hidden one brings every selected Hidden slice back to Normal.
bool HideWithHandle(CSliceList& slices, CSlice& hit);

// Lock on a handle: the same with Locked.
bool LockWithHandle(CSliceList& slices, CSlice& hit);

// The tool's effect of a press on a handle.
bool ApplyToolToHandle(DocumentTool tool, CSliceList& slices, CSlice& hit, bool shift);

// Arrow on empty space without Shift.
bool ClearSelection(CSliceList& slices);

// Arrow drag over empty space: every Shown slice with from <= position < to
// joins the selection.
bool SelectRange(CSliceList& slices, int32_t from, int32_t to);

// Select All: every Shown slice. Invert Selection: flips every Shown slice.
bool SelectAllShown(CSliceList& slices);
bool InvertShownSelection(CSliceList& slices);
bool AnyShown(const CSliceList& slices);
bool AnyShownSelected(const CSliceList& slices);

// Why the Pen would draw no slice at `frame`.
enum class PenRefusal { None, OutsideSound, SliceThere, ListFull };
PenRefusal PenRefusalAt(CSoundDocument& document, int32_t frame);

// The Pen: a Locked slice of Pen strength at `frame`, refused (null) for any
// reason PenRefusalAt gives. Marks the document modified when one is added.
CSlice* InsertPenSlice(CSoundDocument& document, int32_t frame);

} // namespace quorvel
