#include "samplers/SamplerVerification.h"

#include <algorithm>
#include <cstdio>

#include "devices/midi/MIDIExceptions.h"
#include "devices/scsi/SCSIExceptions.h"
#include "framework/ResourceReference.h"
#include "framework/TextResources.h"
#include "samplers/SamplerSearch.h"

namespace quorvel {

namespace {

constexpr uint32_t kTexts = 129;
constexpr uint32_t kLeftToCheck = 28;
constexpr uint32_t kLookingFor = 29;
constexpr uint32_t kTooOldMIDI = 64;
constexpr uint32_t kTooOldSCSI = 65;
constexpr uint32_t kTooOldBoth = 66;
constexpr uint32_t kTooOldNoIds = 67;
constexpr uint32_t kTooOldByName = 68;

constexpr uint32_t kAlertMIDIInMissing = 30;
constexpr uint32_t kAlertMIDIOutMissing = 31;
constexpr uint32_t kAlertBusMissing = 32;
constexpr uint32_t kAlertNotSupported = 34;
constexpr uint32_t kAlertNotReached = 35;
constexpr uint32_t kAlertCancelled = 36;
constexpr uint32_t kAlertNoneInstalled = 37;
constexpr uint32_t kAlertNotFoundRemoved = 82;
constexpr int kYes = 0; // alert 37: [No][Yes]

std::string Text(CTextResources& texts, uint32_t entry) { return texts.Text(StringReference(kTexts, entry)); }

// The string tables hold printf formats; the arguments match each one.
template <typename... Arguments>
std::string Formatted(const std::string& format, Arguments... arguments)
{
    char text[1024];
    std::snprintf(text, sizeof text, format.c_str(), arguments...);
    return text;
}

CVersion Required(const SSamplerModel& model) { return CVersion{model.requiredOS.major, model.requiredOS.minor, 0}; }

int ShownSysexId(const SSamplerModel& model, uint8_t sysexId) { return model.sysexIdsFromOne ? sysexId + 1 : sysexId; }

// The alerts for ports and buses that are not registered any more; true
// when everything the model needs is there.
bool DevicesPresent(const CPersistentInstalledSampler& sampler, const SSamplerModel& model,
                    const SSamplerDevices& devices, CABCVerificationUI& ui)
{
    bool present = true;
    if (UsesMIDI(model)) {
        if (!devices.midi.FindInput(sampler.midiIn.device)) {
            ui.Alert(kAlertMIDIInMissing, {sampler.midiIn.device});
            present = false;
        }
        if (!devices.midi.FindOutput(sampler.midiOut.device)) {
            ui.Alert(kAlertMIDIOutMissing, {sampler.midiOut.device});
            present = false;
        }
    }
    if (UsesSCSI(model) && !devices.scsi.Find(sampler.scsiBus.device)) {
        ui.Alert(kAlertBusMissing, {sampler.scsiBus.device});
        present = false;
    }
    return present;
}

enum class EAnswer { kAnswered, kSilent, kCannotAsk };

EAnswer Ask(CPersistentInstalledSampler& sampler, const OSVersionReader& readVersion)
{
    CVersion version;
    try {
        if (!readVersion(sampler, version))
            return EAnswer::kSilent; // something else sits there
    } catch (const XSamplerNotSupported&) {
        return EAnswer::kCannotAsk;
    } catch (const XExternalDeviceException&) {
        return EAnswer::kSilent;
    } catch (const XSCSI&) {
        return EAnswer::kSilent;
    } catch (const XMIDI&) {
        return EAnswer::kSilent;
    }
    sampler.versionKnown = true;
    sampler.osVersion = version;
    return EAnswer::kAnswered;
}

bool AnyDevices(const SSamplerDevices& devices)
{
    return (!devices.midi.inputs.empty() && !devices.midi.outputs.empty()) || devices.scsi.Count() > 0;
}

struct SCancelled {};

class CVerification {
public:
    CVerification(CInstalledSamplers& samplers, const SSamplerDevices& devices, CTextResources& texts,
                  CABCVerificationUI& ui, const OSVersionReader& readVersion)
        : samplers_(samplers), devices_(devices), texts_(texts), ui_(ui), readVersion_(readVersion)
    {
    }

    // True when the sampler stays installed.
    bool Verify(size_t index)
    {
        CPersistentInstalledSampler& sampler = Sampler(index);
        const SSamplerModel* model = FindSamplerModel(sampler.modelTypeId);
        if (model == nullptr) {
            ui_.Alert(kAlertNotSupported, {sampler.userName});
            return false;
        }
        if (IsSoftwareDestination(*model) || !DevicesPresent(sampler, *model, devices_, ui_))
            return true;
        if (!model->osVersionReadable)
            return true;
        ui_.Progress(Formatted(Text(texts_, kLookingFor), sampler.userName.c_str()), samplers_.Count() - index);
        for (;;) {
            if (ui_.CancelRequested())
                throw SCancelled();
            switch (Ask(Sampler(index), readVersion_)) {
            case EAnswer::kCannotAsk:
                return true;
            case EAnswer::kAnswered:
                if (OSVersionTooOld(*model, Sampler(index).osVersion))
                    ui_.Note(OSTooOldNote(texts_, *model, Sampler(index), Sampler(index).osVersion));
                return true;
            case EAnswer::kSilent:
                break;
            }
            const int choice = ui_.Alert(kAlertNotReached, {Sampler(index).userName});
            if (choice == kVerifyRetry)
                continue;
            if (choice != kVerifyFind)
                return true;
            const std::vector<SFoundSampler> found = ui_.SearchFor(*model);
            if (found.empty()) {
                ui_.Alert(kAlertNotFoundRemoved, {Sampler(index).userName});
                return false;
            }
            // The first one found takes the record's place; then it is asked
            // like any other.
            ApplyFinding(found.front(), Sampler(index));
        }
    }

private:
    CPersistentInstalledSampler& Sampler(size_t index)
    {
        return const_cast<CPersistentInstalledSampler&>(samplers_.Samplers()[index]);
    }

    CInstalledSamplers& samplers_;
    const SSamplerDevices& devices_;
    CTextResources& texts_;
    CABCVerificationUI& ui_;
    const OSVersionReader& readVersion_;
};

} // namespace

bool OSVersionTooOld(const SSamplerModel& model, const CVersion& version) { return version < Required(model); }

std::string OSTooOldNote(CTextResources& texts, const SSamplerModel& model, const CPersistentInstalledSampler& sampler,
                         const CVersion& version)
{
    const std::string name(model.name);
    const CVersion required = Required(model);
    const int major = version.major;
    const long minor = version.minor;
    const int neededMajor = required.major;
    const long neededMinor = required.minor;
    if (model.transport == SamplerTransport::MIDI)
        return Formatted(Text(texts, kTooOldMIDI), name.c_str(), ShownSysexId(model, sampler.sysexId), major, minor,
                         neededMajor, neededMinor);
    if (model.transport == SamplerTransport::SCSI)
        return Formatted(Text(texts, kTooOldSCSI), name.c_str(), int{sampler.scsiId}, major, minor, neededMajor,
                         neededMinor);
    if (model.transport == SamplerTransport::MIDIAndSCSI)
        return Formatted(Text(texts, kTooOldBoth), name.c_str(), ShownSysexId(model, sampler.sysexId),
                         int{sampler.scsiId}, major, minor, neededMajor, neededMinor);
    return Formatted(Text(texts, kTooOldNoIds), name.c_str(), major, minor, neededMajor, neededMinor);
}

std::string OSTooOldNoteByName(CTextResources& texts, const SSamplerModel& model, const std::string& userName,
                               const CVersion& version)
{
    const CVersion required = Required(model);
    return Formatted(Text(texts, kTooOldByName), userName.c_str(), int{version.major}, long{version.minor},
                     int{required.major}, long{required.minor});
}

SVerificationOutcome VerifyInstalledSamplers(CInstalledSamplers& samplers, const SSamplerDevices& devices,
                                             CTextResources& texts, CABCVerificationUI& ui, bool offerSearch,
                                             const OSVersionReader& readVersion)
{
    SVerificationOutcome outcome;
    if (samplers.Empty()) {
        if (offerSearch && AnyDevices(devices)) {
            outcome.searchOffered = true;
            if (ui.Alert(kAlertNoneInstalled, {}) == kYes)
                ui.SearchAndOffer();
        }
        return outcome;
    }
    CVerification verification(samplers, devices, texts, ui, readVersion);
    // The window only comes up when some sampler will be asked.
    const bool anyToAsk = std::any_of(samplers.Samplers().begin(), samplers.Samplers().end(), [](const auto& sampler) {
        const SSamplerModel* model = FindSamplerModel(sampler.modelTypeId);
        return model != nullptr && model->osVersionReadable;
    });
    if (anyToAsk)
        ui.Progress(Text(texts, kLeftToCheck), samplers.Count());
    size_t index = 0;
    try {
        while (index < samplers.Count()) {
            if (verification.Verify(index)) {
                ++index;
            } else {
                samplers.Remove(index);
                ++outcome.removed;
            }
        }
    } catch (const SCancelled&) {
        outcome.cancelled = true;
        ui.Alert(kAlertCancelled, {});
    }
    return outcome;
}

SVerificationOutcome VerifyInstalledSamplers(CInstalledSamplers& samplers, const SSamplerDevices& devices,
                                             CTextResources& texts, CABCVerificationUI& ui, bool offerSearch)
{
    const OSVersionReader read = [&devices](const CPersistentInstalledSampler& sampler, CVersion& version) {
        return ReadOSVersion(sampler, devices, version);
    };
    return VerifyInstalledSamplers(samplers, devices, texts, ui, offerSearch, read);
}

} // namespace quorvel
