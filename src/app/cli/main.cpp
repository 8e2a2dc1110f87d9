// quorvel-cli: the loop slicer without a window, for batch work and tests.
#include <iostream>
#include <optional>

#include <CLI/CLI.hpp>

#include "app/CommandLineChecks.h"
#include "app/cli/CliError.h"
#include "app/cli/DocumentOptions.h"
#include "app/cli/ExportCommand.h"
#include "app/cli/FindCommand.h"
#include "app/cli/InstalledSamplerCommands.h"
#include "app/cli/JsonReports.h"
#include "app/cli/OpenInput.h"
#include "app/cli/PlayCommand.h"
#include "app/cli/SamplerCommands.h"
#include "app/cli/SamplerOptions.h"
#include "devices/emulated/DevicesAtStartUp.h"
#include "fileformats/SoundImport.h"
#include "framework/FileSpec.h"
#include "framework/LiveTemporaryFiles.h"

namespace {

using namespace quorvel;
using namespace quorvel::cli;

int Info(const std::string& path)
{
    const std::string type = InputTypeDescription(path);
    SoundFileInfo info;
    try {
        info = ReadSoundInfo(CFileSpec(path));
    } catch (...) {
        OpenInput(path, ChannelMode::Mix); // reports the refusal in the user's terms
        throw;
    }
    std::cout << InfoReport(path, type, info).dump(2) << "\n";
    return kSuccess;
}

int Slices(const std::string& path, const DocumentOptions& options)
{
    auto document = OpenInput(path, options.Channel());
    ApplyDocumentOptions(*document, options);
    std::cout << SlicesReport(*document).dump(2) << "\n";
    return kSuccess;
}

int Run(int argc, char** argv)
{
    CLI::App app{"Quorvel without a window: examine drum loops, list their slices, export them, and send them to "
                 "a sampler."};
    app.require_subcommand(1);

    std::string path;
    CLI::App* info = app.add_subcommand("info", "print a sound file's format as JSON");
    info->add_option("file", path, "WAV, AIFF or document file")->required();

    DocumentOptions options;
    CLI::App* slices = app.add_subcommand("slices", "open a file as the program would and print its slices as JSON");
    slices->add_option("file", path, "WAV, AIFF or document file")->required();
    AddDocumentOptions(*slices, options);

    ExportOptions exportOptions;
    CLI::App* exporter = app.add_subcommand("export", "open a file, apply the options and write the outputs named");
    exporter->add_option("file", path, "WAV, AIFF or document file")->required();
    AddDocumentOptions(*exporter, options);
    AddExportOptions(*exporter, exportOptions);
    exporter->footer("Exit status: 0 success, 1 usage error, 2 the input was refused, 3 an export was refused or "
                     "failed.");

    CLI::App* devices = app.add_subcommand("devices", "list the usable sound cards and their latency settings as JSON");
    PlayOptions playOptions;
    CLI::App* play = app.add_subcommand("play", "play the loop or one slice on a sound card");
    play->add_option("file", path, "WAV, AIFF or document file")->required();
    AddDocumentOptions(*play, options);
    AddPlayOptions(*play, playOptions);

    std::optional<std::string> trace;
    CLI::App* midiPorts = app.add_subcommand("midi-ports", "list the MIDI inputs and outputs as JSON");
    AddTraceOption(*midiPorts, trace);
    CLI::App* samplers = app.add_subcommand(
        "samplers", "list the sampler models and the samplers installed in the program's Sampler Settings as JSON");
    std::optional<std::string> findModel;
    CLI::App* finder = app.add_subcommand(
        "find", "search the SCSI buses and MIDI ports for samplers, as the program's Find does; prints them as JSON");
    finder->add_option("--model", findModel, "look for this model only (type id or name; see samplers)");
    AddTraceOption(*finder, trace);
    finder->footer("Output: {\"found\":[{\"type\",\"model\",\"midi_in\",\"midi_out\",\"sysex_id\",\"scsi_bus\","
                   "\"scsi_id\",\"os\",\"double\"}]}; double names the earlier finding or the installed sampler it "
                   "equals. Exit status 3 when nothing answered (the program's alert on stderr).");
    CLI::App* scsiBuses =
        app.add_subcommand("scsi-buses", "list the SCSI buses and what answers at each target id as JSON");
    AddTraceOption(*scsiBuses, trace);

    const char* kSamplerFooter =
        "A sampler is named with --model sds --midi-in PORT --midi-out PORT [--sysex-id N]: a plain MIDI Sample Dump "
        "Standard sampler answering device number N (0 to 127) on those ports (quorvel-cli midi-ports lists them); "
        "or with --model smdi --scsi-bus BUS --scsi-id N: a plain SMDI sampler at that SCSI id (quorvel-cli "
        "scsi-buses lists the buses); or with --model TYPEID|NAME and the ports its transport needs: --scsi-bus BUS "
        "--scsi-id N over SCSI (E-mu, AKAI), --midi-in PORT --midi-out PORT [--sysex-id N] over MIDI (AKAI, Kurzweil, "
        "Roland, Yamaha, Ensoniq), both for the MIDI+SCSI models (Kurzweil, Yamaha) (quorvel-cli samplers lists the "
        "models); or with --sampler NAME, a sampler installed in the program's Sampler Settings.\n"
        "Exit status: 0 success, 1 usage error, 2 the input was refused, 3 the sampler refused or failed (its alert "
        "text on stderr).";
    SamplerOptions samplerOptions;
    CLI::App* lister = app.add_subcommand("list", "print the sampler's samples as JSON");
    AddSamplerOptions(*lister, samplerOptions);
    AddTraceOption(*lister, trace);
    lister->footer(std::string(kSamplerFooter) +
                   "\nA plain Sample Dump Standard sampler cannot list its samples: list refuses it (status 3). A "
                   "sampler without a directory whose sample numbers are few (an E-mu: 1 to 999) is listed by "
                   "asking each number for its header.\nOutput: {\"samples\":[{\"name\",\"number\",\"stereo\","
                   "\"right\"}]}");

    TransmitOptions transmitOptions;
    CLI::App* transmit = app.add_subcommand(
        "transmit", "open a file, apply the options and send one sample per active slice (or the whole loop as one "
                    "sample with --one-sample) to a sampler; prints the samples it made as JSON");
    transmit->add_option("file", path, "WAV, AIFF or document file")->required();
    AddDocumentOptions(*transmit, options);
    AddSamplerOptions(*transmit, samplerOptions);
    AddTransmitOptions(*transmit, transmitOptions);
    AddTraceOption(*transmit, trace);
    transmit->footer(std::string(kSamplerFooter) +
                     "\nOutput: {\"samples\":[{\"slice\",\"name\",\"number\",\"frames\",\"rate\"}]}; slice counts "
                     "the slices sent from 1 (0: the whole loop as one sample), name is the name the sampler holds "
                     "(none over a sample dump). An AKAI sampler also gets a program of one keygroup per slice from --first-key "
                     "up: \"program\":{\"name\",\"number\",\"keygroups\"}.");

    ReceiveOptions receiveOptions;
    CLI::App* receive = app.add_subcommand(
        "receive", "receive one sample from a sampler and write it as a WAV or AIFF file; prints what it got as JSON");
    AddSamplerOptions(*receive, samplerOptions);
    AddReceiveOptions(*receive, receiveOptions);
    AddTraceOption(*receive, trace);
    receive->footer(std::string(kSamplerFooter) +
                    "\nThe file is replaced only with --force, and only once it is complete. Words wider than 16 "
                    "bits keep their top 16 bits; a stereo sample gives the side or the mix --channel asks for.");

    DeleteOptions deleteOptions;
    CLI::App* deleter = app.add_subcommand("delete", "delete one sample from a sampler's memory");
    AddSamplerOptions(*deleter, samplerOptions);
    AddDeleteOptions(*deleter, deleteOptions);
    AddTraceOption(*deleter, trace);
    deleter->footer(std::string(kSamplerFooter) + "\nOutput: {\"deleted\": N}");

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& help) {
        return app.exit(help);
    } catch (const CLI::ParseError& error) {
        app.exit(error);
        return kUsage;
    }

    try {
        if (*info)
            return Info(path);
        if (*devices) {
            std::cout << DevicesReport().dump(2) << "\n";
            return kSuccess;
        }
        if (*play) {
            std::cout << Play(path, options, playOptions).dump(2) << "\n";
            return kSuccess;
        }
        if (*samplers) {
            std::cout << SamplersReport(InstalledSamplersOnFile()).dump(2) << "\n";
            return kSuccess;
        }
        if (samplerOptions.sampler)
            samplerOptions = WithInstalledSampler(samplerOptions, InstalledSamplersOnFile());
        if (*midiPorts || *scsiBuses || *finder || *lister || *transmit || *receive || *deleter) {
            StartTrace(trace);
            // Emulated samplers (QUORVEL_EMULATED_SAMPLERS) add their Loopback
            // ports and SCSI targets.
            CDevicesAtStartUp startUp;
            CMIDIPortLists& ports = startUp.MIDIPorts();
            CSCSIBusRegistry& buses = startUp.SCSIBuses();
            const SDeviceLists devices{ports, buses};
            nlohmann::ordered_json report;
            if (*midiPorts)
                report = MIDIPortsReport(ports);
            else if (*scsiBuses)
                report = SCSIBusesReport(buses);
            else if (*finder)
                report = Find({ports, buses}, InstalledSamplersOnFile(), findModel);
            else if (*lister)
                report = List(devices, samplerOptions);
            else if (*transmit)
                report = Transmit(devices, path, options, samplerOptions, transmitOptions);
            else if (*receive)
                report = Receive(devices, samplerOptions, receiveOptions);
            else
                report = Delete(devices, samplerOptions, deleteOptions);
            std::cout << report.dump(2) << "\n";
            return kSuccess;
        }
        if (*exporter) {
            RunExports(path, options, exportOptions);
            return kSuccess;
        }
        return Slices(path, options);
    } catch (const CliError& refusal) {
        std::cerr << refusal.what() << "\n";
        return refusal.Status();
    } catch (const std::exception& failure) {
        std::cerr << "quorvel-cli: " << failure.what() << "\n";
        return kInputRefused;
    }
}

} // namespace

int main(int argc, char** argv)
{
    // Ctrl-C or a logout during an export leaves no temporary file behind.
    RemoveLiveTemporariesOnSignals();
    return FinishStandardOutput("quorvel-cli", Run(argc, argv));
}
