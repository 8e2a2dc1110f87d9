#include "fileformats/SoundExport.h"

#include <algorithm>
#include <cstdio>

#include "fileformats/SampleData.h"
#include "fileformats/AIFFSoundChunks.h"
#include "fileformats/FlacSliceWriter.h"
#include "fileformats/IFFWriter.h"
#include "fileformats/OutputLimits.h"
#include "fileformats/WaveFormat.h"
#include "framework/SafeFileSet.h"
#include "framework/UTF8Text.h"

namespace quorvel {

namespace {

// Longest file name (in bytes) Linux file systems accept.
constexpr size_t kPlatformNameLimit = 255;

std::string Numbered(const char* format, int number)
{
    char text[32];
    std::snprintf(text, sizeof text, format, number);
    return text;
}

// The chosen name without its sound-file extension (the save dialog may
// still show the other type's).
std::string BaseNameOf(const std::string& chosenName)
{
    if (!FileTypeMatches(filetypes::kAIFF, chosenName) && !FileTypeMatches(filetypes::kWave, chosenName) &&
        !FileTypeMatches(filetypes::kFLAC, chosenName))
        return chosenName;
    std::string base;
    std::string extension;
    CFileSpec::SplitName(chosenName, base, extension);
    return base;
}

void WriteAIFF(CMedia& media, WAVE_SAMPLE& sample)
{
    const auto frames = static_cast<uint32_t>(sample.Length());
    CAIFFWriter writer(&media);
    writer.BeginGroup("FORM", "AIFF");
    WriteMonoCommon(writer, frames, sample.SampleRate());
    writer.BeginChunk("SSND");
    const uint8_t offsetAndBlockSize[8] = {};
    writer.Write(8, offsetAndBlockSize);
    WriteValuesBigEndian(sample.Store(), 0, frames, media);
    writer.EndChunk();
    WriteInstrument(writer, sample.HasInstrumentData() ? sample.RootKey() : 60,
                    sample.HasInstrumentData() ? sample.FineTune() : 0);
    WriteLoopMarkers(writer, sample.LoopStart(), sample.LoopEnd());
    writer.EndGroup();
}

void WriteWAV(CMedia& media, WAVE_SAMPLE& sample)
{
    const auto frames = static_cast<uint32_t>(sample.Length());
    const WaveFormat format = WaveFormat::PCM16(1, sample.SampleRate());
    CWaveWriter writer(&media);
    writer.BeginGroup("RIFF", "WAVE");
    uint8_t fmt[WaveFormat::kSize];
    format.Encode(fmt);
    writer.WriteChunk("fmt ", fmt, WaveFormat::kSize);
    if (frames > 0) {
        writer.BeginChunk("data");
        WriteValuesLittleEndian(sample.Store(), 0, frames, media);
        writer.EndChunk();
    }
    writer.EndGroup();
}

} // namespace

std::string SliceFileName(const std::string& baseName, int index, size_t maxNameLength, const FileTypeSpec& type)
{
    const std::string extension = FirstExtension(type);
    std::string suffix = Numbered(" #%03d", index + 1);
    if (2 * suffix.size() > maxNameLength)
        suffix = Numbered("%03d", index + 1);
    const size_t limit = std::min(maxNameLength, kPlatformNameLimit - extension.size());
    const size_t room = limit > suffix.size() ? limit - suffix.size() : 0;
    return CutUTF8(baseName, room) + suffix + extension;
}

void WriteSliceFile(CMedia& media, WAVE_SAMPLE& sample, const FileTypeSpec& type)
{
    if (&type == &filetypes::kWave)
        WriteWAV(media, sample);
    else if (&type == &filetypes::kFLAC)
        WriteFlacSlice(media, sample);
    else
        WriteAIFF(media, sample);
}

std::optional<std::vector<CFileSpec>> ChooseSliceFiles(CExportJob& job, const SoundExportParams& params,
                                                       CExportQuestions& questions)
{
    const FileTypeSpec& type = params.type ? *params.type : filetypes::kAIFF;
    const std::string baseName = BaseNameOf(params.baseFile.Name());
    int n = job.OutputCount();
    if (params.maxCount > 0)
        n = std::min(n, params.maxCount);

    std::vector<CFileSpec> files;
    bool replaceAll = false;
    for (int i = 0; i < n; ++i) {
        CFileSpec file(params.baseFile.Folder(), SliceFileName(baseName, i, params.maxNameLength, type),
                       type.typeCode);
        file.SetCreator(CFileSpec::kOwnCreator);
        if (!replaceAll && file.NameTaken()) {
            const ReplaceAnswer answer = questions.AskReplace(file.Name());
            if (answer == ReplaceAnswer::Cancel)
                return std::nullopt;
            replaceAll = answer == ReplaceAnswer::ReplaceAll;
        }
        files.push_back(std::move(file));
    }
    return files;
}

ExportOutcome WriteSliceFiles(CExportJob& job, const SoundExportParams& params, const std::vector<CFileSpec>& files,
                              CExportProgress& progress, CSafeFileSet& set)
{
    if (!params.keepExtraFrames)
        job.SetExtraFrames(0);
    job.SetOutputRate(params.rate);
    const FileTypeSpec& type = params.type ? *params.type : filetypes::kAIFF;
    const int n = static_cast<int>(files.size());
    CheckOutputLengths(job, n);
    if (&type == &filetypes::kWave)
        WaveFormat::PCM16(1, params.rate); // a rate no header can state is refused before any work

    CProgressScope scope(progress, "Slices left:");
    for (int i = 0; i < n; ++i) {
        progress.Show(n - i, i * 100 / n);
        if (progress.CancelPressed()) {
            progress.ShowCancelled("Sound Export cancelled!");
            return ExportOutcome::Cancelled;
        }
        const std::unique_ptr<WAVE_SAMPLE> sample = job.GetOutput(i);
        set.Write(files[static_cast<size_t>(i)], [&](CMedia& media) { WriteSliceFile(media, *sample, type); });
    }
    progress.Show(0, 100);
    return ExportOutcome::Completed;
}

ExportOutcome ExportSlicesToFiles(CExportJob& job, const SoundExportParams& params, CExportQuestions& questions,
                                  CExportProgress& progress)
{
    const std::optional<std::vector<CFileSpec>> files = ChooseSliceFiles(job, params, questions);
    if (!files)
        return ExportOutcome::Cancelled;
    CSafeFileSet set;
    const ExportOutcome outcome = WriteSliceFiles(job, params, *files, progress, set);
    if (outcome == ExportOutcome::Completed)
        set.Commit();
    return outcome;
}

} // namespace quorvel
