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
        } else if (argument == "--version") {
            options.version = true;
        } else if (argument == "--help" || argument == "-h") {
            options.help = true;
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
           "       quorvel --version\n"
           "Opens the named sound files; when Quorvel already runs, hands them to it.\n";
}

} // namespace quorvel::gui
