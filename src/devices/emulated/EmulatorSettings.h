#pragma once
// What the environment asks of the emulated samplers: which to start
// (QUORVEL_EMULATED_SAMPLERS), where they keep their memory
// (QUORVEL_EMULATOR_DIR) and which faults they play (QUORVEL_EMULATOR_FAULTS).
// The parsing takes the texts as arguments so that it can be checked without
// touching the process environment.
#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

namespace quorvel {

// One scripted fault: a name, with a number when it takes one ("nak-once:5").
struct SEmulatorFault {
    std::string name;
    bool hasValue = false;
    uint32_t value = 0;

    bool operator==(const SEmulatorFault&) const = default;
};

struct SEmulatorSettings {
    // The emulators to start, in list order, each once.
    std::vector<std::string> samplers;
    // Empty: the emulators' memory lasts as long as the process.
    std::string folder;
    std::vector<SEmulatorFault> faults;

    // The first fault of that name, or nullptr.
    const SEmulatorFault* FindFault(const std::string& name) const;
};

// The ids of the emulators that are built.
const std::vector<std::string>& BuiltEmulatorIds();

// Each argument is the variable's text, or nullptr when it is unset. Lists
// are comma-separated; blanks around entries are ignored. An id that is not
// built, an id listed twice, a fault no emulator plays and a fault with a
// missing or malformed number are each reported once on `warnings` and left
// out.
SEmulatorSettings ParseEmulatorSettings(const char* samplers, const char* folder, const char* faults,
                                        std::ostream& warnings);

// The same from the process environment.
SEmulatorSettings EmulatorSettingsFromEnvironment(std::ostream& warnings);

} // namespace quorvel
