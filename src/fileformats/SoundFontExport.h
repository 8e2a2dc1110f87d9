#pragma once
// "Export as SoundFont File": the slices as a SoundFont 2 bank, one key per
// slice from note 36, optionally followed by the groove MIDI file.
#include <string>

#include "analysis/SliceSet.h"
#include "fileformats/ExportProgress.h"
#include "fileformats/InstrumentExportQuestions.h"

namespace quorvel {

constexpr int kSoundFontFailedAlert = 14;
constexpr int kSoundFontSliceLimitAlert = 15;
constexpr int kSoundFontMaxSlices = 92;

// What the export dialog hands over.
struct SoundFontExportOptions {
    std::string name;           // the "Name:" field: preset, instrument and sample names
    bool withMIDIFile = false;  // "MIDI File + Export..."
};

// Writes a bank of the job's first `count` outputs at the sound's rate.
// Cancelled when the progress window's Stop was pressed; the data written
// so far is then incomplete.
ExportOutcome WriteSoundFontBank(CMedia& media, CExportJob& job, int count, const std::string& bankName,
                                 const std::string& name, CExportProgress& progress);

// The whole export: slice limit (alert 15), the file, the bank written
// safely (a cancel or a failure leaves no file and any earlier one intact),
// then the groove if asked for (the outcome is then the groove's: a cancel
// of its file dialog keeps the bank). Failures: XExportFailed (alerts 14, 44).
ExportOutcome ExportSoundFont(CExportJob& job, const SoundFontExportOptions& options,
                              CInstrumentExportQuestions& questions, CExportProgress& progress);

} // namespace quorvel
