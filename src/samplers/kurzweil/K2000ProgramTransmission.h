#pragma once
// A sliced loop to a K2000/K2500 as one playable program: one sound block
// per slice, a keymap that puts slice k on the start key + k, and a program
// whose first layer plays that keymap, built on a template program read
// from the sampler or on defaults. The questions on the way go to whoever
// drives it: the transmit dialog or the tool.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "samplers/kurzweil/K2000Keymap.h"
#include "samplers/kurzweil/K2000Program.h"
#include "samplers/kurzweil/KurzweilExceptions.h"
#include "samplers/kurzweil/KurzweilObjectProtocol.h"

namespace quorvel {

class CABCSamplerInterface;
class CABCTransferProgress;
class CExportJob;

// No destination program id was given.
QUORVEL_EXCEPTION(XK2000ProgramIdMissing, XK2000Exception);
// The destination program id lies outside 1 to 999.
QUORVEL_EXCEPTION(XK2000ProgramIdOutOfRange, XK2000Exception);
// The program name is empty once trimmed.
QUORVEL_EXCEPTION(XK2000ProgramNameMissing, XK2000Exception);
// The start key has no place in a keymap (below 12 or above 127).
QUORVEL_EXCEPTION(XK2000StartKeyOutOfRange, XK2000Exception);

namespace k2000 {

constexpr int kDefaultStartKey = 36;
constexpr int kLowestStartKey = CK2000Keymap::kKeyOffset;
constexpr int kHighestKey = 127;

// How many slices fit from `startKey` up: one key each.
int SliceLimit(int startKey);

struct SK2000TransmitSettings {
    std::optional<int> programId;
    std::string programName;
    int startKey = kDefaultStartKey;
    // A program on the sampler whose common values and first layer the new program takes.
    std::optional<uint16_t> templateId;
};

// Why the defaults are offered.
enum class EK2000TemplateProblem {
    NotSpecified, // no template was named
    Missing,      // the sampler has no such program
    Unreadable,   // reading it failed
};

enum class EK2000TransmitStage { RetrievingTemplate, DeletingProgram, SendingSamples, WritingKeymap, WritingProgram };

class CABCK2000TransmitQuestions {
public:
    virtual ~CABCK2000TransmitQuestions() = default;
    // `count` slices, room for `maximum`: how many go (the first ones), or XSampleTransmitCancelled.
    virtual int ConfirmSliceCount(int count, int maximum) = 0;
    // The destination holds a program: true deletes it, its first layer's keymap and that
    // keymap's sound blocks.
    virtual bool ReplaceProgram(uint16_t id, const std::string& name) = 0;
    // No template to build on: true goes on with the defaults.
    virtual bool UseDefaults(EK2000TemplateProblem problem) = 0;
    virtual void Stage(EK2000TransmitStage) {}
    // Progress of the sample being sent; `left` counts it.
    virtual CABCTransferProgress& SampleProgress(int left) = 0;
};

struct SK2000SentSlice {
    int slice = 0; // from 1; 0 for the whole loop
    std::string name;
    uint16_t soundBlock = 0;
    int key = 0;
    uint32_t frames = 0;
    uint32_t rate = 0;
};

struct SK2000TransmitResult {
    std::vector<SK2000SentSlice> slices;
    uint16_t keymapId = 0;
    uint16_t programId = 0;
    std::string programName;
    bool usedTemplate = false;
};

class CK2000ProgramTransmission {
public:
    // `sampler` makes the sound-block transmitters; `objects` reads and writes the objects.
    CK2000ProgramTransmission(CABCSamplerInterface& sampler, CABCKurzweilObjectProtocol& objects,
                              CABCK2000TransmitQuestions& questions);

    // XK2000ProgramIdMissing, XK2000ProgramIdOutOfRange, XK2000ProgramNameMissing and
    // XK2000StartKeyOutOfRange before anything is asked; XSampleTransmitCancelled when a
    // question is declined. A failure while sending passes on; LeftUnassigned tells whether
    // it left sound blocks or a keymap that no program plays.
    SK2000TransmitResult Run(const CExportJob& job, const SK2000TransmitSettings& settings);

    bool LeftUnassigned() const { return leftUnassigned_; }

    // The entry every slice's entry starts from: the template keymap's first entry that
    // names a sound block, or an empty one.
    static SK2000KeymapEntry ModelEntry(const CK2000Keymap& keymap);
    // Every program of the sampler, bank by bank.
    static std::vector<SKurzweilObjectRecord> ListPrograms(CABCKurzweilObjectProtocol& objects);

private:
    struct STemplate {
        CK2000Program program;
        SK2000KeymapEntry entry;
        bool used = false;
    };

    STemplate RetrieveTemplate(const std::optional<uint16_t>& id);
    bool ProgramExists(uint16_t id, std::string& name);
    void DeleteProgramAndSamples(uint16_t id);

    CABCSamplerInterface& sampler_;
    CABCKurzweilObjectProtocol& objects_;
    CABCK2000TransmitQuestions& questions_;
    bool leftUnassigned_ = false;
};

} // namespace k2000
} // namespace quorvel
