#pragma once
// "Export as Mixman TRK File": the loop as one track file with its tempo,
// its groove and every slice embedded as 44.1 kHz audio.
#include <string>
#include <vector>

#include "analysis/SliceSet.h"
#include "fileformats/ExportProgress.h"
#include "fileformats/InstrumentExportQuestions.h"
#include "fileformats/MixmanTrackWriter.h"

namespace quorvel {

constexpr int kMixmanFailedAlert = 16;
constexpr int kMixmanSliceLimitAlert = 17;
constexpr int kMixmanMetreAlert = 18;
constexpr int kDiskFullAlert = 93; // file alerts

// The export only opens for a loop in 4/4 (else alert 18): the track file
// has no other metre.
bool MixmanExportAllowed(const CExportJob& job);

// The track record of the job's first `count` outputs (the groove at 480
// ticks per quarter from note 0).
MixmanTrack MakeMixmanTrack(const CExportJob& job, int count, const std::string& name);

// Writes the file; the job's output rate must be 44100 Hz. Cancelled when
// the progress window's Stop was pressed (the data is then incomplete).
ExportOutcome WriteMixmanTrack(CMedia& media, CExportJob& job, const MixmanTrack& track, CExportProgress& progress);

// The whole export: slice limit (alert 17), the file, the track written
// safely. Failures: XExportFailed (alert 93 of the file alerts for a full
// disk, else alert 16).
ExportOutcome ExportMixmanTrack(CExportJob& job, const std::string& name, CInstrumentExportQuestions& questions,
                                CExportProgress& progress);

} // namespace quorvel
