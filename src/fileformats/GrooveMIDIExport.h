#pragma once
// The groove MIDI file of an export job: the menu command, and the groove
// that the instrument exports write next to their banks.
#include <vector>

#include "analysis/SliceSet.h"
#include "fileformats/ExportProgress.h"
#include "fileformats/GrooveMIDIFile.h"
#include "fileformats/InstrumentExportQuestions.h"

namespace quorvel {

constexpr int kMIDIFileFailedAlert = 44;
constexpr int kMIDISliceLimitAlert = 50;

GrooveLoop GrooveLoopOf(const CExportJob& job);
// Spans of the job's first `count` outputs.
std::vector<GrooveSpan> GrooveSpansOf(const CExportJob& job, int count);

// Asks for the file ("Export MIDI File") and writes the groove of the job's
// first `count` outputs from firstNote. Failures: XExportFailed (alert 44).
ExportOutcome ExportGrooveMIDIFile(const CExportJob& job, int firstNote, int count,
                                   CInstrumentExportQuestions& questions);

// "Export Groove MIDI File...": first note 36, at most 92 notes (alert 50
// asks whether to go on with fewer).
ExportOutcome ExportGrooveMIDICommand(const CExportJob& job, CInstrumentExportQuestions& questions);

} // namespace quorvel
