#include "app/cli/SamplerOptions.h"

#include <algorithm>
#include <cctype>

#include <CLI/CLI.hpp>

#include "app/CommandLineChecks.h"
#include "app/cli/CliError.h"
#include "devices/DeviceTrace.h"
#include "samplers/SamplerBrands.h"
#include "samplers/SamplerModels.h"
#include "samplers/akai/AKAIModels.h"
#include "samplers/emu/EMUSCSIInterface.h"
#include "samplers/emu/EMUSamplerClasses.h"
#include "samplers/ensoniq/EnsoniqModels.h"
#include "samplers/kurzweil/K2000Interface.h"
#include "samplers/kurzweil/KurzweilModels.h"
#include "samplers/roland/S760InstalledMIDIInterface.h"
#include "samplers/sds/SDSSamplerInterface.h"
#include "samplers/smdi/SMDISamplerInterface.h"
#include "samplers/yamaha/A3000Interface.h"
#include "samplers/yamaha/A3000Recognizer.h"

namespace quorvel::cli {

namespace {

constexpr const char* kNaming = "name the sampler with --model sds --midi-in PORT --midi-out PORT [--sysex-id N], "
                                "or --model smdi|TYPEID|NAME --scsi-bus BUS --scsi-id N";

bool SameText(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

} // namespace

const SSamplerModel* ModelByIdOrName(const std::string& text)
{
    if (!text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return text.size() <= 9 ? FindSamplerModel(static_cast<uint32_t>(std::stoul(text))) : nullptr;
    for (const SSamplerModel& model : SamplerModels())
        if (SameText(model.name, text))
            return &model;
    return nullptr;
}

namespace {

void RequireSCSI(const SamplerOptions& o, const std::string& model)
{
    if (!o.scsiBus || !o.scsiId)
        throw CliError(kUsage, "--model " + model + " needs --scsi-bus BUS and --scsi-id N (see quorvel-cli scsi-buses)");
}

void RequireMIDI(const SamplerOptions& o, const std::string& model)
{
    if (!o.midiIn || !o.midiOut)
        throw CliError(kUsage, "--model " + model + " needs --midi-in PORT and --midi-out PORT (see quorvel-cli "
                               "midi-ports)");
}

} // namespace

void AddSamplerOptions(CLI::App& command, SamplerOptions& o)
{
    command.add_option("--model", o.model,
                       "the sampler's model: sds (a plain MIDI Sample Dump Standard sampler), smdi (a plain SMDI "
                       "sampler over SCSI), or an E-mu model (SCSI), AKAI model (MIDI or SCSI), Kurzweil model (MIDI or "
                       "MIDI+SCSI), Roland S-760 (MIDI), Yamaha A3000 model (MIDI, or MIDI+SCSI) or Ensoniq model "
                       "(MIDI) of quorvel-cli samplers by type id or name");
    command.add_option("--midi-in", o.midiIn, "the MIDI input the sampler answers on (see midi-ports)");
    command.add_option("--midi-out", o.midiOut, "the MIDI output that reaches the sampler (see midi-ports)");
    command.add_option("--sysex-id", o.sysexId, "the sampler's device number (its MIDI channel), 0 to 127; default 0")
        ->check(WholeNumber())
        ->check(CLI::Range(0, 127));
    command.add_option("--scsi-bus", o.scsiBus, "the SCSI bus the sampler sits on (see scsi-buses)");
    command.add_option("--scsi-id", o.scsiId, "the sampler's SCSI id on that bus, 0 to 15")
        ->check(WholeNumber())
        ->check(CLI::Range(0, 15));
    command.add_option("--sampler", o.sampler,
                       "an installed sampler by its name in the program's Sampler Settings (see quorvel-cli samplers)");
}

void AddTraceOption(CLI::App& command, std::optional<std::string>& trace)
{
    command.add_option("--trace", trace, "append every MIDI message and SCSI command to FILE")->type_name("FILE");
}

void StartTrace(const std::optional<std::string>& trace)
{
    if (trace && !OpenDeviceTrace(*trace))
        throw CliError(kUsage, "--trace: cannot open \"" + *trace + "\" for writing");
}

SCliSampler ResolveSampler(const SamplerOptions& o)
{
    if (o.sampler)
        throw CliError(kUsage, "--sampler " + *o.sampler + ": the installed samplers were not read");
    if (!o.model)
        throw CliError(kUsage, kNaming);
    const std::string& model = *o.model;
    if (SameText(model, "sds")) {
        if (!o.midiIn || !o.midiOut)
            throw CliError(kUsage, "--model sds needs --midi-in PORT and --midi-out PORT (see quorvel-cli midi-ports)");
        return {ECliSamplerKind::SDS, 0, "the Sample Dump Standard sampler", 0, CSDSSamplerInterface::kHighestSampleNumber};
    }
    if (SameText(model, "smdi")) {
        RequireSCSI(o, model);
        return {ECliSamplerKind::SMDI, 0, "the SMDI sampler", 0, CSMDISamplerInterface::kHighestSampleNumber};
    }
    const SSamplerModel* entry = ModelByIdOrName(model);
    if (!entry)
        throw CliError(kUsage, "--model " + model + ": no such model; quorvel-cli samplers lists them");
    if (!SamplerBrandBuilt(entry->typeId))
        throw CliError(kUsage, "--model " + model + ": " + std::string(entry->name) +
                                   " is not a hardware sampler (quorvel-cli export writes the instrument files)");
    if (ensoniq::IsEnsoniqModel(entry->typeId)) {
        RequireMIDI(o, model);
        // Instrument times 128 plus wave; the sampler picks new waves.
        return {ECliSamplerKind::Ensoniq, entry->typeId, std::string(entry->name), 0,
                ensoniq::SampleNumberOf(ensoniq::kInstruments - 1, ensoniq::kLastWave), true};
    }
    if (entry->typeId == kA3000MIDIModel || entry->typeId == kA3000MIDIAndSCSIModel) {
        RequireMIDI(o, model);
        if (entry->typeId == kA3000MIDIAndSCSIModel)
            RequireSCSI(o, model);
        return {ECliSamplerKind::Yamaha, entry->typeId, std::string(entry->name), 0, a3000::kHighestSampleNumber, true};
    }
    if (akai::IsSCSIModel(entry->typeId)) {
        RequireSCSI(o, model);
        return {ECliSamplerKind::AKAI, entry->typeId, std::string(entry->name), 0, 0xFFFF, true};
    }
    if (kurzweil::IsKurzweilModel(entry->typeId)) {
        RequireMIDI(o, model);
        if (kurzweil::UsesSCSIForData(entry->typeId))
            RequireSCSI(o, model);
        // Sound blocks are numbered by their ids, which the sampler gives.
        return {ECliSamplerKind::Kurzweil, entry->typeId, std::string(entry->name), CABCK2000Interface::kLowestId,
                CABCK2000Interface::kHighestId, true};
    }
    if (entry->typeId == kS760MIDIModel) {
        RequireMIDI(o, model);
        if (o.sysexId > 31)
            throw CliError(kUsage, "--sysex-id: the S-760 answers device numbers 0 to 31");
        // The sampler gives new samples the first free number of 0 to 511.
        return {ECliSamplerKind::Roland, entry->typeId, std::string(entry->name), 0, s760::kSampleCount - 1, true};
    }
    if (!EMUSamplerClass(entry->typeId)) {
        RequireMIDI(o, model);
        // Samples are named, and numbered by the sampler in its list.
        return {ECliSamplerKind::AKAI, entry->typeId, std::string(entry->name), 0, 0xFFFF, true};
    }
    RequireSCSI(o, model);
    return {ECliSamplerKind::EMU, entry->typeId, std::string(entry->name), CEMUSCSIInterface::kLowestSampleNumber,
            CEMUSCSIInterface::kHighestSampleNumber};
}

void CheckSampleNumber(const char* option, int32_t number, const SCliSampler& sampler)
{
    if (number < sampler.lowestNumber || number > sampler.highestNumber)
        throw CliError(kUsage, std::string(option) + " " + std::to_string(number) + ": " + sampler.name +
                                   " numbers its samples from " + std::to_string(sampler.lowestNumber) + " to " +
                                   std::to_string(sampler.highestNumber));
}

} // namespace quorvel::cli
