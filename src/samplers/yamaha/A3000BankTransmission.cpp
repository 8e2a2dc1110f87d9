#include "samplers/yamaha/A3000BankTransmission.h"

#include <algorithm>
#include <cstdio>

#include "analysis/SliceSet.h"
#include "samplers/SampleTransfer.h"
#include "samplers/SliceSamples.h"

namespace quorvel::a3000 {

namespace {

constexpr int kHighestKey = 127;
constexpr size_t kSliceDigits = 2;

} // namespace

std::string SliceName(const std::string& bankName, int slice, bool separate)
{
    const std::string bank = SamplerName(bankName);
    if (!separate)
        return bank;
    std::string stem = bank.substr(0, kNameLength - kSliceDigits - 1);
    while (!stem.empty() && stem.back() == ' ')
        stem.pop_back();
    char digits[8];
    std::snprintf(digits, sizeof digits, "%02d", slice % 100);
    return SamplerName(stem + " " + digits);
}

int SliceLimit(int firstKey) { return std::max(0, kHighestKey + 1 - firstKey); }

CA3000BankTransmission::CA3000BankTransmission(CABCA3000Interface& sampler, CABCA3000TransmitQuestions& questions)
    : sampler_(sampler), questions_(questions)
{
}

SA3000TransmitResult CA3000BankTransmission::Run(const CExportJob& job, const SA3000TransmitSettings& settings)
{
    aftermath_ = EA3000Aftermath::Nothing;
    clashingName_.clear();
    const std::string bankName = SamplerName(settings.bankName);
    if (bankName.empty())
        throw XA3000BankNameMissing();
    const int firstKey = std::clamp(settings.firstKey, 0, kHighestKey);
    const int outputs = job.OutputCount();
    if (outputs < 1)
        return {};
    const int count = questions_.ConfirmSliceCount(outputs, SliceLimit(firstKey));

    // Everything that can stop the transmission is settled before the
    // first sample goes.
    const CA3000ObjectList& objects = sampler_.ObjectList(true);
    if (objects.Contains(kSampleBankObject, bankName)) {
        clashingName_ = bankName;
        throw XA3000BankNameNotUnique();
    }
    std::vector<std::string> names;
    for (int k = 0; k < count; ++k) {
        names.push_back(SliceName(bankName, k + 1, job.Separate()));
        if (objects.Contains(kSampleObject, names.back())) {
            clashingName_ = names.back();
            throw XA3000SampleNameNotUnique();
        }
    }
    CA3000SampleBank bank = Template(settings.templateName);
    bank.name = bankName;

    SA3000TransmitResult result;
    result.bankName = bankName;
    try {
        for (int k = 0; k < count; ++k) {
            const std::unique_ptr<WAVE_SAMPLE> output = job.GetOutput(k);
            SampleInfo info = SliceSampleInfo(*output, job.OutputRate(), names[static_cast<size_t>(k)]);
            info.rootKey = static_cast<uint8_t>(firstKey + k);
            sampler_.AdaptSampleInfo(info);
            const std::unique_ptr<CABCSampleTransmitter> transmitter = sampler_.CreateMonoTransmitter(0);
            if (!transmitter)
                throw XSamplerException();
            TransmitSample(*transmitter, info, 0, *output, questions_.SampleProgress(count - k));
            result.samples.push_back({job.Separate() ? k + 1 : 0, std::string(info.Name()),
                                      transmitter->GetResultSampleNumber(), info.length, info.rate});
        }
    } catch (...) {
        if (result.samples.empty())
            throw;
        // What arrived still goes into the bank, so that it can be played
        // and found; the failure itself passes on.
        aftermath_ = EA3000Aftermath::SamplesUnassigned;
        try {
            SendBank(bank, firstKey, result.samples);
            aftermath_ = EA3000Aftermath::BankIncomplete;
        } catch (...) {
        }
        throw;
    }
    try {
        SendBank(bank, firstKey, result.samples);
    } catch (...) {
        aftermath_ = EA3000Aftermath::SamplesUnassigned;
        throw;
    }
    return result;
}

CA3000SampleBank CA3000BankTransmission::Template(const std::optional<std::string>& name)
{
    if (!name)
        return {};
    try {
        CA3000SampleBank model = sampler_.GetSampleBank(SamplerName(*name));
        model.members.clear();
        return model;
    } catch (const XBase&) {
        // Asked below.
    }
    if (!questions_.UseDefaults())
        throw XSampleTransmitCancelled();
    return {};
}

void CA3000BankTransmission::SendBank(CA3000SampleBank bank, int firstKey, const std::vector<SA3000SentSample>& samples)
{
    bank.members.clear();
    for (size_t k = 0; k < samples.size(); ++k) {
        const auto key = static_cast<uint8_t>(std::min<int>(firstKey + static_cast<int>(k), kHighestKey));
        bank.members.push_back({samples[k].name, key, key, key, EHalf::Mono});
    }
    sampler_.SendSampleBank(bank);
    if (!sampler_.ObjectList(true).Contains(kSampleBankObject, bank.name))
        throw XA3000TransmittedBankLost();
}

} // namespace quorvel::a3000
