#include "ui/window/HeldKeys.h"

namespace quorvel {

bool CHeldKeys::Pressed(int key, bool autoRepeat, uint64_t timestamp)
{
    const auto found = keys_.find(key);
    SKeyState& state = keys_[key];
    bool first = !autoRepeat;
    if (found != keys_.end()) {
        // Down without a release between: the key repeats without saying so.
        if (!state.released)
            first = false;
        // Released and pressed again at once: a repeat pair.
        else if (timestamp != 0 && state.releasedAt != 0 && timestamp >= state.releasedAt &&
                 timestamp - state.releasedAt <= kRepeatPairGapMs)
            first = false;
    }
    state = SKeyState{};
    return first;
}

void CHeldKeys::Released(int key, bool autoRepeat, uint64_t timestamp)
{
    // A release marked as repeat belongs to a pair the platform recognised.
    if (autoRepeat)
        return;
    const auto found = keys_.find(key);
    if (found == keys_.end())
        return;
    if (timestamp == 0) {
        // Without time stamps a pair cannot be told from a new press.
        keys_.erase(found);
        return;
    }
    found->second = SKeyState{true, timestamp};
}

} // namespace quorvel
