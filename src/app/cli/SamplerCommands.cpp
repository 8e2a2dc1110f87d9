#include "app/cli/SamplerCommands.h"

#include <algorithm>

#include <CLI/CLI.hpp>

#include "analysis/SliceSet.h"
#include "app/CommandLineChecks.h"
#include "app/cli/CliError.h"
#include "app/cli/DeviceFailure.h"
#include "app/cli/OpenInput.h"
#include "app/cli/SDSSession.h"
#include "fileformats/ExportQuestions.h"
#include "fileformats/FileAlerts.h"
#include "fileformats/FileTypes.h"
#include "fileformats/SoundExport.h"
#include "framework/SafeFileSet.h"
#include "samplers/SampleTransfer.h"
#include "samplers/sds/SDSMessages.h"

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
int FittingCount(int outputs, const TransmitOptions& options)
{
    const int room = CSDSSamplerInterface::kHighestSampleNumber - options.sampleNumber + 1;
    if (outputs <= room)
        return outputs;
    if (!options.acceptLimit)
        throw CliError(kDeviceRefused, FillNumbers(InstrumentAlertText(kTooManySlicesAlert), {outputs, room, room}) +
                                           " (sample numbers end at 16383; use --accept-limit to send the first " +
                                           std::to_string(room) + ")");
    return room;
}

// A dump header counts frames in 21 bits: every sample is checked before
// the first one goes out, so that nothing is sent in vain.
void CheckDumpLengths(const CExportJob& job, int count)
{
    for (int k = 0; k < count; ++k) {
        const int32_t length = job.GetOutputInfo(k).length;
        if (static_cast<uint32_t>(length) > sds::kMaxLength)
            throw CliError(kDeviceRefused, "Sample " + std::to_string(k + 1) + " would be " + std::to_string(length) +
                                               " frames long; a sample dump holds at most " +
                                               std::to_string(sds::kMaxLength) + " frames.");
    }
}

SampleInfo OutputInfo(const WAVE_SAMPLE& output, int32_t rate)
{
    SampleInfo info;
    info.SetName(output.Name());
    info.channelCount = 1;
    info.bits = 16;
    info.rate = static_cast<uint32_t>(rate);
    info.length = info.playEnd = static_cast<uint32_t>(output.Length());
    info.rootKey = SampleInfo::kDefaultRootKey;
    return info;
}

const FileTypeSpec* SoundFileType(const std::string& path)
{
    if (FileTypeMatches(filetypes::kWave, path))
        return &filetypes::kWave;
    if (FileTypeMatches(filetypes::kAIFF, path))
        return &filetypes::kAIFF;
    return nullptr;
}

// The program's sounds are 16 bits: wider words keep their top 16 bits.
std::unique_ptr<WAVE_SAMPLE> SoundOf(const SReceivedSample& received, const std::string& name)
{
    const size_t words = received.wide.empty() ? received.narrow.size() : received.wide.size();
    const auto length = static_cast<int32_t>(std::min<size_t>(received.info.length, words));
    auto sound = std::make_unique<WAVE_SAMPLE>(name, static_cast<int32_t>(received.info.rate), length);
    for (int32_t i = 0; i < length; ++i) {
        const auto at = static_cast<size_t>(i);
        const int16_t value = received.wide.empty() ? received.narrow[at]
                                                    : static_cast<int16_t>(received.wide[at] >> 16);
        sound->Store().WriteSample(static_cast<uint32_t>(i), value);
    }
    return sound;
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
                       "the sampler's number for the first sample, 0 to 16383 (default 0); the next slices take "
                       "the numbers that follow")
        ->check(WholeNumber())
        ->check(CLI::Range(0, CSDSSamplerInterface::kHighestSampleNumber));
    command.add_flag("--accept-limit", o.acceptLimit, "send the first slices when the sample numbers run out");
}

ordered_json Transmit(const CMIDIPortLists& ports, const std::string& loop, const DocumentOptions& documentOptions,
                      const SamplerOptions& sampler, const TransmitOptions& options)
{
    RequireSDSModel(sampler);
    const std::unique_ptr<CSoundDocument> document = OpenInput(loop, documentOptions.Channel());
    ApplyDocumentOptions(*document, documentOptions);
    CExportJob job = MakeExportJob(*document);
    if (job.OutputCount() < 1)
        throw CliError(kInputRefused, "transmit: every slice is silenced; there is nothing to send");
    const int count = FittingCount(job.OutputCount(), options);
    CheckDumpLengths(job, count);

    CSDSSession session(ports, sampler);
    CSDSSamplerInterface& sds = session.Interface();
    CQuietTransfer progress;
    ordered_json samples = ordered_json::array();
    for (int k = 0; k < count; ++k) {
        const int32_t number = options.sampleNumber + k;
        try {
            const std::unique_ptr<WAVE_SAMPLE> output = job.GetOutput(k);
            SampleInfo info = OutputInfo(*output, job.OutputRate());
            sds.AdaptSampleInfo(info);
            const std::unique_ptr<CABCSampleTransmitter> transmitter = sds.CreateTransmitter(number);
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
    command.add_option("--sample", o.sample, "the sample's number on the sampler, 0 to 16383")
        ->check(WholeNumber())
        ->check(CLI::Range(0, CSDSSamplerInterface::kHighestSampleNumber));
    command.add_option("--name", o.name, "the sample's name (samplers that list names only)");
    command.add_option("--channel", o.channel, "which side of a stereo sample to keep (default mix)")
        ->check(CLI::IsMember({"left", "mix", "right"}));
    command.add_flag("--force", o.force, "replace the file if it exists");
}

ordered_json Receive(const CMIDIPortLists& ports, const SamplerOptions& sampler, const ReceiveOptions& options)
{
    RequireSDSModel(sampler);
    if (options.name)
        throw CliError(kDeviceRefused, "--name: a plain Sample Dump Standard sampler has no sample names; ask for "
                                       "the sample by number with --sample N");
    if (!options.sample)
        throw CliError(kUsage, "receive: name the sample with --sample N");
    const FileTypeSpec* type = SoundFileType(options.file);
    if (!type)
        throw CliError(kUsage, "receive: the file to write must end in .wav or .aif");
    CFileSpec target(options.file);
    if (target.NameTaken() && !options.force)
        throw CliError(kDeviceRefused, FileAlertText(kFileExistsAlert, target.Name()) + " (use --force to replace it)");

    CSDSSession session(ports, sampler);
    CQuietTransfer progress;
    SReceivedSample received;
    try {
        const std::unique_ptr<CABCSampleReceiver> receiver = session.Interface().CreateReceiver(*options.sample);
        received = ReceiveSample(*receiver, 0, progress);
    } catch (...) {
        throw DeviceFailure("sample number " + std::to_string(*options.sample));
    }
    if (received.info.length == 0)
        throw CliError(kDeviceRefused, "Sample number " + std::to_string(*options.sample) +
                                           " is empty; no file was written.");

    // Mono is all a sample dump carries, so --channel has nothing to choose.
    const std::unique_ptr<WAVE_SAMPLE> sound = SoundOf(received, CFileSpec::BaseName(target.Name()));
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
    report["number"] = *options.sample;
    report["frames"] = sound->Length();
    report["rate"] = info.rate;
    report["bits"] = info.bits;
    report["loop"] = loop;
    return report;
}

ordered_json List(const SamplerOptions& sampler)
{
    RequireSDSModel(sampler);
    throw CliError(kDeviceRefused, "list: a plain Sample Dump Standard sampler keeps no directory the dump can "
                                   "read, so it cannot list its samples; receive one by number with "
                                   "receive --sample N");
}

} // namespace quorvel::cli
