#pragma once
// "Export as Hydrogen Drum Kit": one instrument per slice, packed as the
// archive the drum machine installs (NAME.h2drumkit, a gzip-compressed tar
// whose one folder, named after the kit, holds drumkit.xml and the slices
// as WAV files like Export Sound writes them).
#include <ctime>
#include <string>
#include <vector>

#include "analysis/SliceSet.h"
#include "fileformats/ExportProgress.h"
#include "fileformats/InstrumentExportQuestions.h"

namespace quorvel {

constexpr int kHydrogenFailedAlert = 92;
constexpr int kHydrogenSliceLimitAlert = 93;
constexpr int kHydrogenMaxInstruments = 32;

struct HydrogenKitInfo {
    std::string name;
    std::string info;                    // a line about the loop
    std::vector<std::string> sampleFiles; // one per instrument, in the kit's folder
    int firstNote = 36;                  // instrument k plays on this + k
};

// The kit's drumkit.xml.
std::string BuildHydrogenDrumkitXml(const HydrogenKitInfo& kit);

// The date of the archive's entries: now, or SOURCE_DATE_EPOCH when that is
// set, so that the same loop can give the same bytes twice.
std::time_t ArchiveTime();

// The whole export: instrument limit (alert 93), the file, the archive
// written safely (a cancel or a failure leaves no file and any earlier one
// intact). Failures: XExportFailed (alert 92).
ExportOutcome ExportHydrogenKit(CExportJob& job, const std::string& name, CInstrumentExportQuestions& questions,
                                CExportProgress& progress);

} // namespace quorvel
