// quorvel-cli: the loop slicer without a window, for batch work and tests.
#include <iostream>

#include <CLI/CLI.hpp>

#include "app/CommandLineChecks.h"
#include "app/cli/CliError.h"
#include "app/cli/DocumentOptions.h"
#include "app/cli/ExportCommand.h"
#include "app/cli/JsonReports.h"
#include "app/cli/OpenInput.h"
#include "app/cli/PlayCommand.h"
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
    CLI::App app{"Quorvel without a window: examine drum loops, list their slices, and export them."};
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
