#include "fileformats/GrooveMIDIExport.h"

#include "fileformats/FileAlerts.h"

namespace quorvel {

GrooveLoop GrooveLoopOf(const CExportJob& job)
{
    GrooveLoop loop;
    loop.numerator = job.Numerator();
    loop.denominator = job.Denominator();
    loop.ticks = job.LoopTicks();
    loop.tempo = job.Tempo();
    loop.loopStart = job.Start();
    loop.loopEnd = job.End();
    return loop;
}

std::vector<GrooveSpan> GrooveSpansOf(const CExportJob& job, int count)
{
    std::vector<GrooveSpan> spans;
    for (int i = 0; i < count; ++i) {
        const SliceOutputInfo info = job.GetOutputInfo(i);
        spans.push_back({info.start, info.end});
    }
    return spans;
}

ExportOutcome ExportGrooveMIDIFile(const CExportJob& job, int firstNote, int count,
                                   CInstrumentExportQuestions& questions)
{
    const std::optional<CFileSpec> file = questions.AskSaveFile({"Export MIDI File", &filetypes::kMIDI, ""});
    if (!file)
        return ExportOutcome::Cancelled;
    RunExportStep(kFileAlertTable, kMIDIFileFailedAlert,
                  [&] { WriteGrooveMIDIFile(*file, GrooveLoopOf(job), GrooveSpansOf(job, count), firstNote); });
    return ExportOutcome::Completed;
}

ExportOutcome ExportGrooveMIDICommand(const CExportJob& job, CInstrumentExportQuestions& questions)
{
    const std::optional<int> count = LimitSlices(questions, job.OutputCount(), GrooveNoteLimit(kGrooveFirstNote),
                                                 kFileAlertTable, kMIDISliceLimitAlert);
    if (!count)
        return ExportOutcome::Cancelled;
    return ExportGrooveMIDIFile(job, kGrooveFirstNote, *count, questions);
}

} // namespace quorvel
