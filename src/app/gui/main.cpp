// The desktop program: one copy per user; a later copy hands its files to the
// running one and ends without a window.
#include <QApplication>

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "framework/CommandLine.h"

#include "EventTrace.h"
#include "GuiOptions.h"
#include "QuitSignals.h"
#include "Quorvel.h"
#include "SingleInstance.h"
#include "Unattended.h"

namespace {

int RunProgram(int& argc, char** argv)
{
    using namespace quorvel::gui;

    QApplication qt(argc, argv); // takes out Qt's own options
    QApplication::setApplicationVersion(QStringLiteral(QUORVEL_VERSION));
    // Lets the desktop match the windows to the installed menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(QUORVEL_APP_ID));
    std::vector<std::string> arguments;
    for (const QString& argument : QApplication::arguments().mid(1))
        arguments.push_back(argument.toStdString());
    std::string error;
    const std::optional<GuiOptions> options = ParseGuiOptions(arguments, error);
    if (!options) {
        std::fprintf(stderr, "quorvel: %s\n%s", error.c_str(), GuiUsage().c_str());
        return 1;
    }
    if (!options->traceFile.empty()) {
        if (!StartTrace(options->traceFile)) {
            std::fprintf(stderr, "quorvel: cannot write %s\n", options->traceFile.c_str());
            return 1;
        }
        TraceModalDialogs();
    }

    const std::string commandLine = quorvel::JoinCommandLine(options->files);
    CSingleInstance instance(InstanceSocketPath(QStringLiteral("Quorvel")));
    switch (instance.Claim(commandLine)) {
    case InstanceRole::HandedOver:
        Trace("handed over");
        return 0;
    case InstanceRole::Failed:
        std::fputs("quorvel: another copy runs but does not answer\n", stderr);
        return 1;
    case InstanceRole::First:
        break;
    }

    if (options->unattended)
        AnswerEveryQuestion();
    CQuorvel application(qt, commandLine, options->quitAfterStart);
    instance.SetReceiver([&application](const std::string& text) { application.ReceiveCommandLine(text); });
    QuitOnTerminationSignals([&application] { application.EndSession(); });
    const int status = application.Run();
    instance.SetReceiver({});
    return status;
}

} // namespace

int main(int argc, char** argv)
{
    // Answered before Qt starts, so that they work without a display.
    if (const std::optional<std::string> answer =
            quorvel::gui::AnswerWithoutDisplay(std::vector<std::string>(argv + 1, argv + argc))) {
        std::fputs(answer->c_str(), stdout);
        return 0;
    }
    try {
        return RunProgram(argc, argv);
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "quorvel: %s\n", failure.what());
        return 1;
    }
}
