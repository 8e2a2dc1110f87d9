#include "samplers/SamplerSearch.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <new>

#include "devices/midi/MIDIExceptions.h"
#include "devices/midi/MIDIInput.h"
#include "devices/midi/MIDIOutput.h"
#include "devices/midi/MIDIService.h"
#include "devices/midi/SysexMIDIInput.h"
#include "devices/scsi/SCSICommandBlock.h"
#include "devices/scsi/SCSIExceptions.h"
#include "framework/ResourceReference.h"
#include "framework/TextResources.h"
#include "samplers/IdentityReply.h"
#include "samplers/roland/S760Recognizer.h"

namespace quorvel {

namespace {

constexpr uint32_t kTexts = 129;
constexpr uint32_t kCancelled = 1;
constexpr uint32_t kScanningSCSI = 41;
constexpr uint32_t kScanningMIDI = 42;
constexpr uint32_t kDoubleFound = 52;
constexpr uint32_t kIdenticalToInstalled = 69;

constexpr uint32_t kAlertNoMIDI = 4;
constexpr uint32_t kAlertNoSCSI = 5;
constexpr uint32_t kAlertPortsUnavailable = 63;
constexpr uint32_t kAlertNoneFound = 80;
constexpr uint32_t kAlertModelNotFound = 81;
constexpr uint32_t kAlertMIDIMissing = 83;
constexpr uint32_t kAlertInternalError = 94;
constexpr uint32_t kAlertOutOfMemory = 99;

constexpr uint8_t kAKAI = 0x47;
constexpr uint8_t kAKAIStatusRequest = 0x00;
constexpr uint8_t kAKAIModelByte = 0x48;

std::string Text(CTextResources& texts, uint32_t entry) { return texts.Text(StringReference(kTexts, entry)); }

// Thrown out of the search loops when the user stops it.
struct SCancelled {};

class CSearch {
public:
    CSearch(const SSamplerDevices& devices, CTextResources& texts, CABCSearchProgress& progress,
            SSamplerSearchResult& result)
        : devices_(devices), texts_(texts), progress_(progress), result_(result)
    {
    }

    void Run()
    {
        progress_.SetText(Text(texts_, kScanningSCSI));
        for (size_t i = 0; i < devices_.scsi.Count(); ++i)
            SearchBus(*devices_.scsi.Bus(i));
        progress_.SetText(Text(texts_, kScanningMIDI));
        SearchMIDI();
    }

    std::vector<SFoundSampler> found;

private:
    struct SListener {
        SDeviceName port;
        std::unique_ptr<CSysexMIDIInput> parser;
        std::unique_ptr<CMIDIInput> input;
    };

    void CheckCancel()
    {
        if (progress_.CancelRequested())
            throw SCancelled();
    }

    void Add(std::vector<SFoundSampler> findings)
    {
        for (SFoundSampler& finding : findings)
            found.push_back(std::move(finding));
    }

    void SearchBus(CSCSIBus& bus)
    {
        try {
            const uint8_t targets = std::min<uint8_t>(bus.TargetCount(), 8);
            for (uint8_t id = 0; id < targets; ++id) {
                if (id == bus.AdapterId())
                    continue;
                CheckCancel();
                SearchTarget(bus, id);
            }
        } catch (const XSCSI&) {
        } catch (const XExternalDeviceException&) {
            // The bus failed as a whole: the others are still searched.
        }
    }

    void SearchTarget(CSCSIBus& bus, uint8_t id)
    {
        const SCSIDevice device{&bus, id, kSearchSCSITimeoutMs};
        try {
            const SixByteBlock ready = MakeCommandBlock(kSCSITestUnitReady);
            const SCSIResult tested = bus.ExecuteNoData(device, ready.data());
            // Not ready is still a target; only an empty id is passed over.
            if (tested.kind == kSCSINoDevice || tested.kind == kSCSITimeOut)
                return;
            SixByteBlock inquiry = MakeCommandBlock(kSCSIInquiry);
            inquiry[4] = kInquiryAnswerLength;
            SSCSITargetSeen seen;
            seen.bus = {bus.Name(), bus.DriverName()};
            seen.id = id;
            if (!bus.ExecuteIn(device, inquiry.data(), seen.inquiry.size(), seen.inquiry.data()).Good())
                return;
            for (const auto& recognizer : SCSIRecognizers())
                Add(recognizer->RecognizeSCSITarget(seen));
        } catch (const XSCSI&) {
        } catch (const XExternalDeviceException&) {
            // This target failed; the next one may answer.
        }
    }

    std::vector<SListener> OpenInputs()
    {
        std::vector<SListener> listeners;
        for (const auto& port : devices_.midi.inputs) {
            SListener listener{{port->Name(), port->DriverKind()}, std::make_unique<CSysexMIDIInput>(), nullptr};
            try {
                listener.input = port->Open(*listener.parser);
            } catch (const XMIDI&) {
                result_.midiPortsUnavailable = true;
                continue;
            }
            listeners.push_back(std::move(listener));
        }
        return listeners;
    }

    void Wait(uint32_t ms)
    {
        CABCClock& clock = MIDIClock();
        const uint64_t deadline = clock.Milliseconds() + ms;
        while (clock.Milliseconds() < deadline)
            ServiceAllMIDIInputs();
    }

    void SearchMIDI()
    {
        std::vector<SListener> listeners = OpenInputs();
        for (const auto& port : devices_.midi.outputs) {
            CheckCancel();
            std::unique_ptr<CMIDIOutput> output;
            try {
                output = port->Open();
            } catch (const XMIDI&) {
                result_.midiPortsUnavailable = true;
                continue;
            }
            // Whatever came in before belongs to no request of this output.
            for (SListener& listener : listeners)
                listener.parser->Flush();
            try {
                for (uint8_t device = 0; device < kSearchDeviceNumbers; ++device) {
                    CheckCancel();
                    for (const std::vector<uint8_t>& request : SearchRequests(device))
                        output->SendBytes(request.data(), static_cast<int32_t>(request.size()));
                    Wait(kSearchRequestPauseMs);
                }
            } catch (const XMIDI&) {
                // The output refused: what answered so far still counts.
            }
            Wait(kSearchListenMs);
            const SDeviceName outputName{port->Name(), port->DriverKind()};
            for (SListener& listener : listeners)
                Recognize(outputName, listener);
        }
    }

    void Recognize(const SDeviceName& output, SListener& listener)
    {
        try {
            while (std::unique_ptr<CRawSysex> message = listener.parser->NextSysex()) {
                const SMIDIMessageSeen seen{output, listener.port, *message};
                for (const auto& recognizer : MIDIRecognizers())
                    Add(recognizer->RecognizeMIDIMessage(seen));
            }
        } catch (const XSysexCommunicationException&) {
            // An overrun: the replies that were lost cannot be told apart.
            listener.parser->Flush();
        } catch (const XMIDIInputGone&) {
            // Its server went away after the last answer: nothing more comes.
        }
    }

    const SSamplerDevices& devices_;
    CTextResources& texts_;
    CABCSearchProgress& progress_;
    SSamplerSearchResult& result_;
};

// Completes each MIDI+SCSI model found on SCSI with a MIDI answer of its
// partner model; one without such an answer is reported and dropped.
std::vector<SFoundSampler> Paired(std::vector<SFoundSampler> found, std::vector<uint32_t>& midiMissing)
{
    std::vector<bool> used(found.size(), false);
    std::vector<SFoundSampler> paired;
    for (size_t i = 0; i < found.size(); ++i) {
        const uint32_t partner = found[i].foundViaMIDI ? 0 : MIDIPartnerModel(found[i].typeId);
        if (partner == 0)
            continue;
        used[i] = true;
        size_t match = 0;
        while (match < found.size() && (used[match] || found[match].typeId != partner))
            ++match;
        if (match == found.size()) {
            midiMissing.push_back(found[i].typeId);
            continue;
        }
        used[match] = true;
        SFoundSampler both = found[i];
        both.midiIn = found[match].midiIn;
        both.midiOut = found[match].midiOut;
        both.sysexId = found[match].sysexId;
        both.foundViaMIDI = true;
        if (found[match].versionKnown) {
            both.versionKnown = true;
            both.osVersion = found[match].osVersion;
        }
        paired.push_back(both);
    }
    std::vector<SFoundSampler> all;
    for (size_t i = 0; i < found.size(); ++i)
        if (!used[i])
            all.push_back(found[i]);
    all.insert(all.end(), paired.begin(), paired.end());
    return all;
}

std::string IdenticalNote(CTextResources& texts, const std::string& userName)
{
    const std::string format = Text(texts, kIdenticalToInstalled);
    char note[512];
    std::snprintf(note, sizeof note, format.c_str(), userName.c_str());
    return note;
}

bool SameMIDIAndSCSI(uint32_t typeId, const SDeviceName& inA, uint8_t sysexA, const SDeviceName& busA, uint8_t idA,
                     const SDeviceName& inB, uint8_t sysexB, const SDeviceName& busB, uint8_t idB)
{
    const SSamplerModel* model = FindSamplerModel(typeId);
    if (model == nullptr)
        return false;
    if (UsesMIDI(*model) && (inA.device != inB.device || sysexA != sysexB))
        return false;
    if (UsesSCSI(*model) && (busA.device != busB.device || idA != idB))
        return false;
    return true;
}

} // namespace

std::vector<std::vector<uint8_t>> SearchRequests(uint8_t deviceNumber)
{
    const uint8_t device = deviceNumber & 0x7F;
    return {S760SearchRequest(device), {0xF0, kAKAI, device, kAKAIStatusRequest, kAKAIModelByte, 0xF7},
            IdentityRequest(device)};
}

bool SameSampler(const SFoundSampler& found, const CPersistentInstalledSampler& installed)
{
    return found.typeId == installed.modelTypeId &&
           SameMIDIAndSCSI(found.typeId, found.midiIn, found.sysexId, found.scsiBus, found.scsiId, installed.midiIn,
                           installed.sysexId, installed.scsiBus, installed.scsiId);
}

bool SameSampler(const SFoundSampler& a, const SFoundSampler& b)
{
    return a.typeId == b.typeId && SameMIDIAndSCSI(a.typeId, a.midiIn, a.sysexId, a.scsiBus, a.scsiId, b.midiIn,
                                                   b.sysexId, b.scsiBus, b.scsiId);
}

SSamplerSearchResult SearchForSamplers(const SSamplerDevices& devices, const CInstalledSamplers& installed,
                                       CTextResources& texts, CABCSearchProgress& progress, uint32_t onlyModel)
{
    SSamplerSearchResult result;
    try {
        CSearch search(devices, texts, progress, result);
        try {
            search.Run();
        } catch (const SCancelled&) {
            result.cancelled = true;
            progress.SetText(Text(texts, kCancelled));
            return result;
        }
        std::vector<SFoundSampler> found = Paired(std::move(search.found), result.midiMissing);
        for (SFoundSampler& finding : found) {
            if (onlyModel != 0 && finding.typeId != onlyModel)
                continue;
            SSearchFinding entry{finding, {}};
            for (const SSearchFinding& earlier : result.found)
                if (SameSampler(finding, earlier.sampler))
                    entry.doubleNote = Text(texts, kDoubleFound);
            for (const CPersistentInstalledSampler& sampler : installed.Samplers())
                if (entry.doubleNote.empty() && SameSampler(finding, sampler))
                    entry.doubleNote = IdenticalNote(texts, sampler.userName);
            result.found.push_back(std::move(entry));
        }
        if (onlyModel != 0)
            std::erase_if(result.midiMissing, [onlyModel](uint32_t model) { return model != onlyModel; });
    } catch (const std::bad_alloc&) {
        result.failure = ESearchFailure::kOutOfMemory;
    } catch (const XOutOfMemory&) {
        result.failure = ESearchFailure::kOutOfMemory;
    } catch (const std::exception&) {
        result.failure = ESearchFailure::kInternal;
    }
    return result;
}

std::vector<SAlertToShow> SearchAlerts(const SSamplerSearchResult& result, uint32_t onlyModel)
{
    if (result.failure == ESearchFailure::kOutOfMemory)
        return {{kAlertOutOfMemory, {}}};
    if (result.failure == ESearchFailure::kInternal)
        return {{kAlertInternalError, {}}};
    if (result.cancelled)
        return {};
    std::vector<SAlertToShow> alerts;
    if (result.midiPortsUnavailable)
        alerts.push_back({kAlertPortsUnavailable, {}});
    for (const uint32_t model : result.midiMissing)
        alerts.push_back({kAlertMIDIMissing, {std::string(FindSamplerModel(model)->name)}});
    if (result.found.empty() && result.midiMissing.empty()) {
        if (onlyModel != 0 && FindSamplerModel(onlyModel) != nullptr)
            alerts.push_back({kAlertModelNotFound, {std::string(FindSamplerModel(onlyModel)->name)}});
        else
            alerts.push_back({kAlertNoneFound, {}});
    }
    return alerts;
}

std::vector<SAlertToShow> MissingTransportAlerts(const SSamplerDevices& devices, uint32_t onlyModel)
{
    const bool midi = !devices.midi.inputs.empty() && !devices.midi.outputs.empty();
    const bool scsi = devices.scsi.Count() > 0;
    std::vector<SAlertToShow> alerts;
    const SSamplerModel* model = onlyModel == 0 ? nullptr : FindSamplerModel(onlyModel);
    if (model == nullptr) {
        if (!midi && !scsi)
            alerts = {{kAlertNoMIDI, {}}, {kAlertNoSCSI, {}}};
        return alerts;
    }
    if (UsesMIDI(*model) && !midi)
        alerts.push_back({kAlertNoMIDI, {}});
    if (UsesSCSI(*model) && !scsi)
        alerts.push_back({kAlertNoSCSI, {}});
    return alerts;
}

void ApplyFinding(const SFoundSampler& found, CPersistentInstalledSampler& sampler)
{
    if (const SSamplerModel* model = FindSamplerModel(found.typeId)) {
        sampler.modelTypeId = model->typeId;
        sampler.modelName = std::string(model->name);
    }
    if (found.foundViaMIDI) {
        sampler.midiIn = found.midiIn;
        sampler.midiOut = found.midiOut;
        sampler.sysexId = found.sysexId;
    }
    if (found.foundViaSCSI) {
        sampler.scsiBus = found.scsiBus;
        sampler.scsiId = found.scsiId;
    }
    sampler.versionKnown = found.versionKnown;
    sampler.osVersion = found.versionKnown ? found.osVersion : CVersion{};
}

CPersistentInstalledSampler& InstallFinding(CInstalledSamplers& samplers, const SFoundSampler& found,
                                            const std::string& userName)
{
    const SSamplerModel* model = FindSamplerModel(found.typeId);
    if (model == nullptr)
        throw XSamplerNotSupported();
    CPersistentInstalledSampler& sampler = samplers.Add(*model, userName);
    ApplyFinding(found, sampler);
    return sampler;
}

} // namespace quorvel
