#pragma once
// Where an emulated sampler keeps its memory, and what it does when it
// cannot keep it there.
#include <exception>
#include <filesystem>
#include <ostream>
#include <string>

#include "devices/emulated/EmulatorSettings.h"

namespace quorvel {

// The folder of sampler `id` under the settings' memory folder; empty (memory
// only) when there is none.
inline std::string MemoryFolder(const SEmulatorSettings& settings, const std::string& id)
{
    if (settings.folder.empty())
        return {};
    return (std::filesystem::path(settings.folder) / id).string();
}

// What `make(folder)` gives; where the memory in `folder` cannot be used, a
// warning under `name` and what `make` gives with no folder at all.
template <class TMake>
auto WithMemoryFolder(const std::string& name, const std::string& folder, std::ostream& warnings, TMake&& make)
    -> decltype(make(folder))
{
    try {
        return make(folder);
    } catch (const std::exception& failure) {
        warnings << name << ": cannot use " << folder << " (" << failure.what()
                 << "); its memory lasts as long as the process\n";
        return make(std::string());
    }
}

} // namespace quorvel
