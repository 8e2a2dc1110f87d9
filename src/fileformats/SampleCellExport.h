#pragma once
// "Export as SampleCell": the slices as WAV files next to a SampleCell
// instrument file that maps slice i to key 36 + i, with the sound parameters
// of a template instrument or built-in defaults.
#include <string>

#include "analysis/SliceSet.h"
#include "fileformats/ExportProgress.h"
#include "fileformats/InstrumentExportQuestions.h"
#include "fileformats/SampleCellInstrument.h"
#include "framework/FileSpec.h"

namespace quorvel {

constexpr int kSampleCellTemplateAlert = 10;
constexpr int kSampleCellInstrumentFailedAlert = 11;
constexpr int kSampleCellFailedAlert = 12;
constexpr int kSampleCellSliceLimitAlert = 13;
constexpr size_t kSampleCellNameLimit = 8; // slice file names, before the extension

// Kept between exports.
struct SampleCellExportSettings {
    bool useTemplate = false;
    CFileSpec templateFile;
    std::string lastInstrumentName; // the file dialog's default; updated by the export
};

// The instrument record of the job's first `count` outputs at their current
// rate, naming the slice files after `instrumentBase`.
SampleCellInstrument MakeSampleCellInstrument(const CExportJob& job, int count, const std::string& instrumentBase,
                                              const SampleCellParameters& parameters);

// The whole export: slice limit (alert 13), the instrument file, the template
// (alert 10), the replace questions of the slice files, then the instrument
// and slice files written as one set: they appear, or replace earlier ones,
// together once all are complete; a cancel or a failure changes none. With withMIDIFile the
// groove follows, as for the bank export. Failures: XExportFailed (alerts
// 10, 11, 12, 44).
ExportOutcome ExportSampleCell(CExportJob& job, SampleCellExportSettings& settings, bool withMIDIFile,
                               CInstrumentExportQuestions& questions, CExportProgress& progress);

} // namespace quorvel
