#pragma once
// What one alert box shows: its script (from a reference or given literally)
// with up to four arguments filled in for the markers ^0 to ^3. The window
// layer shows the record and reports the pressed slot.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "framework/AlertScript.h"

namespace quorvel {

class CTextResources;

constexpr size_t kMaxAlertArguments = 4;
constexpr size_t kMaxAlertArgumentLength = 64;

// An argument as the alert box stores it: at most 64 characters (never cut
// inside a UTF-8 character), with '[' ']' '^' turned into '(' ')' '~' so that
// no argument can add a button, end the title or bring in another marker.
std::string GuardAlertArgument(std::string_view argument);

class CAlertContent {
public:
    // A literal script, cut to 255 characters.
    explicit CAlertContent(std::string_view script);
    static CAlertContent FromReference(CTextResources& resources, uint32_t reference);

    // Arguments beyond the fourth are ignored.
    void AddArgument(std::string_view argument);
    size_t ArgumentCount() const { return arguments_.size(); }
    const std::string& Script() const { return script_; }

    // The parsed script with "^n" in title and message replaced by argument n.
    // Markers without an argument are left as they are.
    AlertRecord Record() const;

private:
    std::string script_;
    std::vector<std::string> arguments_;
};

} // namespace quorvel
