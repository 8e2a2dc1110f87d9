#pragma once
// The search for samplers on the registered SCSI buses and MIDI ports:
// SCSI first (every target but the adapter's own), then MIDI (every output
// sends the requests for device numbers 0 to 15, then the inputs are
// listened to). Each answer goes to the brands' recognizers. What was found
// is checked against itself and the installed samplers, so that the same
// sampler is never offered twice without a word.
//
// The caller shows the progress (and offers Stop) through
// CABCSearchProgress; every wait runs on MIDIClock() or SCSIClock().
#include <cstdint>
#include <string>
#include <vector>

#include "samplers/InstalledSamplers.h"
#include "samplers/SamplerBrands.h"
#include "samplers/SamplerRecognizer.h"

namespace quorvel {

class CTextResources;

class CABCSearchProgress {
public:
    virtual ~CABCSearchProgress() = default;
    // "Scanning for SCSI samplers...", "Scanning for MIDI samplers...",
    // "Cancelled!".
    virtual void SetText(const std::string& text) = 0;
    virtual bool CancelRequested() = 0;
};

enum class ESearchFailure { kNone, kOutOfMemory, kInternal };

struct SSearchFinding {
    SFoundSampler sampler;
    // Empty, "Double sampler found" (found before in this search) or the
    // note that names the installed sampler it equals.
    std::string doubleNote;
};

struct SSamplerSearchResult {
    std::vector<SSearchFinding> found; // in the order they were found
    bool cancelled = false;
    // Some MIDI input or output could not be opened.
    bool midiPortsUnavailable = false;
    // Models that need MIDI and answered only on SCSI.
    std::vector<uint32_t> midiMissing;
    ESearchFailure failure = ESearchFailure::kNone;
};

// Timing of the MIDI requests.
constexpr uint32_t kSearchRequestPauseMs = 20;
constexpr uint32_t kSearchListenMs = 200;
constexpr uint8_t kSearchDeviceNumbers = 16;
constexpr uint32_t kSearchSCSITimeoutMs = 2000;

// `onlyModel` 0 searches for every model; otherwise only that model's
// findings are kept.
SSamplerSearchResult SearchForSamplers(const SSamplerDevices& devices, const CInstalledSamplers& installed,
                                       CTextResources& texts, CABCSearchProgress& progress, uint32_t onlyModel = 0);

// The requests sent to each device number: the S-760's access data set, the
// AKAI status request and the identity request.
std::vector<std::vector<uint8_t>> SearchRequests(uint8_t deviceNumber);

// The same sampler: the same model on the same SCSI target and/or answering
// on the same MIDI input for the same device number.
bool SameSampler(const SFoundSampler& found, const CPersistentInstalledSampler& installed);
bool SameSampler(const SFoundSampler& a, const SFoundSampler& b);

// An alert of table 129 with its arguments.
struct SAlertToShow {
    uint32_t entry = 0;
    std::vector<std::string> arguments;
    bool operator==(const SAlertToShow&) const = default;
};

// What the search ends with, in order: out of memory (99) or another
// failure (94) alone; otherwise ports unavailable (63), each model found
// without its MIDI connection (83), and nothing found (80, or 81 naming
// `onlyModel`). Nothing after a cancel.
std::vector<SAlertToShow> SearchAlerts(const SSamplerSearchResult& result, uint32_t onlyModel = 0);

// Before a search: "No MIDI available" (4) when a search for a MIDI model,
// or any search, finds no MIDI port pair; "No SCSI available" (5) likewise
// for SCSI. A search for every model goes ahead as long as either is there.
std::vector<SAlertToShow> MissingTransportAlerts(const SSamplerDevices& devices, uint32_t onlyModel = 0);

// The found sampler's model, ports, ids and version in an installed record.
void ApplyFinding(const SFoundSampler& found, CPersistentInstalledSampler& sampler);
// Installs it under `userName` (XSamplerNameMissing when empty).
CPersistentInstalledSampler& InstallFinding(CInstalledSamplers& samplers, const SFoundSampler& found,
                                            const std::string& userName);

} // namespace quorvel
