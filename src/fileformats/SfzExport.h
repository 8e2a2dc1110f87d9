#pragma once
// "Export as SFZ Instrument": the slices as WAV files in a folder beside a
// text instrument that plays slice k on key firstKey + k. Chosen NAME.sfz
// gives NAME_Samples/ holding INSTRUMENT_001.wav, INSTRUMENT_002.wav, …,
// byte for byte the files Export Sound writes as WAV, and optionally the
// groove as NAME.mid beside the instrument. Every path in the instrument is
// relative, uses forward slashes and holds no blank, so that every reader
// and every file system takes it.
#include <string>
#include <vector>

#include "analysis/SliceSet.h"
#include "fileformats/ExportProgress.h"
#include "fileformats/InstrumentExportQuestions.h"

namespace quorvel {

constexpr int kSfzFailedAlert = 90;
constexpr int kSfzSliceLimitAlert = 91;
constexpr int kSfzDefaultFirstKey = 36;

struct SfzExportOptions {
    std::string name;                  // the instrument's name; the slice files are named after it
    bool withMIDIFile = false;         // the groove beside the instrument
    int firstKey = kSfzDefaultFirstKey;
};

// What the instrument's comment header tells about the loop.
struct SfzLoopInfo {
    std::string name;
    int32_t milliBPM = 0;  // 0: unknown
    int32_t numerator = 4;
    int32_t denominator = 4;
    double bars = 0;
};

struct SfzRegion {
    std::string samplePath;  // relative to the instrument
    int key = 0;
};

// Names in the instrument: portable, and without blanks, '#', '$' or '='
// that a reader could take for the start of something else.
std::string SfzSafeName(const std::string& name);
std::string SfzSamplesFolderName(const std::string& instrumentBaseName);
std::string SfzSampleFileName(const std::string& name, int index);

// The instrument's text: the comment header, then one region per slice.
std::string BuildSfzText(const SfzLoopInfo& loop, const std::vector<SfzRegion>& regions);

// The whole export: slice limit (alert 91; keys end at 127), the file, the
// replace question for each slice file already there, then the slice files,
// the instrument and the groove written as one set (a cancel or a failure
// leaves every earlier file intact). Failures: XExportFailed (alert 90).
ExportOutcome ExportSfz(CExportJob& job, const SfzExportOptions& options, CInstrumentExportQuestions& questions,
                        CExportProgress& progress);

} // namespace quorvel
