// quorvel-analyse: opens a sound file or document as the program does,
// applies the length and sensitivity given, and prints slices and tempo.
#include <iostream>

#include <CLI/CLI.hpp>

#include "app/CommandLineChecks.h"
#include "app/analyse/AnalysisReport.h"
#include "fileformats/DocumentFile.h"
#include "fileformats/FileAlerts.h"
#include "fileformats/FormatExceptions.h"
#include "framework/FileSpec.h"

namespace {

int Run(int argc, char** argv)
{
    using namespace quorvel;
    using cli::WholeNumber;
    CLI::App app{"Examine a drum loop: its slices, their strengths and the loop's tempo."};
    std::string path;
    std::string channel = "mix";
    int sensitivity = -1;
    int bars = -1;
    int beats = -1;
    app.add_option("file", path, "WAV or AIFF sound file, or a document (.qvl)")->required();
    app.add_option("--channel", channel, "how a stereo file becomes mono")
        ->check(CLI::IsMember({"left", "right", "mix"}));
    app.add_option("--sensitivity", sensitivity, "sensitivity fader, 0 to 99")
        ->check(WholeNumber())
        ->check(CLI::Range(0, 99));
    app.add_option("--bars", bars, "loop length in bars")->check(WholeNumber())->check(CLI::Range(0, 666));
    app.add_option("--beats", beats, "extra beats")->check(WholeNumber())->check(CLI::Range(0, 7));
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& help) {
        return app.exit(help);
    } catch (const CLI::ParseError& error) {
        app.exit(error);
        return 1; // a usage error, as for quorvel-cli
    }

    const ChannelMode mode = channel == "left" ? ChannelMode::Left
                             : channel == "right" ? ChannelMode::Right
                                                  : ChannelMode::Mix;
    try {
        OpenedDocument opened = OpenSoundOrDocument(CFileSpec(path), mode, DefaultDocumentOptions{}, true);
        if (opened.alert != 0)
            std::cerr << FileAlertText(opened.alert) << "\n";
        CSoundDocument& document = *opened.document;
        // A plain sound starts at sensitivity 0, where no analysed slice cuts
        // the loop; show the middle of the fader unless told otherwise.
        if (sensitivity >= 0 || !document.DocumentFile())
            document.SetSensitivity(sensitivity >= 0 ? sensitivity * 10 : 500);
        if (bars >= 0)
            document.SetBars(bars);
        if (beats >= 0)
            document.SetBeats(beats);
        document.RefreshTempo();
        PrintAnalysisReport(std::cout, document);
    } catch (const XUnsupportedFileType& refused) {
        std::cerr << FileAlertText(refused.AlertNumber()) << "\n";
        return 2;
    } catch (const XBase& failure) {
        std::cerr << FileAlertText(25, CFileSpec(path).Name()) << " (" << failure.what() << ")\n";
        return 2;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    return quorvel::cli::FinishStandardOutput("quorvel-analyse", Run(argc, argv));
}
