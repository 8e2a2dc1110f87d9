#pragma once
// A sliced loop to an S-760 as one playable patch: one sample per slice,
// one partial per sample, and the patch playing the partials on the keys
// from C2 up. A template patch on the sampler lends its settings (and those
// of its first partial). The questions on the way go to whoever drives it:
// the transmit dialog or the tool.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "samplers/roland/RolandExceptions.h"
#include "samplers/roland/S760Interface.h"
#include "samplers/roland/S760Patch.h"

namespace quorvel {

class CExportJob;
class CABCTransferProgress;

// The patch name is empty once trimmed.
QUORVEL_EXCEPTION(XS760PatchNameMissing, XS760Exception);
// Every patch number is taken.
QUORVEL_EXCEPTION(XS760NoFreePatch, XS760Exception);
// Too few partials or samples are free (Shortfall says how many).
QUORVEL_EXCEPTION(XS760NotEnoughPartials, XS760Exception);
QUORVEL_EXCEPTION(XS760NotEnoughSamples, XS760Exception);
// A partial of a slice's name exists (ClashingName says which).
QUORVEL_EXCEPTION(XS760PartialNameTaken, XS760Exception);

namespace s760 {

constexpr const char* kDefaultPatchName = "NEW PATCH";

// Slice `slice` (from 1) of a patch: the patch's name cut to leave room for
// a blank and two digits; the whole loop as one sample takes the patch's name.
std::string SliceName(const std::string& patchName, int slice, bool separate);

struct SS760TransmitSettings {
    std::string patchName = kDefaultPatchName;
    // A patch on the sampler whose settings the new one takes; none: defaults.
    std::optional<std::string> templateName;
};

enum class ES760TransmitStage { RetrievingTemplate, DeletingPatch, SendingSamples, CreatingPatch };

class CABCS760TransmitQuestions {
public:
    virtual ~CABCS760TransmitQuestions() = default;
    // How many slices go (the first ones), or XSampleTransmitCancelled.
    virtual int ConfirmSliceCount(int count, int maximum) = 0;
    // A patch of that name exists: true deletes it with its partials and samples.
    virtual bool ReplacePatch(const std::string& name) = 0;
    // The template could not be read: true goes on with the defaults.
    virtual bool UseDefaults() = 0;
    // The template refers to partials or samples that are gone.
    virtual void TemplateIncomplete() {}
    virtual void Stage(ES760TransmitStage) {}
    virtual CABCTransferProgress& SampleProgress(int left) = 0;
};

struct SS760SentSample {
    int slice = 0; // from 1; 0 for the whole loop
    std::string name;
    int32_t number = 0;
    int32_t partial = -1;
    uint32_t frames = 0;
    uint32_t rate = 0;
};

struct SS760TransmitResult {
    std::vector<SS760SentSample> samples;
    std::string patchName;
    int32_t patchNumber = -1;
};

enum class ES760Aftermath { Nothing, PatchIncomplete };

class CS760PatchTransmission {
public:
    CS760PatchTransmission(CABCS760Interface& sampler, CABCS760TransmitQuestions& questions);

    // XS760PatchNameMissing before anything is asked; XS760NoFreePatch,
    // XS760NotEnoughPartials, XS760NotEnoughSamples,
    // XS760PartialNameTaken and XS760SampleNameAlreadyExists before anything
    // is sent; XSampleTransmitCancelled when a question is declined.
    SS760TransmitResult Run(const CExportJob& job, const SS760TransmitSettings& settings);

    const std::string& ClashingName() const { return clashingName_; }
    int Shortfall() const { return shortfall_; }
    ES760Aftermath Aftermath() const { return aftermath_; }

    // The patch `number` as the sampler holds it, and its partials.
    CS760PatchBlock ReadPatch(int32_t number);
    CS760PartialBlock ReadPartial(int32_t number);

private:
    struct STemplate {
        CS760PatchBlock patch;
        CS760PartialBlock partial;
    };

    STemplate RetrieveTemplate(const CS760FileList& patches, const CS760FileList& partials);
    void DeletePatch(uint16_t number, const std::vector<uint16_t>& partials, const std::vector<uint16_t>& samples);
    int32_t CreatePatch(uint16_t number, const std::string& name, const STemplate& model,
                        std::vector<SS760SentSample>& samples, std::vector<uint16_t> freePartials);

    CABCS760Interface& sampler_;
    CABCS760TransmitQuestions& questions_;
    std::optional<std::string> templateName_;
    std::string clashingName_;
    int shortfall_ = 0;
    ES760Aftermath aftermath_ = ES760Aftermath::Nothing;
};

} // namespace s760
} // namespace quorvel
