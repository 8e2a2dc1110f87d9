#pragma once
// A sliced loop to an EPS-family sampler as one playable instrument: the
// instrument is made in the slot chosen (replacing what is there when the
// user agrees) with one layer, named, and each slice becomes a wave of that
// layer on its own key from key 36 up. The questions on the way go to whoever drives
// it: the transmit dialog or the tool.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "samplers/ensoniq/EnsoniqExceptions.h"
#include "samplers/ensoniq/EnsoniqInterface.h"

namespace quorvel {

class CExportJob;
class CABCTransferProgress;

namespace ensoniq {

constexpr const char* kDefaultInstrumentName = "NEW INSTR";
constexpr int kFirstKey = 36;

// One key each from key 36, one wave each.
int SliceLimit();
// Printable characters, at most 12, no blanks at either end.
std::string InstrumentName(std::string_view name);
// The instrument's name cut to leave room for a space and two digits; the
// whole loop as one wave takes the instrument's own name.
std::string SliceName(const std::string& instrumentName, int slice, bool separate);

struct SEnsoniqTransmitSettings {
    std::string instrumentName = kDefaultInstrumentName;
    uint32_t instrument = 0; // 0 to 7, shown as 1 to 8
};

enum class EEnsoniqTransmitStage { DeletingInstrument, CreatingInstrument, SendingSamples };

class CABCEnsoniqTransmitQuestions {
public:
    virtual ~CABCEnsoniqTransmitQuestions() = default;
    // `count` slices, room for `maximum`: how many go, or XSampleTransmitCancelled.
    virtual int ConfirmSliceCount(int count, int maximum) = 0;
    // An instrument named `name` is in the slot: true replaces it.
    virtual bool ReplaceInstrument(const std::string& name) = 0;
    virtual void Stage(EEnsoniqTransmitStage) {}
    virtual CABCTransferProgress& SampleProgress(int left) = 0;
};

struct SEnsoniqSentSample {
    int slice = 0; // from 1; 0 for the whole loop
    std::string name;
    int32_t number = 0;
    uint32_t frames = 0;
    uint32_t rate = 0;
};

struct SEnsoniqTransmitResult {
    std::vector<SEnsoniqSentSample> samples;
    std::string instrumentName;
    uint32_t instrument = 0;
};

class CEnsoniqInstrumentTransmission {
public:
    CEnsoniqInstrumentTransmission(CABCEnsoniqInterface& sampler, CABCEnsoniqTransmitQuestions& questions);

    // XEnsoniqInstrumentNameMissing and XEnsoniqInvalidTarget (no such slot)
    // before anything is sent; XSampleTransmitCancelled when a question is
    // declined; XEnsoniqInstrumentNotCreated when the sampler refuses the
    // new instrument. A failure while sending passes on.
    SEnsoniqTransmitResult Run(const CExportJob& job, const SEnsoniqTransmitSettings& settings);

private:
    void MakeInstrument(uint32_t instrument, const std::string& name);

    CABCEnsoniqInterface& sampler_;
    CABCEnsoniqTransmitQuestions& questions_;
};

} // namespace ensoniq
} // namespace quorvel
