#pragma once
// Which keys are down, so that a key that acts on its first press acts once
// per physical press. Auto-repeat is not always marked as such: under X11 a
// held key arrives as release/press pairs that carry the same time stamp,
// flagged as repeats only when the platform managed to pair them itself.
#include <cstdint>
#include <map>

namespace quorvel {

class CHeldKeys {
public:
    // A release followed this soon (in the event time stamps' milliseconds)
    // by a press of the same key is the keyboard repeating, not a person:
    // no finger releases and presses again within it.
    static constexpr uint64_t kRepeatPairGapMs = 5;

    // A press of `key`; true when it begins a physical press. A time stamp
    // of 0 means the event carried none (a synthetic event).
    bool Pressed(int key, bool autoRepeat, uint64_t timestamp);
    void Released(int key, bool autoRepeat, uint64_t timestamp);
    // Keys released where this window does not see it (focus lost).
    void Clear() { keys_.clear(); }

private:
    struct SKeyState {
        bool released = false;  // a release came and no press since
        uint64_t releasedAt = 0;
    };
    std::map<int, SKeyState> keys_;
};

} // namespace quorvel
