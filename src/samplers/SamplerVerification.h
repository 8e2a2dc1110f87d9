#pragma once
// The check of the installed samplers at start-up: each record's model must
// be known, its ports and bus registered, and a sampler whose version can be
// read must answer. The user decides through alerts what happens to one
// that does not (ask again, search for it, or go on); the user-interface
// layer shows them through CABCVerificationUI.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "samplers/InstalledSamplers.h"
#include "samplers/SamplerBrands.h"
#include "samplers/SamplerRecognizer.h"

namespace quorvel {

class CTextResources;

class CABCVerificationUI {
public:
    virtual ~CABCVerificationUI() = default;
    // Shows alert `entry` of table 129 with its arguments; returns the
    // pressed slot (0 is the default button, the last one listed).
    virtual int Alert(uint32_t entry, const std::vector<std::string>& arguments) = 0;
    // Shows a literal alert script (the version notes of the string table).
    virtual void Note(const std::string& script) = 0;
    // The progress line and how many samplers are left to check.
    virtual void Progress(const std::string& text, size_t left) = 0;
    virtual bool CancelRequested() = 0;
    // Searches for samplers of one model, with its own progress and the
    // search's alerts but without the "none found" one; returns what it found.
    virtual std::vector<SFoundSampler> SearchFor(const SSamplerModel& model) = 0;
    // The full search with the offer of each sampler found.
    virtual void SearchAndOffer() = 0;
};

// Reads the installed sampler's version: true when it answered as its
// model, false when something else answered; device exceptions when it did
// not answer; XSamplerNotSupported for a brand not built yet.
using OSVersionReader = std::function<bool(const CPersistentInstalledSampler&, CVersion&)>;

struct SVerificationOutcome {
    bool cancelled = false;
    size_t removed = 0;
    // Alert 37 was shown.
    bool searchOffered = false;
};

// Table 129's slots of alert 35: [Retry][Find][Skip].
constexpr int kVerifySkip = 0;
constexpr int kVerifyFind = 1;
constexpr int kVerifyRetry = 2;

// With no sampler installed, alert 37 offers a search when `offerSearch`
// is set and some MIDI port pair or SCSI bus is registered.
SVerificationOutcome VerifyInstalledSamplers(CInstalledSamplers& samplers, const SSamplerDevices& devices,
                                             CTextResources& texts, CABCVerificationUI& ui, bool offerSearch,
                                             const OSVersionReader& readVersion);
// The same, reading versions with the brands' ReadOSVersion.
SVerificationOutcome VerifyInstalledSamplers(CInstalledSamplers& samplers, const SSamplerDevices& devices,
                                             CTextResources& texts, CABCVerificationUI& ui, bool offerSearch);

// The note for a version older than the model needs: strings 64 (MIDI),
// 65 (SCSI), 66 (both) or 67 (neither) naming the model and its ids.
std::string OSTooOldNote(CTextResources& texts, const SSamplerModel& model, const CPersistentInstalledSampler& sampler,
                         const CVersion& version);
// String 68, naming the sampler by its user name.
std::string OSTooOldNoteByName(CTextResources& texts, const SSamplerModel& model, const std::string& userName,
                               const CVersion& version);
// True when a version was read and is older than the model requires.
bool OSVersionTooOld(const SSamplerModel& model, const CVersion& version);

} // namespace quorvel
