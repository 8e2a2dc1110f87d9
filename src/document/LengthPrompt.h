#pragma once
// Asks the user for the loop's length in bars when an operation needs a tempo
// and none can be computed. The window supplies the dialog.
#include <optional>

namespace quorvel {

// What the length dialog says when an operation needs a tempo and the loop
// has no length.
constexpr const char* kNoLengthText =
    "Loop Length cannot be set to 0 Bars. Please enter the correct number of Bars.";

class CLengthPrompt {
public:
    virtual ~CLengthPrompt() = default;
    // The bars entered, or nothing when the user cancelled.
    virtual std::optional<int> AskBars() = 0;
};

} // namespace quorvel
