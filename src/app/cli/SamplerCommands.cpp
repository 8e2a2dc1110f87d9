#include "app/cli/SamplerCommands.h"

#include <algorithm>
#include <optional>

#include <CLI/CLI.hpp>

#include "analysis/SliceSet.h"
#include "app/CommandLineChecks.h"
#include "app/cli/A3000TransmitCommand.h"
#include "app/cli/AKAITransmitCommand.h"
#include "app/cli/K2000TransmitCommand.h"
#include "app/cli/RolandTransmitCommand.h"
#include "app/cli/EnsoniqTransmitCommand.h"
#include "app/cli/CliError.h"
#include "app/cli/DeviceFailure.h"
#include "app/cli/OpenInput.h"
#include "app/cli/SamplerSession.h"
#include "devices/scsi/SCSIBusRegistry.h"
#include "devices/scsi/SCSITargetListing.h"
#include "framework/EmbeddedResources.h"
#include "fileformats/ExportQuestions.h"
#include "fileformats/FileAlerts.h"
#include "fileformats/FileTypes.h"
#include "fileformats/SoundExport.h"
#include "framework/SafeFileSet.h"
#include "samplers/ReceivedSound.h"
#include "samplers/SampleTransfer.h"
#include "samplers/SliceSamples.h"
#include "samplers/SamplerExceptions.h"
#include "samplers/akai/AKAIInterface.h"
#include "samplers/kurzweil/K2000Interface.h"
#include "samplers/kurzweil/KurzweilModels.h"
#include "samplers/roland/S760Interface.h"
#include "samplers/ensoniq/EnsoniqInterface.h"
#include "samplers/sds/SDSMessages.h"
#include "samplers/yamaha/A3000Interface.h"

namespace quorvel::cli {

using nlohmann::ordered_json;

namespace {

constexpr int kTooManySlicesAlert = 2; // of the instrument table

// Nobody watches and nobody cancels.
class CQuietTransfer : public CABCTransferProgress {
public:
    void SetPercent(int32_t) override {}
    bool CancelRequested() override { return false; }
};

ordered_json PortEntry(const std::string& name, const std::string& driver)
{
    ordered_json entry;
    entry["name"] = name;
    entry["driver"] = driver;
    return entry;
}

const char* LoopTypeName(uint32_t type)
{
    switch (static_cast<SampleLoopType>(type)) {
    case SampleLoopType::OffWithMarker:
        return "off";
    case SampleLoopType::Forward:
        return "forward";
    case SampleLoopType::Alternating:
        return "alternating";
    default:
        return "none";
    }
}

// How many outputs get a sample number, asking nothing: without
// --accept-limit a job that does not fit is refused before anything is sent.
int FittingCount(int outputs, int32_t first, const SCliSampler& sampler, const TransmitOptions& options)
{
    const int room = sampler.highestNumber - first + 1;
    if (outputs <= room)
        return outputs;
    if (!options.acceptLimit)
        throw CliError(kDeviceRefused, FillNumbers(InstrumentAlertText(kTooManySlicesAlert), {outputs, room, room}) +
                                           " (sample numbers end at " + std::to_string(sampler.highestNumber) +
                                           "; use --accept-limit to send the first " + std::to_string(room) + ")");
    return room;
}

// A dump header counts frames in 21 bits: every sample is checked before
// the first one goes out, so that nothing is sent in vain.
void CheckDumpLengths(const CExportJob& job, int count, const SCliSampler& sampler)
{
    if (sampler.kind != ECliSamplerKind::SDS)
        return;
    for (int k = 0; k < count; ++k) {
        const int32_t length = job.GetOutputInfo(k).length;
        if (static_cast<uint32_t>(length) > sds::kMaxLength)
            throw CliError(kDeviceRefused, "Sample " + std::to_string(k + 1) + " would be " + std::to_string(length) +
                                               " frames long; a sample dump holds at most " +
                                               std::to_string(sds::kMaxLength) + " frames.");
    }
}

const FileTypeSpec* SoundFileType(const std::string& path)
{
    if (FileTypeMatches(filetypes::kWave, path))
        return &filetypes::kWave;
    if (FileTypeMatches(filetypes::kAIFF, path))
        return &filetypes::kAIFF;
    return nullptr;
}

ChannelMode ChannelOf(const std::string& text)
{
    return text == "left" ? ChannelMode::Left : text == "right" ? ChannelMode::Right : ChannelMode::Mix;
}

// Samplers whose numbers fit a short walk are listed by asking each number
// for its header; the others would take hours.
constexpr int32_t kMostNumbersToWalk = 1000;

bool FewNumbers(const SCliSampler& sampler) { return sampler.highestNumber - sampler.lowestNumber < kMostNumbersToWalk; }

ordered_json ListByHeaders(CABCSamplerInterface& sampler, const SCliSampler& named)
{
    ordered_json samples = ordered_json::array();
    for (int32_t number = named.lowestNumber; number <= named.highestNumber; ++number) {
        SampleInfo info;
        try {
            sampler.GetSampleInfo(info, number);
        } catch (const XSampleDoesNotExist&) {
            continue;
        }
        ordered_json entry;
        entry["name"] = std::string(info.Name());
        entry["number"] = number;
        entry["stereo"] = info.channelCount == 2;
        entry["right"] = info.channelCount == 2 ? number : -1;
        samples.push_back(entry);
    }
    return samples;
}

// The sampler's own list when it keeps one; otherwise, when its numbers are
// few, the numbers that answer with a header. Null when neither can be had.
std::optional<ordered_json> SampleEntries(CABCSamplerInterface& sampler, const SCliSampler& named)
{
    // Filled here rather than by GetSampleList, which would hide a failure.
    const auto list = std::make_unique<CSampleList>();
    sampler.FillSampleList(0, *list, 0);
    sampler.FinishSampleList(*list);
    if (list->Count() > 0) {
        ordered_json samples = ordered_json::array();
        for (uint16_t i = 0; i < list->Count(); ++i) {
            const CSampleSpec* entry = list->Get(i);
            if (!entry)
                continue;
            ordered_json sample;
            sample["name"] = entry->Name();
            sample["number"] = entry->Number();
            sample["stereo"] = entry->IsStereo();
            sample["right"] = entry->IsStereo() ? entry->RightNumber() : -1;
            samples.push_back(sample);
        }
        return samples;
    }
    if (named.numbersItself)
        return ordered_json::array(); // its list is empty
    if (!FewNumbers(named))
        return std::nullopt;
    return ListByHeaders(sampler, named);
}

// The lowest number listed with `name`.
int32_t NumberOfName(CABCSamplerInterface& sampler, const SCliSampler& named, const std::string& name)
{
    std::optional<ordered_json> samples;
    try {
        samples = SampleEntries(sampler, named);
    } catch (...) {
        throw DeviceFailure("the sample list");
    }
    if (samples)
        for (const ordered_json& sample : *samples)
            if (sample["name"] == name)
                return sample["number"].get<int32_t>();
    try {
        throw XSampleDoesNotExist();
    } catch (...) {
        throw DeviceFailure("no sample is named \"" + name + "\"");
    }
}

} // namespace

ordered_json MIDIPortsReport(const CMIDIPortLists& ports)
{
    ordered_json report;
    report["inputs"] = ordered_json::array();
    report["outputs"] = ordered_json::array();
    for (const auto& port : ports.inputs)
        report["inputs"].push_back(PortEntry(port->Name(), port->DriverKind()));
    for (const auto& port : ports.outputs)
        report["outputs"].push_back(PortEntry(port->Name(), port->DriverKind()));
    return report;
}

void AddTransmitOptions(CLI::App& command, TransmitOptions& o)
{
    command.add_option("--sample-number", o.sampleNumber,
                       "the sampler's number for the first sample (default: its lowest, 0 or 1); the next slices "
                       "take the numbers that follow")
        ->check(WholeNumber())
        ->check(CLI::Range(0, 16777215));
    command.add_flag("--accept-limit", o.acceptLimit,
                     "send the first slices when the sample numbers (or an AKAI program's keys) run out");
    command.add_option("--program-id", o.programId,
                       "Kurzweil: build a program, and its keymap, at this id (1 to 999); without the program "
                       "options the slices stay sound blocks")
        ->check(WholeNumber())
        ->check(CLI::Range(1, 999));
    command.add_option("--program-name,--bank-name,--patch-name", o.programName,
                       "AKAI, Kurzweil: the program the slices make (default NEW PROGRAM; Kurzweil: the loop's name); "
                       "Yamaha A3000: the sample bank (default Unnamed SmpBank); S-760: the patch (default NEW PATCH)");
    command.add_option("--first-key", o.firstKey,
                       "AKAI, Kurzweil, Yamaha A3000: the key of the first slice (default 36; Kurzweil: 12 or above)")
        ->check(WholeNumber())
        ->check(CLI::Range(0, 127));
    command.add_option("--template", o.templateName,
                       "AKAI, Kurzweil, S-760: a program or patch on the sampler whose settings the new one takes "
                       "(Kurzweil: its id or name); Yamaha A3000: a sample bank");
    command.add_flag("--replace", o.replace,
                     "AKAI, S-760: replace a program or patch of that name, deleting its samples (and partials); "
                     "Kurzweil: replace the program at that id, deleting its first layer's keymap and that keymap's "
                     "sound blocks");
    command.add_flag("--use-defaults", o.useDefaults,
                     "AKAI, Kurzweil, Yamaha A3000, S-760: go on with default settings when the template cannot be "
                     "read (Kurzweil: or none is named)");
    command.add_option("--instrument", o.instrument,
                       "Ensoniq: the instrument slot, 1 to 8, the slices go to as one instrument named by "
                       "--program-name (default 1, NEW INSTR); --replace replaces an instrument there")
        ->check(WholeNumber())
        ->check(CLI::Range(1, 8));
}

ordered_json Transmit(const SDeviceLists& devices, const std::string& loop, const DocumentOptions& documentOptions,
                      const SamplerOptions& samplerOptions, const TransmitOptions& options)
{
    const SCliSampler named = ResolveSampler(samplerOptions);
    const bool isKurzweil = kurzweil::IsKurzweilModel(named.typeId);
    if (options.programId && !isKurzweil)
        throw CliError(kUsage, "--program-id: " + named.name + " keeps no programs by id");
    const bool programOptions = options.programName || options.firstKey || options.templateName || options.replace ||
                                options.useDefaults;
    const bool ensoniq = named.kind == ECliSamplerKind::Ensoniq;
    if (ensoniq && (options.firstKey || options.templateName || options.useDefaults))
        throw CliError(kUsage, "--first-key, --template and --use-defaults: " + named.name +
                                   " places its slices from key 36 in a new instrument");
    if (options.instrument && !ensoniq)
        throw CliError(kUsage, "--instrument: " + named.name + " has no instrument slots");
    // The plain sample-dump samplers and the E-mu models keep samples only.
    const bool keepsSamplesOnly = named.kind == ECliSamplerKind::SDS || named.kind == ECliSamplerKind::SMDI ||
                                  named.kind == ECliSamplerKind::EMU;
    if (programOptions && keepsSamplesOnly)
        throw CliError(kUsage, "--program-name, --first-key, --template, --replace and --use-defaults: " +
                                   named.name + " makes no program");
    if (options.replace && named.kind == ECliSamplerKind::Yamaha)
        throw CliError(kUsage, "--replace: " + named.name + " replaces no sample bank; delete it on the sampler");
    if (options.firstKey && named.kind == ECliSamplerKind::Roland)
        throw CliError(kUsage, "--first-key: the S-760 patch plays its slices from C2 (key 36) up");
    if (named.numbersItself && options.sampleNumber)
        throw CliError(kUsage, "--sample-number: " + named.name + " numbers new samples itself");
    const int32_t first = options.sampleNumber.value_or(named.lowestNumber);
    if (!named.numbersItself)
        CheckSampleNumber("--sample-number", first, named);
    const std::unique_ptr<CSoundDocument> document = OpenInput(loop, documentOptions.Channel());
    ApplyDocumentOptions(*document, documentOptions);
    CExportJob job = MakeExportJob(*document);
    if (job.OutputCount() < 1)
        throw CliError(kInputRefused, "transmit: every slice is silenced; there is nothing to send");

    const int count = named.numbersItself ? job.OutputCount() : FittingCount(job.OutputCount(), first, named, options);
    CheckDumpLengths(job, count, named);
    const std::unique_ptr<CSamplerSession> session = OpenSamplerSession(devices.midi, devices.scsi, samplerOptions);
    CABCSamplerInterface& sampler = session->Interface();
    if (named.kind == ECliSamplerKind::AKAI)
        if (auto* akai = dynamic_cast<CABCAKAIInterface*>(&sampler))
            return TransmitAKAI(*akai, job, options);
    // A Kurzweil makes a program when asked for one; otherwise the slices stay sound blocks.
    if (auto* k2000 = dynamic_cast<CABCK2000Interface*>(&sampler); k2000 && (programOptions || options.programId))
        return TransmitK2000(*k2000, job, options);
    if (auto* a3000 = dynamic_cast<CABCA3000Interface*>(&sampler))
        return TransmitA3000(*a3000, job, options);
    if (named.kind == ECliSamplerKind::Roland)
        if (auto* s760 = dynamic_cast<CABCS760Interface*>(&sampler))
            return TransmitS760(*s760, job, options);
    if (ensoniq)
        if (auto* instrumentSampler = dynamic_cast<CABCEnsoniqInterface*>(&sampler))
            return TransmitEnsoniq(*instrumentSampler, job, options);

    CQuietTransfer progress;
    ordered_json samples = ordered_json::array();
    for (int k = 0; k < count; ++k) {
        const int32_t number = first + k;
        try {
            const std::unique_ptr<WAVE_SAMPLE> output = job.GetOutput(k);
            SampleInfo info = SliceSampleInfo(*output, job.OutputRate(), SliceSampleName(*output, k, job.Separate()));
            sampler.AdaptSampleInfo(info);
            const std::unique_ptr<CABCSampleTransmitter> transmitter = sampler.CreateTransmitter(number);
            if (!transmitter)
                throw XSamplerException();
            TransmitSample(*transmitter, info, 0, *output, progress);
            ordered_json entry;
            entry["slice"] = job.Separate() ? k + 1 : 0;
            entry["name"] = std::string(info.Name());
            entry["number"] = transmitter->GetResultSampleNumber();
            entry["frames"] = info.length;
            entry["rate"] = info.rate;
            samples.push_back(entry);
        } catch (...) {
            throw DeviceFailure("sample " + std::to_string(k + 1) + " of " + std::to_string(count) + ", number " +
                                std::to_string(number));
        }
    }
    ordered_json report;
    report["samples"] = samples;
    return report;
}

void AddReceiveOptions(CLI::App& command, ReceiveOptions& o)
{
    command.add_option("file", o.file, "the sound file to write (.wav or .aif)")->required();
    command.add_option("--sample", o.sample, "the sample's number on the sampler")
        ->check(WholeNumber())
        ->check(CLI::Range(0, 16777215));
    command.add_option("--name", o.name, "the sample's name (samplers that list names only)");
    command.add_option("--channel", o.channel, "which side of a stereo sample to keep (default mix)")
        ->check(CLI::IsMember({"left", "mix", "right"}));
    command.add_flag("--force", o.force, "replace the file if it exists");
}

ordered_json Receive(const SDeviceLists& devices, const SamplerOptions& samplerOptions, const ReceiveOptions& options)
{
    const SCliSampler named = ResolveSampler(samplerOptions);
    if (options.name && named.kind == ECliSamplerKind::SDS)
        throw CliError(kDeviceRefused, "--name: a plain Sample Dump Standard sampler has no sample names; ask for "
                                       "the sample by number with --sample N");
    if (options.name && !FewNumbers(named) && !named.numbersItself)
        throw CliError(kDeviceRefused, "--name: " + named.name + " keeps no directory to look the name up in; ask "
                                       "for the sample by number with --sample N");
    if (options.name && options.sample)
        throw CliError(kUsage, "receive: name the sample with --sample N or --name NAME, not both");
    if (!options.sample && !options.name)
        throw CliError(kUsage, "receive: name the sample with --sample N");
    if (options.sample)
        CheckSampleNumber("--sample", *options.sample, named);
    const FileTypeSpec* type = SoundFileType(options.file);
    if (!type)
        throw CliError(kUsage, "receive: the file to write must end in .wav or .aif");
    CFileSpec target(options.file);
    if (target.NameTaken() && !options.force)
        throw CliError(kDeviceRefused, FileAlertText(kFileExistsAlert, target.Name()) + " (use --force to replace it)");

    const std::unique_ptr<CSamplerSession> session = OpenSamplerSession(devices.midi, devices.scsi, samplerOptions);
    const int32_t number = options.sample ? *options.sample : NumberOfName(session->Interface(), named, *options.name);
    CQuietTransfer progress;
    SReceivedSample received;
    try {
        const std::unique_ptr<CABCSampleReceiver> receiver = session->Interface().CreateReceiver(number);
        if (!receiver)
            throw XSamplerException();
        received = ReceiveSample(*receiver, kWantedFramesPerPacket, progress);
    } catch (...) {
        throw DeviceFailure("sample number " + std::to_string(number));
    }
    if (received.info.length == 0)
        throw CliError(kDeviceRefused, "Sample number " + std::to_string(number) +
                                           " is empty; no file was written.");

    const std::unique_ptr<WAVE_SAMPLE> sound =
        SoundFromReceived(received, CFileSpec::BaseName(target.Name()), ChannelOf(options.channel));
    try {
        CSafeFileSet set;
        set.Write(target, [&](CMedia& media) { WriteSliceFile(media, *sound, *type); });
        set.Commit();
    } catch (const XBase&) {
        throw CliError(kDeviceRefused, FileAlertText(kSliceExportFailedAlert));
    }

    const SampleInfo& info = received.info;
    ordered_json loop;
    loop["type"] = LoopTypeName(info.sustainLoop.type);
    loop["start"] = info.sustainLoop.start;
    loop["end"] = info.sustainLoop.end;
    ordered_json report;
    report["file"] = options.file;
    report["number"] = number;
    report["name"] = std::string(info.Name());
    report["frames"] = sound->Length();
    report["rate"] = info.rate;
    report["bits"] = info.bits;
    report["channels"] = info.channelCount;
    report["loop"] = loop;
    return report;
}

ordered_json List(const SDeviceLists& devices, const SamplerOptions& samplerOptions)
{
    const SCliSampler named = ResolveSampler(samplerOptions);
    if (named.kind == ECliSamplerKind::SDS)
        throw CliError(kDeviceRefused, "list: a plain Sample Dump Standard sampler keeps no directory the dump can "
                                       "read, so it cannot list its samples; receive one by number with "
                                       "receive --sample N");
    const std::unique_ptr<CSamplerSession> session = OpenSamplerSession(devices.midi, devices.scsi, samplerOptions);
    std::optional<ordered_json> samples;
    try {
        samples = SampleEntries(session->Interface(), named);
    } catch (...) {
        throw DeviceFailure("the sample list");
    }
    if (!samples)
        throw CliError(kDeviceRefused, "list: " + named.name + " keeps no directory and its sample numbers run to " +
                                           std::to_string(named.highestNumber) + ", too many to ask one by one; "
                                           "receive one by number with receive --sample N");
    ordered_json report;
    report["samples"] = *samples;
    return report;
}

void AddDeleteOptions(CLI::App& command, DeleteOptions& o)
{
    command.add_option("--sample", o.sample, "the number of the sample to delete")
        ->required()
        ->check(WholeNumber())
        ->check(CLI::Range(0, 16777215));
}

ordered_json Delete(const SDeviceLists& devices, const SamplerOptions& samplerOptions, const DeleteOptions& options)
{
    CheckSampleNumber("--sample", options.sample, ResolveSampler(samplerOptions));
    const std::unique_ptr<CSamplerSession> session = OpenSamplerSession(devices.midi, devices.scsi, samplerOptions);
    try {
        session->Interface().DeleteSample(options.sample);
    } catch (...) {
        throw DeviceFailure("sample number " + std::to_string(options.sample));
    }
    ordered_json report;
    report["deleted"] = options.sample;
    return report;
}

ordered_json SCSIBusesReport(const CSCSIBusRegistry& buses)
{
    ordered_json report;
    report["buses"] = ordered_json::array();
    for (size_t i = 0; i < buses.Count(); ++i) {
        CSCSIBus& bus = *buses.Bus(i);
        ordered_json entry;
        entry["name"] = bus.Name();
        entry["driver"] = bus.DriverName();
        entry["adapter_id"] = bus.AdapterId();
        entry["targets"] = ListTargets(bus, BuiltInTextResources());
        report["buses"].push_back(entry);
    }
    return report;
}

} // namespace quorvel::cli
