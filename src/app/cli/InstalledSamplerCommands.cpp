#include "app/cli/InstalledSamplerCommands.h"

#include <cstdio>

#include "app/cli/CliError.h"
#include "fileformats/PreferencesFile.h"
#include "framework/EmbeddedResources.h"
#include "framework/OpenFile.h"
#include "framework/ResourceReference.h"
#include "samplers/SamplerBrands.h"
#include "samplers/SamplerModels.h"

namespace quorvel::cli {

using nlohmann::ordered_json;

namespace {

constexpr uint32_t kModelTextTable = 133;

const char* TransportName(SamplerTransport transport)
{
    switch (transport) {
    case SamplerTransport::SCSI:
        return "SCSI";
    case SamplerTransport::MIDI:
        return "MIDI";
    case SamplerTransport::MIDIAndSCSI:
        return "MIDI+SCSI";
    case SamplerTransport::None:
        break;
    }
    return "none";
}

std::string VersionText(uint8_t major, uint8_t minor)
{
    char text[16];
    std::snprintf(text, sizeof text, "%u.%02u", unsigned(major), unsigned(minor));
    return text;
}

// Reading only: unlike the program, the tool neither keeps nor salvages a
// file it cannot read.
class CReadOnlySteps final : public CPreferencesReadSteps {
public:
    bool DocumentExists(const std::string&) override { return true; }
};

} // namespace

std::vector<CPersistentInstalledSampler> InstalledSamplersOnFile()
{
    const CFileSpec file = PreferencesFile();
    if (!file.Exists())
        return {};
    SPreferences preferences;
    try {
        const std::unique_ptr<COpenFile> media = COpenFile::OpenForReading(file.FullPath());
        CReadOnlySteps steps;
        ReadPreferences(*media, preferences, steps);
    } catch (const XBase&) {
        throw CliError(kInputRefused, "The preferences file \"" + file.FullPath() +
                                          "\" cannot be read; start the program once to mend it.");
    }
    return preferences.samplers;
}

ordered_json SamplersReport(const std::vector<CPersistentInstalledSampler>& installed)
{
    ordered_json report;
    report["models"] = ordered_json::array();
    for (const SSamplerModel& model : SamplerModels()) {
        ordered_json entry;
        entry["type"] = model.typeId;
        entry["name"] = std::string(model.name);
        entry["transport"] = TransportName(model.transport);
        entry["os"] = VersionText(model.requiredOS.major, model.requiredOS.minor);
        entry["rx"] = model.canReceive;
        entry["tx"] = model.canTransmit;
        entry["id1"] = model.sysexIdsFromOne;
        entry["ids"] = model.sysexIdCount;
        entry["osr"] = model.osVersionReadable;
        entry["f5"] = model.fifthFlag;
        entry["picture"] = model.picture;
        entry["info"] = model.infoId ? BuiltInTextResources().Text(StringReference(kModelTextTable, model.infoId))
                                     : std::string();
        entry["help"] = model.helpTopic;
        entry["usable"] = SamplerBrandBuilt(model.typeId);
        report["models"].push_back(entry);
    }
    report["installed"] = ordered_json::array();
    for (const CPersistentInstalledSampler& sampler : installed) {
        ordered_json entry;
        entry["name"] = sampler.userName;
        entry["type"] = sampler.modelTypeId;
        entry["model"] = sampler.modelName;
        entry["midi_in"] = sampler.midiIn.device;
        entry["midi_out"] = sampler.midiOut.device;
        entry["sysex_id"] = sampler.sysexId;
        entry["scsi_bus"] = sampler.scsiBus.device;
        entry["scsi_id"] = sampler.scsiId;
        entry["os"] = sampler.versionKnown ? VersionText(sampler.osVersion.major, sampler.osVersion.minor) : "";
        report["installed"].push_back(entry);
    }
    return report;
}

SamplerOptions WithInstalledSampler(const SamplerOptions& options,
                                    const std::vector<CPersistentInstalledSampler>& installed)
{
    if (!options.sampler)
        return options;
    if (options.model || options.midiIn || options.midiOut || options.scsiBus || options.scsiId)
        throw CliError(kUsage, "--sampler names the sampler whole; leave out --model, the ports, the bus and the id");
    for (const CPersistentInstalledSampler& sampler : installed) {
        if (sampler.userName != *options.sampler)
            continue;
        SamplerOptions expanded;
        expanded.model = std::to_string(sampler.modelTypeId);
        const SSamplerModel* model = FindSamplerModel(sampler.modelTypeId);
        if (model && UsesMIDI(*model)) {
            expanded.midiIn = sampler.midiIn.device;
            expanded.midiOut = sampler.midiOut.device;
            expanded.sysexId = sampler.sysexId;
        }
        if (model && UsesSCSI(*model)) {
            expanded.scsiBus = sampler.scsiBus.device;
            expanded.scsiId = sampler.scsiId;
        }
        return expanded;
    }
    throw CliError(kUsage, "--sampler " + *options.sampler +
                               ": no installed sampler has that name (quorvel-cli samplers lists them)");
}

} // namespace quorvel::cli
