#include "app/cli/ExportCommand.h"

#include <functional>

#include <CLI/CLI.hpp>

#include "analysis/SliceSet.h"
#include "app/CommandLineChecks.h"
#include "app/cli/CliError.h"
#include "app/cli/CliQuestions.h"
#include "app/cli/OpenInput.h"
#include "fileformats/DocumentFile.h"
#include "fileformats/FileAlerts.h"
#include "fileformats/FileTypes.h"
#include "fileformats/GrooveMIDIExport.h"
#include "fileformats/HydrogenKitExport.h"
#include "fileformats/MixmanExport.h"
#include "fileformats/QLXFile.h"
#include "fileformats/SampleCellExport.h"
#include "fileformats/SfzExport.h"
#include "fileformats/SoundExport.h"
#include "fileformats/SoundFontExport.h"

namespace quorvel::cli {

namespace {

constexpr int kSaveDocumentFailedAlert = 45;

std::string AlertOf(const XExportFailed& failure)
{
    return failure.Table() == kInstrumentAlertTable ? InstrumentAlertText(failure.Alert())
                                                    : FileAlertText(failure.Alert());
}

// Runs one export; a refused question, a cancel or a failure stops the tool
// with the alert that says why.
void Run(CCliQuestions& questions, int failureAlert, const std::function<ExportOutcome()>& exportStep)
{
    questions.ClearRefusal();
    ExportOutcome outcome;
    try {
        outcome = exportStep();
    } catch (const XExportFailed& failure) {
        throw CliError(kExportRefused, AlertOf(failure));
    } catch (const XBase&) {
        throw CliError(kExportRefused, FileAlertText(failureAlert));
    }
    if (outcome == ExportOutcome::Cancelled || questions.Refusal())
        throw CliError(kExportRefused, questions.Refusal().value_or("The export was cancelled."));
}

// Single-file outputs are only replaced when asked to; a link that points
// nowhere is an output too.
void CheckReplace(CCliQuestions& questions, const std::string& path)
{
    const CFileSpec file(path);
    if (file.NameTaken() && questions.AskReplace(file.Name()) == ReplaceAnswer::Cancel)
        throw CliError(kExportRefused, *questions.Refusal());
}

std::string InstrumentName(const ExportOptions& options, const CSoundDocument& document)
{
    if (options.name)
        return *options.name;
    return CFileSpec::BaseName(document.Sound()->Name());
}

} // namespace

void AddExportOptions(CLI::App& command, ExportOptions& o)
{
    command.add_option("--document", o.document, "save the document (.qvl)");
    command.add_option("--qlx", o.qlx, "export a QLX sliced-loop file (.qlx)");
    command.add_option("--midi", o.midi, "export the groove MIDI file (.mid)");
    command.add_option("--sound", o.sound, "one sound file per slice, named after this (.wav, .aif or .flac)");
    command.add_option("--rate", o.rate, "sample rate of the slice files (default: the sound's)")
        ->check(WholeNumber())
        ->check(CLI::Range(1000, 192000));
    command.add_option("--soundfont", o.soundfont, "export a SoundFont bank (.sf2)");
    command.add_option("--samplecell", o.samplecell, "export a SampleCell instrument (.ins) with WAV slices");
    command.add_option("--template", o.templateFile, "SampleCell instrument whose sound parameters to use")
        ->check(CLI::ExistingFile);
    command.add_option("--mixman", o.mixman, "export a Mixman track file (.trk)");
    command.add_option("--sfz", o.sfz, "export an SFZ instrument (.sfz) with its WAV slices in NAME_Samples/");
    command.add_option("--first-key", o.firstKey, "key of the first slice in the SFZ instrument (default 36)")
        ->check(WholeNumber())
        ->check(CLI::Range(0, 127));
    command.add_flag("--groove", o.sfzGroove, "with --sfz: the groove MIDI file beside the instrument (NAME.mid)");
    command.add_option("--hydrogen", o.hydrogen, "export a Hydrogen drum kit (.h2drumkit)");
    command.add_option("--name", o.name, "instrument name (default: the sound's name)");
    command.add_flag("--force", o.force, "replace files that already exist");
    command.add_flag("--accept-limit", o.acceptLimit, "export the first slices when there are more than fit");
}

void RunExports(const std::string& input, const DocumentOptions& documentOptions, const ExportOptions& o)
{
    const bool instruments = o.soundfont || o.samplecell || o.mixman || o.sfz || o.hydrogen;
    if (!o.document && !o.qlx && !o.midi && !o.sound && !instruments)
        throw CliError(kUsage, "export: name at least one output (--document, --qlx, --midi, --sound, ...)");

    const std::unique_ptr<CSoundDocument> document = OpenInput(input, documentOptions.Channel());
    ApplyDocumentOptions(*document, documentOptions);
    CCliQuestions questions(o.force, o.acceptLimit);
    CExportProgress silent;

    if (o.document) {
        CheckReplace(questions, *o.document);
        Run(questions, kSaveDocumentFailedAlert, [&] {
            SaveDocument(*document, CFileSpec(*o.document));
            return ExportOutcome::Completed;
        });
    }
    if (!(o.qlx || o.midi || o.sound || instruments))
        return;

    // Every other output needs the loop's musical length.
    if (!document->EnsureLength(questions))
        throw CliError(kExportRefused, *questions.Refusal());
    document->RefreshTempo();
    const std::string name = InstrumentName(o, *document);

    if (o.qlx) {
        CheckReplace(questions, *o.qlx);
        CExportJob job = MakeExportJob(*document);
        Run(questions, kQLXExportFailedAlert,
            [&] { return ExportQLXFile(job, CFileSpec(*o.qlx), questions, silent); });
    }
    if (o.midi) {
        questions.SetNextFile(*o.midi);
        const CExportJob job = MakeExportJob(*document);
        Run(questions, kMIDIFileFailedAlert, [&] { return ExportGrooveMIDICommand(job, questions); });
    }
    if (o.sound) {
        CExportJob job = MakeExportJob(*document);
        SoundExportParams params;
        params.baseFile = CFileSpec(*o.sound);
        params.type = FileTypeMatches(filetypes::kWave, params.baseFile.Name())   ? &filetypes::kWave
                      : FileTypeMatches(filetypes::kFLAC, params.baseFile.Name()) ? &filetypes::kFLAC
                                                                                   : &filetypes::kAIFF;
        params.rate = o.rate.value_or(document->Sound()->SampleRate());
        Run(questions, kSliceExportFailedAlert,
            [&] { return ExportSlicesToFiles(job, params, questions, silent); });
    }
    if (o.soundfont) {
        questions.SetNextFile(*o.soundfont);
        CExportJob job = MakeExportJob(*document);
        Run(questions, kSoundFontFailedAlert,
            [&] { return ExportSoundFont(job, SoundFontExportOptions{name, false}, questions, silent); });
    }
    if (o.samplecell) {
        questions.SetNextFile(*o.samplecell);
        CExportJob job = MakeExportJob(*document);
        SampleCellExportSettings settings;
        settings.useTemplate = o.templateFile.has_value();
        if (o.templateFile)
            settings.templateFile = CFileSpec(*o.templateFile);
        Run(questions, kSampleCellFailedAlert,
            [&] { return ExportSampleCell(job, settings, false, questions, silent); });
    }
    if (o.mixman) {
        questions.SetNextFile(*o.mixman);
        CExportJob job = MakeExportJob(*document);
        if (!MixmanExportAllowed(job))
            throw CliError(kExportRefused, InstrumentAlertText(kMixmanMetreAlert));
        Run(questions, kMixmanFailedAlert, [&] { return ExportMixmanTrack(job, name, questions, silent); });
    }
    if (o.sfz) {
        questions.SetNextFile(*o.sfz);
        CExportJob job = MakeExportJob(*document);
        SfzExportOptions options;
        options.name = name;
        options.withMIDIFile = o.sfzGroove;
        options.firstKey = o.firstKey.value_or(kSfzDefaultFirstKey);
        Run(questions, kSfzFailedAlert, [&] { return ExportSfz(job, options, questions, silent); });
    }
    if (o.hydrogen) {
        questions.SetNextFile(*o.hydrogen);
        CExportJob job = MakeExportJob(*document);
        Run(questions, kHydrogenFailedAlert, [&] { return ExportHydrogenKit(job, name, questions, silent); });
    }
}

} // namespace quorvel::cli
