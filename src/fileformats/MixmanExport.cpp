#include "fileformats/MixmanExport.h"

#include "fileformats/FileAlerts.h"
#include "fileformats/GrooveMIDIExport.h"
#include "fileformats/MixmanGroove.h"
#include "fileformats/OutputLimits.h"
#include "framework/SafeFileWriter.h"

namespace quorvel {

namespace {
constexpr uint16_t kGrooveTicksPerQuarter = 480;
constexpr int kGrooveFirstMixmanNote = 0;
} // namespace

bool MixmanExportAllowed(const CExportJob& job) { return job.Numerator() == 4 && job.Denominator() == 4; }

MixmanTrack MakeMixmanTrack(const CExportJob& job, int count, const std::string& name)
{
    MixmanTrack track;
    track.name = name;
    track.tempo = double(job.Tempo()) * 0.001;
    track.loopBeats = static_cast<int32_t>(double(job.Denominator()) * double(job.LoopTicks()) / 3840.0);
    track.sliceCount = count;
    const std::vector<uint8_t> midi =
        BuildGrooveMIDI(GrooveLoopOf(job), GrooveSpansOf(job, count), kGrooveFirstMixmanNote, kGrooveTicksPerQuarter);
    track.groove = ConvertMixmanGroove(midi);
    return track;
}

ExportOutcome WriteMixmanTrack(CMedia& media, CExportJob& job, const MixmanTrack& track, CExportProgress& progress)
{
    CProgressScope scope(progress, "Slices left:");
    CMixmanTrackWriter writer(media, track);
    for (int i = 0; i < track.sliceCount; ++i) {
        progress.Show(track.sliceCount - i, i * 100 / track.sliceCount);
        if (progress.CancelPressed())
            return ExportOutcome::Cancelled;
        writer.WriteSlice(*job.GetOutput(i));
    }
    writer.Finish();
    progress.Show(0, 100);
    return ExportOutcome::Completed;
}

ExportOutcome ExportMixmanTrack(CExportJob& job, const std::string& name, CInstrumentExportQuestions& questions,
                                CExportProgress& progress)
{
    const std::optional<int> count = LimitSlices(questions, job.OutputCount(), MixmanTrack::kMaxSlices,
                                                 kInstrumentAlertTable, kMixmanSliceLimitAlert);
    if (!count)
        return ExportOutcome::Cancelled;
    job.SetOutputRate(MixmanTrack::kSampleRate);
    CheckOutputLengths(job, *count);

    std::optional<CFileSpec> file = questions.AskSaveFile({"Export Mixman TRK File As:", &filetypes::kMixman, name});
    if (!file)
        return ExportOutcome::Cancelled;
    file->SetType(filetypes::kMixman.typeCode);
    file->SetCreator("MxMn");

    return RunExportStep(kInstrumentAlertTable, kMixmanFailedAlert, [&] {
        try {
            const MixmanTrack track = MakeMixmanTrack(job, *count, name);
            CSafeFileWriter target(*file);
            const ExportOutcome written = WriteMixmanTrack(target.Media(), job, track, progress);
            if (written == ExportOutcome::Completed)
                target.Commit();
            return written;
        } catch (const XDiskFull&) {
            throw XExportFailed(kFileAlertTable, kDiskFullAlert);
        }
    });
}

} // namespace quorvel
