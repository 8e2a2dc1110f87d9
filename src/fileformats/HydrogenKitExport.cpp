#include "fileformats/HydrogenKitExport.h"

#include <cstdio>
#include <cstdlib>
#include <optional>

#include "fileformats/FileAlerts.h"
#include "fileformats/FileTypes.h"
#include "fileformats/OutputLimits.h"
#include "fileformats/PortableFileName.h"
#include "fileformats/SoundExport.h"
#include "fileformats/TarGzWriter.h"
#include "framework/GrowingMemoryMedia.h"
#include "framework/SafeFileWriter.h"

namespace quorvel {

namespace {

std::string Escaped(const std::string& text)
{
    std::string escaped;
    for (const char c : text) {
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '"': escaped += "&quot;"; break;
        default:
            // Control characters other than tab and line feed are not XML.
            escaped += static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' ? ' ' : c;
        }
    }
    return escaped;
}

void Element(std::string& xml, int indent, const std::string& tag, const std::string& value)
{
    xml += std::string(static_cast<size_t>(indent), ' ') + "<" + tag + ">" + Escaped(value) + "</" + tag + ">\n";
}

std::string InstrumentXml(const HydrogenKitInfo& kit, int index)
{
    std::string xml = "    <instrument>\n";
    const int in = 6;
    Element(xml, in, "id", std::to_string(index));
    Element(xml, in, "name", kit.name + " " + std::to_string(index + 1));
    Element(xml, in, "volume", "1");
    Element(xml, in, "isMuted", "false");
    Element(xml, in, "isSoloed", "false");
    Element(xml, in, "pan_L", "1"); // both sides full: the centre
    Element(xml, in, "pan_R", "1");
    Element(xml, in, "pitchOffset", "0");
    Element(xml, in, "randomPitchFactor", "0");
    Element(xml, in, "gain", "1");
    Element(xml, in, "applyVelocity", "true");
    Element(xml, in, "filterActive", "false");
    Element(xml, in, "filterCutoff", "1");
    Element(xml, in, "filterResonance", "0");
    Element(xml, in, "Attack", "0");
    Element(xml, in, "Decay", "0");
    Element(xml, in, "Sustain", "1");
    Element(xml, in, "Release", "1000");
    Element(xml, in, "muteGroup", "-1");
    Element(xml, in, "midiOutChannel", "-1");
    Element(xml, in, "midiOutNote", std::to_string(kit.firstNote + index));
    Element(xml, in, "isStopNote", "false");
    Element(xml, in, "sampleSelectionAlgo", "VELOCITY");
    Element(xml, in, "isHihat", "-1");
    Element(xml, in, "lower_cc", "0");
    Element(xml, in, "higher_cc", "127");
    xml += "      <instrumentComponent>\n";
    Element(xml, 8, "component_id", "0");
    Element(xml, 8, "gain", "1");
    xml += "        <layer>\n";
    Element(xml, 10, "filename", kit.sampleFiles[static_cast<size_t>(index)]);
    Element(xml, 10, "min", "0");
    Element(xml, 10, "max", "1");
    Element(xml, 10, "gain", "1");
    Element(xml, 10, "pitch", "0");
    xml += "        </layer>\n      </instrumentComponent>\n    </instrument>\n";
    return xml;
}

std::string KitInfoLine(const CExportJob& job, int count)
{
    char line[160];
    std::snprintf(line, sizeof line, "%d slices of a loop in %d/%d", count, job.Numerator(), job.Denominator());
    std::string info = line;
    if (job.Tempo() > 0) {
        std::snprintf(line, sizeof line, " at %.3f BPM", job.Tempo() / 1000.0);
        info += line;
    }
    return info + ", exported by Quorvel.";
}

std::vector<uint8_t> SliceWaveBytes(WAVE_SAMPLE& slice)
{
    CGrowingMemoryMedia media;
    WriteSliceFile(media, slice, filetypes::kWave);
    return media.Bytes();
}

ExportOutcome WriteKit(CMedia& media, CExportJob& job, const HydrogenKitInfo& kit, const std::string& folder,
                       std::time_t now, CExportProgress& progress)
{
    const int count = static_cast<int>(kit.sampleFiles.size());
    CProgressScope scope(progress, "Slices left:");
    CTarGzWriter archive(media, now);
    archive.AddFolder(folder);
    const std::string xml = BuildHydrogenDrumkitXml(kit);
    archive.AddFile(folder + "/drumkit.xml", std::vector<uint8_t>(xml.begin(), xml.end()));
    for (int i = 0; i < count; ++i) {
        progress.Show(count - i, i * 100 / count);
        if (progress.CancelPressed())
            return ExportOutcome::Cancelled;
        archive.AddFile(folder + "/" + kit.sampleFiles[static_cast<size_t>(i)], SliceWaveBytes(*job.GetOutput(i)));
    }
    archive.Finish();
    progress.Show(0, 100);
    return ExportOutcome::Completed;
}

} // namespace

std::string BuildHydrogenDrumkitXml(const HydrogenKitInfo& kit)
{
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<drumkit_info xmlns=\"http://www.hydrogen-music.org/drumkit\">\n";
    Element(xml, 2, "name", kit.name);
    Element(xml, 2, "author", "");
    Element(xml, 2, "info", kit.info);
    Element(xml, 2, "license", "");
    Element(xml, 2, "image", "");
    Element(xml, 2, "imageLicense", "");
    xml += "  <componentList>\n    <drumkitComponent>\n";
    Element(xml, 6, "id", "0");
    Element(xml, 6, "name", "Main");
    Element(xml, 6, "volume", "1");
    xml += "    </drumkitComponent>\n  </componentList>\n  <instrumentList>\n";
    for (int i = 0; i < static_cast<int>(kit.sampleFiles.size()); ++i)
        xml += InstrumentXml(kit, i);
    xml += "  </instrumentList>\n</drumkit_info>\n";
    return xml;
}

std::time_t ArchiveTime()
{
    if (const char* fixed = std::getenv("SOURCE_DATE_EPOCH")) {
        char* end = nullptr;
        const long long seconds = std::strtoll(fixed, &end, 10);
        if (end != fixed && *end == '\0' && seconds >= 0)
            return static_cast<std::time_t>(seconds);
    }
    return std::time(nullptr);
}

ExportOutcome ExportHydrogenKit(CExportJob& job, const std::string& name, CInstrumentExportQuestions& questions,
                                CExportProgress& progress)
{
    const std::optional<int> count = LimitSlices(questions, job.OutputCount(), kHydrogenMaxInstruments,
                                                 kInstrumentAlertTable, kHydrogenSliceLimitAlert);
    if (!count)
        return ExportOutcome::Cancelled;

    std::optional<CFileSpec> file =
        questions.AskSaveFile({"Export Hydrogen Drum Kit As:", &filetypes::kHydrogenKit, name});
    if (!file)
        return ExportOutcome::Cancelled;
    file->SetType(filetypes::kHydrogenKit.typeCode);
    file->SetCreator(CFileSpec::kOwnCreator);

    // The slices as Export Sound writes them, at the sound's own rate.
    job.SetExtraFrames(0);
    job.SetOutputRate(job.Sound().SampleRate());
    CheckOutputLengths(job, *count);

    HydrogenKitInfo kit;
    kit.name = name;
    kit.info = KitInfoLine(job, *count);
    const std::string portable = PortableFileName(name);
    for (int i = 0; i < *count; ++i)
        kit.sampleFiles.push_back(NumberedSliceFileName(portable, i, FirstExtension(filetypes::kWave)));

    return RunExportStep(kInstrumentAlertTable, kHydrogenFailedAlert, [&] {
        CSafeFileWriter target(*file);
        const ExportOutcome written = WriteKit(target.Media(), job, kit, portable, ArchiveTime(), progress);
        if (written == ExportOutcome::Completed)
            target.Commit();
        return written;
    });
}

} // namespace quorvel
