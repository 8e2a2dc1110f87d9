#include "GuiOptions.h"

namespace quorvel::gui {

std::optional<GuiOptions> ParseGuiOptions(const std::vector<std::string>& arguments, std::string& error)
{
    GuiOptions options;
    bool onlyFiles = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (onlyFiles || argument.size() < 2 || argument[0] != '-') {
            options.files.push_back(argument);
        } else if (argument == "--") {
            onlyFiles = true;
        } else if (argument == "--version" || argument == "--help" || argument == "-h") {
            // Answered before Qt starts (AnswerWithoutDisplay); never here.
        } else if (argument == "--quit-after-start") {
            options.quitAfterStart = true;
        } else if (argument == "--unattended") {
            options.unattended = true;
        } else if (argument == "--trace") {
            if (i + 1 == arguments.size()) {
                error = "--trace needs a file name";
                return std::nullopt;
            }
            options.traceFile = arguments[++i];
        } else {
            error = "unknown option " + argument;
            return std::nullopt;
        }
    }
    return options;
}

std::string GuiUsage()
{
    return "Usage: quorvel [--quit-after-start] [--unattended] [--trace FILE] [--] [FILE...]\n"
           "       quorvel --help | --version\n"
           "Opens the named sound files; when Quorvel already runs, hands them to it.\n";
}

std::optional<std::string> AnswerWithoutDisplay(const std::vector<std::string>& arguments)
{
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--")
            break;
        if (argument == "--trace")
            ++i; // its value is a file name, whatever it reads
        else if (argument == "--help" || argument == "-h")
            return GuiUsage();
        else if (argument == "--version")
            return "quorvel " QUORVEL_VERSION "\n";
    }
    return std::nullopt;
}

} // namespace quorvel::gui
