#pragma once
// The longest sound an export can build: every output is built whole in the
// sample store before it is written, so an output beyond the store's
// capacity (a slow stretch of a long loop, or a very low rate converted to
// a high one) can never be written. Refusing it up front says so, instead of
// the export failing halfway as if memory or the disk had run out.
#include "analysis/SliceSet.h"

namespace quorvel {

// Table 129: "Sound files may not be longer than 5 minutes."
constexpr int kSoundTooLongAlert = 20;

// Frames of the longest output.
int32_t MaxOutputFrames();

// XExportFailed (table 129, kSoundTooLongAlert) when one of the job's first
// `count` outputs, at its current output rate, is longer than that.
void CheckOutputLengths(const CExportJob& job, int count);

} // namespace quorvel
