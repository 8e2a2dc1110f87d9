#pragma once
// The sliced-loop export: one AIFF file whose sound data holds the slices
// back to back, each starting on a 512-byte boundary of the file, and an
// "APPL" chunk signed "QLX " with a table of where each slice lies in the
// audio and in musical time. Written only; reading one is refused elsewhere.
#include <cstdint>
#include <vector>

#include "analysis/SliceSet.h"
#include "framework/Media.h"
#include "fileformats/ExportProgress.h"
#include "fileformats/InstrumentExportQuestions.h"
#include "framework/FileExceptions.h"
#include "framework/FileSpec.h"

namespace quorvel {

constexpr int kQLXExportFailedAlert = 43;
// Table 129: "Only the first %d slices will be included in the QLX file."
constexpr int kQLXSliceLimitAlert = 51;

struct QlxSliceEntry {
    uint32_t start = 0;  // 16-bit words from the start of the sound data
    uint32_t length = 0; // frames
    uint32_t tick = 0;   // from the loop start, 960 per quarter note
};

struct QlxSliceTable {
    static constexpr uint32_t kMagic = 0xD1D1D1DA;
    static constexpr int kMaxEntries = 1000;
    static constexpr size_t kBytes = 13016;

    int32_t loopTicks = 0;
    int32_t tempo = 0; // milli-BPM, 0 when unknown
    std::vector<QlxSliceEntry> entries; // at most kMaxEntries are stored

    // Big-endian, zero-filled beyond the entries.
    std::vector<uint8_t> Encode() const;
};

// The tempo the table records: the job's tempo, except that a tempo held at
// the display ceiling is only kept when the loop really is that fast; any
// other held value is unknown (0).
int32_t QlxTempo(const CExportJob& job);

// Writes the whole file with the job's first `count` outputs (at most
// kMaxEntries) to `media`. The job's output rate is set to the sound's rate.
// Stops early on a cancel from `progress` (the data written so far is then
// incomplete); failures propagate.
ExportOutcome WriteQLX(CMedia& media, CExportJob& job, CExportProgress& progress, int count);
// The same with every output; XQLXTooManySlices when they do not fit.
ExportOutcome WriteQLX(CMedia& media, CExportJob& job, CExportProgress& progress);

// A job with more outputs than the table holds, written without asking.
QUORVEL_EXCEPTION(XQLXTooManySlices, XFile);

// Asks before leaving slices out (kQLXSliceLimitAlert; Cancel writes
// nothing), then writes `file` so that a cancel or a failure leaves no file
// behind (and an existing file untouched). Failures propagate; the caller
// shows kQLXExportFailedAlert.
ExportOutcome ExportQLXFile(CExportJob& job, const CFileSpec& file, CInstrumentExportQuestions& questions,
                            CExportProgress& progress);

} // namespace quorvel
