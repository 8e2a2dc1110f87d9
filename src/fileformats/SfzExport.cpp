#include "fileformats/SfzExport.h"

#include <cstdio>
#include <filesystem>
#include <optional>
#include <system_error>

#include "fileformats/FileAlerts.h"
#include "fileformats/GrooveMIDIExport.h"
#include "fileformats/PortableFileName.h"
#include "fileformats/SoundExport.h"
#include "framework/SafeFileSet.h"

namespace quorvel {

namespace {

constexpr int kHighestKey = 127;

std::string Formatted(const char* format, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// A samples folder this export made is removed again when the export does
// not complete, if nothing else has gone into it meanwhile.
class CNewFolder {
public:
    explicit CNewFolder(const std::string& path) : path_(path)
    {
        std::error_code error;
        created_ = std::filesystem::create_directory(path_, error);
        if (error)
            throw XWrite();
    }
    ~CNewFolder()
    {
        std::error_code ignored;
        if (created_ && !kept_)
            std::filesystem::remove(path_, ignored); // only an empty folder goes
    }
    CNewFolder(const CNewFolder&) = delete;
    CNewFolder& operator=(const CNewFolder&) = delete;
    void Keep() { kept_ = true; }

private:
    std::string path_;
    bool created_ = false;
    bool kept_ = false;
};

SfzLoopInfo LoopInfoOf(const CExportJob& job, const std::string& name)
{
    SfzLoopInfo loop;
    loop.name = name;
    loop.milliBPM = job.Tempo();
    loop.numerator = job.Numerator();
    loop.denominator = job.Denominator();
    if (job.Numerator() > 0)
        loop.bars = double(job.LoopTicks()) * job.Denominator() / (4.0 * kGrooveDivision * job.Numerator());
    return loop;
}

void WriteText(CMedia& media, const std::string& text)
{
    media.Write(static_cast<int32_t>(text.size()), text.data());
}

// Asks alert 18 for a file already there, until "Replace All".
bool MayWrite(const CFileSpec& file, bool& replaceAll, CExportQuestions& questions)
{
    if (replaceAll || !file.NameTaken())
        return true;
    const ReplaceAnswer answer = questions.AskReplace(file.Name());
    replaceAll = answer == ReplaceAnswer::ReplaceAll;
    return answer != ReplaceAnswer::Cancel;
}

} // namespace

std::string SfzSafeName(const std::string& name)
{
    std::string safe = PortableFileName(name);
    for (char& c : safe)
        if (c == ' ' || c == '#' || c == '$' || c == '=')
            c = '_';
    return safe;
}

std::string SfzSamplesFolderName(const std::string& instrumentBaseName)
{
    return SfzSafeName(instrumentBaseName) + "_Samples";
}

std::string SfzSampleFileName(const std::string& name, int index)
{
    return NumberedSliceFileName(SfzSafeName(name), index, FirstExtension(filetypes::kWave));
}

std::string BuildSfzText(const SfzLoopInfo& loop, const std::vector<SfzRegion>& regions)
{
    std::string text = "// " + loop.name + "\n// Written by Quorvel: one slice of the loop per key\n";
    if (loop.milliBPM > 0)
        text += "// Tempo: " + Formatted("%.3f", loop.milliBPM / 1000.0) + " BPM\n";
    text += "// Time signature: " + std::to_string(loop.numerator) + "/" + std::to_string(loop.denominator) + "\n";
    if (loop.bars > 0)
        text += "// Bars: " + Formatted("%g", loop.bars) + "\n";
    for (const SfzRegion& region : regions) {
        const std::string key = std::to_string(region.key);
        // Each opcode on a line of its own: a sample path runs to the end of its line.
        text += "\n<region>\nsample=" + region.samplePath + "\nlokey=" + key + "\nhikey=" + key +
                "\npitch_keycenter=" + key + "\nloop_mode=one_shot\n";
    }
    return text;
}

ExportOutcome ExportSfz(CExportJob& job, const SfzExportOptions& options, CInstrumentExportQuestions& questions,
                        CExportProgress& progress)
{
    const std::optional<int> count = LimitSlices(questions, job.OutputCount(), kHighestKey + 1 - options.firstKey,
                                                 kInstrumentAlertTable, kSfzSliceLimitAlert);
    if (!count)
        return ExportOutcome::Cancelled;

    std::optional<CFileSpec> file =
        questions.AskSaveFile({"Export SFZ Instrument As:", &filetypes::kSfz, options.name});
    if (!file)
        return ExportOutcome::Cancelled;
    file->SetType(filetypes::kSfz.typeCode);
    file->SetCreator(CFileSpec::kOwnCreator);

    const std::string baseName = CFileSpec::BaseName(file->Name());
    const std::string folderName = SfzSamplesFolderName(baseName);
    const std::string folder = file->Folder() + folderName + "/";
    std::vector<CFileSpec> slices;
    std::vector<SfzRegion> regions;
    bool replaceAll = false;
    for (int i = 0; i < *count; ++i) {
        const std::string sliceName = SfzSampleFileName(options.name, i);
        CFileSpec slice(folder, sliceName, filetypes::kWave.typeCode);
        slice.SetCreator(CFileSpec::kOwnCreator);
        if (!MayWrite(slice, replaceAll, questions))
            return ExportOutcome::Cancelled;
        slices.push_back(slice);
        regions.push_back({folderName + "/" + sliceName, options.firstKey + i});
    }
    const CFileSpec groove(file->Folder(), baseName + FirstExtension(filetypes::kMIDI), filetypes::kMIDI.typeCode);
    if (options.withMIDIFile && !MayWrite(groove, replaceAll, questions))
        return ExportOutcome::Cancelled;

    return RunExportStep(kInstrumentAlertTable, kSfzFailedAlert, [&] {
        CNewFolder samplesFolder(folder);
        CSafeFileSet set;
        SoundExportParams params;
        params.type = &filetypes::kWave;
        params.rate = job.Sound().SampleRate();
        const ExportOutcome written = WriteSliceFiles(job, params, slices, progress, set);
        if (written != ExportOutcome::Completed)
            return written;
        const std::string text = BuildSfzText(LoopInfoOf(job, options.name), regions);
        set.Write(*file, [&](CMedia& media) { WriteText(media, text); });
        if (options.withMIDIFile) {
            const std::vector<uint8_t> midi =
                BuildGrooveMIDI(GrooveLoopOf(job), GrooveSpansOf(job, *count), options.firstKey);
            set.Write(groove, [&](CMedia& media) { media.Write(static_cast<int32_t>(midi.size()), midi.data()); });
        }
        set.Commit();
        samplesFolder.Keep();
        return ExportOutcome::Completed;
    });
}

} // namespace quorvel
