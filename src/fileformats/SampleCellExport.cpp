#include "fileformats/SampleCellExport.h"

#include "fileformats/FileAlerts.h"
#include "fileformats/GrooveMIDIExport.h"
#include "fileformats/SoundExport.h"
#include "framework/SafeFileSet.h"

namespace quorvel {

namespace {

SampleCellParameters Parameters(const SampleCellExportSettings& settings)
{
    if (!settings.useTemplate)
        return SampleCellParameters::Defaults();
    return RunExportStep(kInstrumentAlertTable, kSampleCellTemplateAlert, [&] {
        const std::unique_ptr<CMedia> media = settings.templateFile.OpenForReading();
        return ReadSampleCellTemplate(*media);
    });
}

} // namespace

SampleCellInstrument MakeSampleCellInstrument(const CExportJob& job, int count, const std::string& instrumentBase,
                                              const SampleCellParameters& parameters)
{
    SampleCellInstrument instrument;
    instrument.tuning = SampleCellTuningFor(job.PitchMode(), job.PitchCents());
    instrument.parameters = parameters;
    for (int i = 0; i < count; ++i)
        instrument.slices.push_back({SliceFileName(instrumentBase, i, kSampleCellNameLimit, filetypes::kWave),
                                     job.GetOutputInfo(i).length});
    return instrument;
}

ExportOutcome ExportSampleCell(CExportJob& job, SampleCellExportSettings& settings, bool withMIDIFile,
                               CInstrumentExportQuestions& questions, CExportProgress& progress)
{
    const std::optional<int> count =
        LimitSlices(questions, job.OutputCount(), SampleCellInstrument::kMaxSlices, kInstrumentAlertTable,
                    kSampleCellSliceLimitAlert);
    if (!count)
        return ExportOutcome::Cancelled;

    std::optional<CFileSpec> file = questions.AskSaveFile(
        {"Export SampleCell Instrument As:", &filetypes::kSampleCell, settings.lastInstrumentName});
    if (!file)
        return ExportOutcome::Cancelled;
    file->SetType(filetypes::kSampleCell.typeCode);
    file->SetCreator("MixA");
    const std::string base = CFileSpec::BaseName(file->Name());
    settings.lastInstrumentName = base;

    const int32_t rate = job.Sound().SampleRate();
    job.SetOutputRate(rate);
    const SampleCellParameters parameters = Parameters(settings);

    SoundExportParams params;
    // With the slice type's extension, which the sound export takes off again.
    params.baseFile = CFileSpec(file->Folder(), base + FirstExtension(filetypes::kWave), filetypes::kWave.typeCode);
    params.type = &filetypes::kWave;
    params.rate = rate;
    params.maxCount = *count;
    params.maxNameLength = kSampleCellNameLimit;
    params.keepExtraFrames = true;
    // Every question before the first byte is written.
    const std::optional<std::vector<CFileSpec>> sliceFiles = ChooseSliceFiles(job, params, questions);
    if (!sliceFiles)
        return ExportOutcome::Cancelled;

    // The instrument and its slice files replace what was there together or
    // not at all; the instrument comes last, after the files it names.
    CSafeFileSet set;
    const ExportOutcome slices = RunExportStep(kInstrumentAlertTable, kSampleCellFailedAlert, [&] {
        return WriteSliceFiles(job, params, *sliceFiles, progress, set);
    });
    if (slices != ExportOutcome::Completed)
        return slices;
    RunExportStep(kInstrumentAlertTable, kSampleCellInstrumentFailedAlert, [&] {
        set.Write(*file, [&](CMedia& media) {
            WriteSampleCellInstrument(media, MakeSampleCellInstrument(job, *count, base, parameters));
        });
    });
    RunExportStep(kInstrumentAlertTable, kSampleCellFailedAlert, [&] { set.Commit(); });

    if (!withMIDIFile)
        return ExportOutcome::Completed;
    return ExportGrooveMIDIFile(job, kGrooveFirstNote, *count, questions);
}

} // namespace quorvel
