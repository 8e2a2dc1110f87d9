#pragma once
// Asks the user for the loop's length in bars when an operation needs a tempo
// and none can be computed. The window supplies the dialog.
#include <optional>

namespace quorvel {

class CLengthPrompt {
public:
    virtual ~CLengthPrompt() = default;
    // The bars entered, or nothing when the user cancelled.
    virtual std::optional<int> AskBars() = 0;
};

} // namespace quorvel
