#include "app/cli/FindCommand.h"

#include <cstdio>
#include <iostream>

#include "app/cli/CliError.h"
#include "app/cli/SamplerOptions.h"
#include "fileformats/FileAlerts.h"
#include "framework/EmbeddedResources.h"
#include "samplers/SamplerModels.h"
#include "samplers/SamplerSearch.h"

namespace quorvel::cli {

using nlohmann::ordered_json;

namespace {

// Nobody watches and nobody stops the search.
class CQuietSearch final : public CABCSearchProgress {
public:
    void SetText(const std::string&) override {}
    bool CancelRequested() override { return false; }
};

std::string VersionText(const SFoundSampler& found)
{
    if (!found.versionKnown)
        return {};
    char text[16];
    std::snprintf(text, sizeof text, "%u.%02u", unsigned(found.osVersion.major), unsigned(found.osVersion.minor));
    return text;
}

std::string AlertText(const SAlertToShow& alert)
{
    std::string text = FileAlertText(static_cast<int>(alert.entry), alert.arguments.empty() ? "" : alert.arguments[0]);
    return text;
}

} // namespace

ordered_json Find(const SSamplerDevices& devices, const std::vector<CPersistentInstalledSampler>& installed,
                  const std::optional<std::string>& model)
{
    uint32_t onlyModel = 0;
    if (model) {
        const SSamplerModel* entry = ModelByIdOrName(*model);
        if (!entry || IsSoftwareDestination(*entry))
            throw CliError(kUsage, "--model " + *model + ": no such sampler model; quorvel-cli samplers lists them");
        onlyModel = entry->typeId;
    }
    const std::vector<SAlertToShow> missing = MissingTransportAlerts(devices, onlyModel);
    if (!missing.empty()) {
        for (const SAlertToShow& alert : missing)
            std::cerr << AlertText(alert) << "\n";
        throw CliError(kDeviceRefused, "find: there is nothing to search");
    }
    CInstalledSamplers samplers;
    samplers.Assign(installed);
    CQuietSearch progress;
    const SSamplerSearchResult result =
        SearchForSamplers(devices, samplers, BuiltInTextResources(), progress, onlyModel);

    ordered_json found = ordered_json::array();
    for (const SSearchFinding& finding : result.found) {
        const SFoundSampler& sampler = finding.sampler;
        const SSamplerModel* entry = FindSamplerModel(sampler.typeId);
        ordered_json item;
        item["type"] = sampler.typeId;
        item["model"] = entry ? std::string(entry->name) : std::string();
        item["midi_in"] = sampler.midiIn.device;
        item["midi_out"] = sampler.midiOut.device;
        item["sysex_id"] = sampler.sysexId;
        item["scsi_bus"] = sampler.scsiBus.device;
        item["scsi_id"] = sampler.scsiId;
        item["os"] = VersionText(sampler);
        item["double"] = finding.doubleNote;
        found.push_back(item);
    }
    for (const SAlertToShow& alert : SearchAlerts(result, onlyModel))
        std::cerr << AlertText(alert) << "\n";
    if (result.found.empty())
        throw CliError(kDeviceRefused, "find: no sampler answered");
    ordered_json report;
    report["found"] = found;
    return report;
}

} // namespace quorvel::cli
