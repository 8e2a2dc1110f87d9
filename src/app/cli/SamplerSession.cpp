#include "app/cli/SamplerSession.h"

#include <optional>

#include "app/cli/CliError.h"
#include "devices/midi/MIDIExceptions.h"
#include "devices/midi/MIDIInput.h"
#include "devices/midi/MIDIOutput.h"
#include "devices/midi/RegisteredMIDIPorts.h"
#include "devices/midi/SysexMIDIInput.h"
#include "devices/scsi/SCSIBusRegistry.h"
#include "devices/scsi/SCSIExceptions.h"
#include "devices/scsi/SCSITargetListing.h"
#include "fileformats/FileAlerts.h"
#include "samplers/SamplerBrands.h"
#include "samplers/akai/AKAIModels.h"
#include "samplers/akai/AKAISCSIInterface.h"
#include "samplers/emu/EMUSamplerClasses.h"
#include "samplers/sds/SDSSamplerInterface.h"
#include "samplers/smdi/SMDISamplerInterface.h"

namespace quorvel::cli {

namespace {

constexpr int kCannotOpenInAlert = 46;
constexpr int kCannotOpenOutAlert = 47;
// A sampler writing a packet into its memory answers well within this.
constexpr uint32_t kSCSITimeoutMs = 10000;

CliError PortRefused(int alert, const std::string& name, const char* why)
{
    return CliError(kDeviceRefused, FileAlertText(alert, name) + " (" + why + ")");
}

class CSDSSession final : public CSamplerSession {
public:
    CSDSSession(const CMIDIPortLists& ports, const SamplerOptions& options, SCliSampler sampler)
        : CSamplerSession(std::move(sampler))
    {
        const CRegisteredMIDIInput* in = ports.FindInput(*options.midiIn);
        if (!in)
            throw PortRefused(kCannotOpenInAlert, *options.midiIn, "no such MIDI input; see quorvel-cli midi-ports");
        const CRegisteredMIDIOutput* out = ports.FindOutput(*options.midiOut);
        if (!out)
            throw PortRefused(kCannotOpenOutAlert, *options.midiOut, "no such MIDI output; see quorvel-cli midi-ports");
        try {
            input_ = in->Open(parser_);
        } catch (const XMIDI&) {
            throw PortRefused(kCannotOpenInAlert, *options.midiIn, "the port did not open");
        }
        try {
            output_ = out->Open();
        } catch (const XMIDI&) {
            throw PortRefused(kCannotOpenOutAlert, *options.midiOut, "the port did not open");
        }
        interface_ = std::make_unique<CSDSSamplerInterface>(*output_, parser_, static_cast<uint8_t>(options.sysexId));
    }

    CABCSamplerInterface& Interface() override { return *interface_; }

private:
    // Declared in the order they open; they close the other way round.
    CSysexMIDIInput parser_;
    std::unique_ptr<CMIDIInput> input_;
    std::unique_ptr<CMIDIOutput> output_;
    std::unique_ptr<CSDSSamplerInterface> interface_;
};

// An interface that owns whatever it talks through.
class CInterfaceSession final : public CSamplerSession {
public:
    CInterfaceSession(SCliSampler sampler, std::unique_ptr<CABCSamplerInterface> interface)
        : CSamplerSession(std::move(sampler)), interface_(std::move(interface))
    {
    }
    CABCSamplerInterface& Interface() override { return *interface_; }

private:
    std::unique_ptr<CABCSamplerInterface> interface_;
};


CliError TargetRefused(const SCSIDevice& device, const std::string& why)
{
    return CliError(kDeviceRefused, "SCSI id " + std::to_string(device.target) + " on bus \"" + device.bus->Name() +
                                        "\" " + why);
}

SCSIDevice OpenTarget(const CSCSIBusRegistry& buses, const SamplerOptions& options)
{
    CSCSIBus* bus = buses.Find(*options.scsiBus);
    if (!bus)
        throw CliError(kDeviceRefused, "There is no SCSI bus \"" + *options.scsiBus + "\" (see quorvel-cli scsi-buses)");
    SCSIDevice device{bus, static_cast<uint8_t>(*options.scsiId), kSCSITimeoutMs};
    if (*options.scsiId >= bus->TargetCount())
        throw TargetRefused(device, "does not exist: the bus has ids 0 to " + std::to_string(bus->TargetCount() - 1));
    if (device.target == bus->AdapterId())
        throw TargetRefused(device, "is the host adapter itself");
    return device;
}

// E-mu samplers are told apart by their inquiry answer: talking SMDI to
// another device would only end in a puzzling protocol error.
std::unique_ptr<CABCSamplerInterface> OpenEMU(const SCSIDevice& device, const SCliSampler& sampler)
{
    const std::unique_ptr<CEMUSCSISamplerClass> model = EMUSamplerClass(sampler.typeId);
    std::optional<SEMUInquiry> inquiry;
    try {
        inquiry = InquireEMU(device);
    } catch (const XBase&) {
        throw TargetRefused(device, "does not answer");
    }
    if (!inquiry || !model->Verify(*inquiry))
        throw TargetRefused(device, "is not an " + sampler.name);
    return model->CreateInterface(device);
}

std::unique_ptr<CABCSamplerInterface> OpenMIDIBrand(const CMIDIPortLists& ports, const CSCSIBusRegistry& buses,
                                                   const SamplerOptions& options, const SCliSampler& sampler,
                                                   const std::optional<SCSIDevice>& scsi = std::nullopt)
{
    if (!ports.FindInput(*options.midiIn))
        throw PortRefused(kCannotOpenInAlert, *options.midiIn, "no such MIDI input; see quorvel-cli midi-ports");
    if (!ports.FindOutput(*options.midiOut))
        throw PortRefused(kCannotOpenOutAlert, *options.midiOut, "no such MIDI output; see quorvel-cli midi-ports");
    CPersistentInstalledSampler record;
    record.modelTypeId = sampler.typeId;
    record.midiIn = {*options.midiIn, ports.FindInput(*options.midiIn)->DriverKind()};
    record.midiOut = {*options.midiOut, ports.FindOutput(*options.midiOut)->DriverKind()};
    record.sysexId = static_cast<uint8_t>(options.sysexId);
    if (scsi) {
        record.scsiBus = {scsi->bus->Name(), scsi->bus->DriverName()};
        record.scsiId = scsi->target;
    }
    try {
        return CreateSamplerInterface(record, SSamplerDevices{ports, buses});
    } catch (const XMIDI&) {
        throw PortRefused(kCannotOpenInAlert, *options.midiIn, "the ports did not open");
    }
}

// The objects go over MIDI; the MIDI+SCSI rows also take their target.
// A brand whose messages go over MIDI and whose sample data may go over SCSI.
std::unique_ptr<CABCSamplerInterface> OpenMIDIAndSCSIBrand(const CMIDIPortLists& ports, const CSCSIBusRegistry& buses,
                                                           const SamplerOptions& options, const SCliSampler& sampler)
{
    std::optional<SCSIDevice> target;
    if (options.scsiBus && options.scsiId)
        target = OpenTarget(buses, options);
    return OpenMIDIBrand(ports, buses, options, sampler, target);
}

} // namespace

std::unique_ptr<CSamplerSession> OpenSamplerSession(const CMIDIPortLists& ports, const CSCSIBusRegistry& buses,
                                                    const SamplerOptions& options)
{
    SCliSampler sampler = ResolveSampler(options);
    if (sampler.kind == ECliSamplerKind::SDS)
        return std::make_unique<CSDSSession>(ports, options, std::move(sampler));
    if (sampler.kind == ECliSamplerKind::Kurzweil || sampler.kind == ECliSamplerKind::Yamaha)
        return std::make_unique<CInterfaceSession>(sampler, OpenMIDIAndSCSIBrand(ports, buses, options, sampler));
    const bool midiBrand = sampler.kind == ECliSamplerKind::Roland || sampler.kind == ECliSamplerKind::Ensoniq ||
                           (sampler.kind == ECliSamplerKind::AKAI && !akai::IsSCSIModel(sampler.typeId));
    if (midiBrand)
        return std::make_unique<CInterfaceSession>(sampler, OpenMIDIBrand(ports, buses, options, sampler));
    const SCSIDevice device = OpenTarget(buses, options);
    std::unique_ptr<CABCSamplerInterface> interface;
    if (sampler.kind == ECliSamplerKind::AKAI)
        interface = std::make_unique<CAKAISCSIInterface>(device, static_cast<uint8_t>(options.sysexId));
    else if (sampler.kind == ECliSamplerKind::EMU)
        interface = OpenEMU(device, sampler);
    else
        interface = std::make_unique<CSMDISamplerInterface>(device);
    return std::make_unique<CInterfaceSession>(std::move(sampler), std::move(interface));
}

} // namespace quorvel::cli
