#pragma once
// A sliced loop to an A3000 as one sample bank: one sample per slice, named
// after the bank, then the bank listing them, each slice on its own key
// from the first key up. The questions on the way (too many slices, a
// template that cannot be had) go to whoever drives it: the transmit dialog
// or the tool.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "samplers/yamaha/A3000Exceptions.h"
#include "samplers/yamaha/A3000Interface.h"

namespace quorvel {

class CExportJob;
class CABCTransferProgress;

// The bank name is empty once made a sampler name.
QUORVEL_EXCEPTION(XA3000BankNameMissing, XA3000Exception);
// A bank of that name is on the sampler already.
QUORVEL_EXCEPTION(XA3000BankNameNotUnique, XA3000Exception);
// The bank just sent is not in the object list afterwards.
QUORVEL_EXCEPTION(XA3000TransmittedBankLost, XA3000Exception);

namespace a3000 {

constexpr int kDefaultFirstKey = 36;

// The sample name of slice `slice` (from 1): the bank's name cut to leave
// room for a space and two digits; the whole loop takes the bank's name.
std::string SliceName(const std::string& bankName, int slice, bool separate);
// One key per slice from `firstKey` up.
int SliceLimit(int firstKey);

struct SA3000TransmitSettings {
    std::string bankName = kUnnamedBank;
    int firstKey = kDefaultFirstKey;
    // A bank on the sampler whose common settings the new bank takes.
    std::optional<std::string> templateName;
};

class CABCA3000TransmitQuestions {
public:
    virtual ~CABCA3000TransmitQuestions() = default;
    // `count` slices, room for `maximum`: how many go, or XSampleTransmitCancelled.
    virtual int ConfirmSliceCount(int count, int maximum) = 0;
    // The template could not be read: true goes on with the defaults.
    virtual bool UseDefaults() = 0;
    // Progress of the sample being sent; `left` counts it.
    virtual CABCTransferProgress& SampleProgress(int left) = 0;
};

struct SA3000SentSample {
    int slice = 0; // from 1; 0 for the whole loop
    std::string name;
    int32_t number = 0;
    uint32_t frames = 0;
    uint32_t rate = 0;
};

struct SA3000TransmitResult {
    std::vector<SA3000SentSample> samples;
    std::string bankName;
};

// What a failure left on the sampler.
enum class EA3000Aftermath {
    Nothing,
    BankIncomplete,    // some samples are missing from the bank made
    SamplesUnassigned, // samples arrived but no bank holds them
};

class CA3000BankTransmission {
public:
    CA3000BankTransmission(CABCA3000Interface& sampler, CABCA3000TransmitQuestions& questions);

    // XA3000BankNameMissing before anything is asked; XA3000BankNameNotUnique
    // and XA3000SampleNameNotUnique (ClashingName) before anything is sent;
    // XSampleTransmitCancelled when a question is declined. A failure while
    // sending passes on; Aftermath tells what it left behind.
    SA3000TransmitResult Run(const CExportJob& job, const SA3000TransmitSettings& settings);

    const std::string& ClashingName() const { return clashingName_; }
    EA3000Aftermath Aftermath() const { return aftermath_; }

private:
    CA3000SampleBank Template(const std::optional<std::string>& name);
    void SendBank(CA3000SampleBank bank, int firstKey, const std::vector<SA3000SentSample>& samples);

    CABCA3000Interface& sampler_;
    CABCA3000TransmitQuestions& questions_;
    std::string clashingName_;
    EA3000Aftermath aftermath_ = EA3000Aftermath::Nothing;
};

} // namespace a3000
} // namespace quorvel
