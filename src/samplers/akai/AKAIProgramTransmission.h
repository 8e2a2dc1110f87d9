#pragma once
// A sliced loop to an AKAI sampler as one playable program: one sample per
// slice, named after the program, then the program header and one keygroup
// per slice, each on its own key from the first key up. The questions on
// the way (too many slices, a program of that name, a template that cannot
// be had) go to whoever drives it: the transmit dialog or the tool.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "samplers/akai/AKAIExceptions.h"
#include "samplers/akai/AKAIInterface.h"

namespace quorvel {

class CExportJob;
class CABCTransferProgress;

// The program name is empty once trimmed.
QUORVEL_EXCEPTION(XAKAIProgramNameMissing, XAKAIException);
// The first key is outside 0 to 127.
QUORVEL_EXCEPTION(XAKAIFirstKeyOutOfRange, XAKAIException);
// The program just made is not in the sampler's program list afterwards.
QUORVEL_EXCEPTION(XAKAITransmittedProgramLost, XAKAIException);

namespace akai {

constexpr const char* kDefaultProgramName = "NEW PROGRAM";
constexpr int kDefaultFirstKey = 36;
constexpr int kMostKeyGroups = 99;

// How many slices a program from `firstKey` can place: one key each, at
// most 99 keygroups.
int SliceLimit(int firstKey);

// The sample name of slice `slice` (from 1) of a program: the program's name
// cut to leave room for a space and two digits. The whole loop sent as one
// sample takes the program's own name.
std::string SliceName(const std::string& programName, int slice, bool separate);

struct SAKAITransmitSettings {
    std::string programName = kDefaultProgramName;
    int firstKey = kDefaultFirstKey;
    // A program on the sampler whose header and first keygroup the new
    // program starts from; none: the defaults.
    std::optional<std::string> templateName;
};

enum class EAKAITransmitStage { RetrievingTemplate, DeletingProgram, SendingSamples, CreatingProgram };

class CABCAKAITransmitQuestions {
public:
    virtual ~CABCAKAITransmitQuestions() = default;
    // `count` slices, room for `maximum`: how many go (the first ones), or
    // XSampleTransmitCancelled.
    virtual int ConfirmSliceCount(int count, int maximum) = 0;
    // A program named `name` is on the sampler: true deletes it and its
    // samples.
    virtual bool ReplaceProgram(const std::string& name) = 0;
    // The template could not be read: true goes on with the defaults.
    virtual bool UseDefaults() = 0;
    // Each stage as it begins, for a progress text.
    virtual void Stage(EAKAITransmitStage) {}
    // Progress of the sample being sent; `left` counts it.
    virtual CABCTransferProgress& SampleProgress(int left) = 0;
};

struct SAKAISentSample {
    int slice = 0; // from 1; 0 for the whole loop
    std::string name;
    int32_t number = 0;
    uint32_t frames = 0;
    uint32_t rate = 0;
};

struct SAKAITransmitResult {
    std::vector<SAKAISentSample> samples;
    std::string programName;
    int32_t programNumber = -1;
    int keyGroups = 0;
};

// What a failure left on the sampler.
enum class EAKAIAftermath {
    Nothing,            // nothing was sent, or everything was
    ProgramIncomplete,  // some samples are missing from the program made
    SamplesUnassigned,  // samples arrived but no program holds them
};

class CAKAIProgramTransmission {
public:
    CAKAIProgramTransmission(CABCAKAIInterface& sampler, CABCAKAITransmitQuestions& questions);

    // XAKAIProgramNameMissing, XAKAIFirstKeyOutOfRange before anything is
    // asked; XAKAINameIsNotUnique (ClashingName) before anything is sent;
    // XSampleTransmitCancelled when a question is declined. A failure while
    // sending passes on; Aftermath tells what it left behind.
    SAKAITransmitResult Run(const CExportJob& job, const SAKAITransmitSettings& settings);

    const std::string& ClashingName() const { return clashingName_; }
    EAKAIAftermath Aftermath() const { return aftermath_; }

private:
    struct STemplate {
        std::unique_ptr<CABCAKAIProgramHeader> header;
        std::unique_ptr<CABCAKAIKeyGroup> keyGroup;
    };

    STemplate RetrieveTemplate(const std::optional<std::string>& name);
    void DeleteProgramAndSamples(const std::string& name);
    void CheckNamesFree(const std::vector<std::string>& names, const std::vector<std::string>& leaving);
    int32_t CreateProgram(const std::string& name, int firstKey, const STemplate& model,
                          const std::vector<SAKAISentSample>& samples);

    CABCAKAIInterface& sampler_;
    CABCAKAITransmitQuestions& questions_;
    std::string clashingName_;
    EAKAIAftermath aftermath_ = EAKAIAftermath::Nothing;
};

} // namespace akai
} // namespace quorvel
