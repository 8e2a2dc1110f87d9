#include "fileformats/SoundFontExport.h"

#include <algorithm>

#include "fileformats/FileAlerts.h"
#include "fileformats/GrooveMIDIExport.h"
#include "fileformats/OutputLimits.h"
#include "fileformats/SoundFontFileWriter.h"
#include "framework/SafeFileWriter.h"

namespace quorvel {

namespace {

constexpr int32_t kBlockFrames = 1024;

} // namespace

ExportOutcome WriteSoundFontBank(CMedia& media, CExportJob& job, int count, const std::string& bankName,
                                 const std::string& name, CExportProgress& progress)
{
    job.SetOutputRate(job.Sound().SampleRate());
    CheckOutputLengths(job, count);
    CProgressScope scope(progress, "Slices left:");
    progress.Show(count, 0);

    CSoundFontFileWriter writer(media);
    writer.Begin(bankName);
    for (int i = 0; i < count; ++i) {
        progress.Show(count - i, i * 100 / count);
        if (progress.CancelPressed())
            return ExportOutcome::Cancelled;
        const std::unique_ptr<WAVE_SAMPLE> slice = job.GetOutput(i);
        const int32_t frames = slice->Length();
        writer.BeginSlice();
        for (int32_t done = 0; done < frames;) {
            const int32_t block = std::min(kBlockFrames, frames - done);
            writer.WriteFrames(*slice, done, block);
            done += block;
            progress.Show(count - i, static_cast<int>((int64_t(i) * frames + done) * 100 / (int64_t(count) * frames)));
            if (progress.CancelPressed())
                return ExportOutcome::Cancelled;
        }
        writer.EndSlice(CSoundFontFileWriter::SampleName(name, i), static_cast<uint32_t>(slice->SampleRate()));
    }
    writer.Finish(name);
    progress.Show(0, 100);
    return ExportOutcome::Completed;
}

ExportOutcome ExportSoundFont(CExportJob& job, const SoundFontExportOptions& options,
                              CInstrumentExportQuestions& questions, CExportProgress& progress)
{
    const std::optional<int> count = LimitSlices(questions, job.OutputCount(), kSoundFontMaxSlices,
                                                 kInstrumentAlertTable, kSoundFontSliceLimitAlert);
    if (!count)
        return ExportOutcome::Cancelled;

    std::optional<CFileSpec> file =
        questions.AskSaveFile({"Export SoundFont Bank As:", &filetypes::kSoundFont, options.name});
    if (!file)
        return ExportOutcome::Cancelled;
    file->SetType(filetypes::kSoundFont.typeCode);
    file->SetCreator(CFileSpec::kOwnCreator);

    const ExportOutcome outcome = RunExportStep(kInstrumentAlertTable, kSoundFontFailedAlert, [&] {
        CSafeFileWriter target(*file);
        const ExportOutcome written =
            WriteSoundFontBank(target.Media(), job, *count, CFileSpec::BaseName(file->Name()), options.name, progress);
        if (written == ExportOutcome::Completed)
            target.Commit();
        return written;
    });
    if (outcome != ExportOutcome::Completed || !options.withMIDIFile)
        return outcome;
    return ExportGrooveMIDIFile(job, kGrooveFirstNote, *count, questions);
}

} // namespace quorvel
