#pragma once
// The desktop program's own options; everything else on its command line is
// a file to open. Qt's options (-platform and the like) are taken out by Qt
// before this runs.
#include <optional>
#include <string>
#include <vector>

namespace quorvel::gui {

struct GuiOptions {
    // Ends the program as soon as the frame window is on screen (start-up
    // timing, smoke tests).
    bool quitAfterStart = false;
    // Nobody at the screen: every question is answered without being shown
    // (scripted runs, tests of the real program).
    bool unattended = false;
    std::string traceFile;
    std::vector<std::string> files;
};

// nullopt with `error` set for an unknown option or a missing value.
std::optional<GuiOptions> ParseGuiOptions(const std::vector<std::string>& arguments, std::string& error);

std::string GuiUsage();

// The text --help or --version asks for (the first of them before "--"),
// found without Qt, so that both work where no display can be opened.
// nullopt when neither is asked.
std::optional<std::string> AnswerWithoutDisplay(const std::vector<std::string>& arguments);

} // namespace quorvel::gui
