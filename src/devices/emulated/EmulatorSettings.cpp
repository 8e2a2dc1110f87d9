#include "devices/emulated/EmulatorSettings.h"

#include <algorithm>
#include <cstdlib>
#include <ostream>

#include "devices/emulated/A3000EmulatorStartUp.h"
#include "devices/emulated/AKAIEmulatorModel.h"
#include "devices/emulated/AKAISCSIEmulatorModel.h"
#include "devices/emulated/S760Emulator.h"
#include "devices/emulated/KurzweilEmulatorModel.h"
#include "devices/emulated/EnsoniqEmulatorModel.h"
#include "devices/emulated/SMDIEmulatorModel.h"

namespace quorvel {

namespace {

struct SFaultKind {
    const char* name;
    bool takesValue;
};

// Every fault some emulator plays; each emulator honours those that make
// sense for its protocol and ignores the others.
constexpr SFaultKind kFaultKinds[] = {
    {"nak-once", true},     {"nak-twice", true}, {"bad-checksum", true}, {"bad-checksum-once", true},
    {"wrong-packet", true}, {"wait", true},      {"cancel", true},       {"busy", true}, {"drop", true},
    {"silent", false},      {"reject-header", false}, {"cancel-header", false},
    {"reject-transfer", false}, {"reject-packet", true}, {"abort", true}, {"bad-tag", false},
    {"check-condition", false}, {"bad-xor", true}, {"wrong-name", false}, {"reject", true},
    {"id-above", true}, {"reject-write", true}, {"in-edit", false}, {"out-of-memory", false},
    {"error", true}, {"error-at", true},
};

std::string Trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

std::vector<std::string> SplitList(const char* text)
{
    std::vector<std::string> entries;
    if (!text)
        return entries;
    std::string rest = text;
    for (;;) {
        const auto comma = rest.find(',');
        std::string entry = Trimmed(rest.substr(0, comma));
        if (!entry.empty())
            entries.push_back(std::move(entry));
        if (comma == std::string::npos)
            break;
        rest.erase(0, comma + 1);
    }
    return entries;
}

// A decimal number below 2^31, digits only.
bool ParseCount(const std::string& text, uint32_t& value)
{
    if (text.empty() || text.size() > 10 || !std::all_of(text.begin(), text.end(), [](char c) {
            return c >= '0' && c <= '9';
        }))
        return false;
    const unsigned long long number = std::strtoull(text.c_str(), nullptr, 10);
    if (number > 0x7FFFFFFFull)
        return false;
    value = static_cast<uint32_t>(number);
    return true;
}

} // namespace

const SEmulatorFault* SEmulatorSettings::FindFault(const std::string& name) const
{
    for (const SEmulatorFault& fault : faults)
        if (fault.name == name)
            return &fault;
    return nullptr;
}

const std::vector<std::string>& BuiltEmulatorIds()
{
    static const std::vector<std::string> ids = [] {
        std::vector<std::string> all = {"sds", CS760Emulator::kId};
        for (const SSMDIEmulatorModel& model : SMDIEmulatorModels())
            all.push_back(model.id);
        for (const SAKAIEmulatorModel& model : AKAIEmulatorModels())
            all.push_back(model.id);
        for (const SAKAISCSIEmulatorModel& model : AKAISCSIEmulatorModels())
            all.push_back(model.sampler.id);
        for (const SA3000EmulatorModel& model : A3000EmulatorModels())
            all.push_back(model.id);
        for (const SKurzweilEmulatorModel& model : KurzweilEmulatorModels())
            all.push_back(model.id);
        for (const SEnsoniqEmulatorModel& model : EnsoniqEmulatorModels())
            all.push_back(model.id);
        return all;
    }();
    return ids;
}

SEmulatorSettings ParseEmulatorSettings(const char* samplers, const char* folder, const char* faults,
                                        std::ostream& warnings)
{
    SEmulatorSettings settings;
    std::vector<std::string> reported;
    auto reportOnce = [&](const std::string& text) {
        if (std::find(reported.begin(), reported.end(), text) != reported.end())
            return;
        reported.push_back(text);
        warnings << text << '\n';
    };

    const std::vector<std::string>& built = BuiltEmulatorIds();
    for (const std::string& id : SplitList(samplers)) {
        if (std::find(built.begin(), built.end(), id) == built.end())
            reportOnce("QUORVEL_EMULATED_SAMPLERS: no emulator \"" + id + "\" is built; skipped");
        else if (std::find(settings.samplers.begin(), settings.samplers.end(), id) != settings.samplers.end())
            reportOnce("QUORVEL_EMULATED_SAMPLERS: \"" + id + "\" is listed more than once; started once");
        else
            settings.samplers.push_back(id);
    }

    if (folder)
        settings.folder = folder;

    for (const std::string& entry : SplitList(faults)) {
        const auto colon = entry.find(':');
        SEmulatorFault fault;
        fault.name = Trimmed(entry.substr(0, colon));
        const SFaultKind* kind = nullptr;
        for (const SFaultKind& candidate : kFaultKinds)
            if (fault.name == candidate.name)
                kind = &candidate;
        if (!kind) {
            reportOnce("QUORVEL_EMULATOR_FAULTS: no emulator plays the fault \"" + entry + "\"; ignored");
            continue;
        }
        if (colon != std::string::npos) {
            fault.hasValue = ParseCount(Trimmed(entry.substr(colon + 1)), fault.value);
            if (!fault.hasValue || !kind->takesValue) {
                reportOnce("QUORVEL_EMULATOR_FAULTS: \"" + entry + "\" is malformed; ignored");
                continue;
            }
        } else if (kind->takesValue) {
            reportOnce("QUORVEL_EMULATOR_FAULTS: \"" + entry + "\" needs a number (" + fault.name + ":N); ignored");
            continue;
        }
        settings.faults.push_back(fault);
    }
    return settings;
}

SEmulatorSettings EmulatorSettingsFromEnvironment(std::ostream& warnings)
{
    return ParseEmulatorSettings(std::getenv("QUORVEL_EMULATED_SAMPLERS"), std::getenv("QUORVEL_EMULATOR_DIR"),
                                 std::getenv("QUORVEL_EMULATOR_FAULTS"), warnings);
}

} // namespace quorvel
