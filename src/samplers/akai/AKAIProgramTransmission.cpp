#include "samplers/akai/AKAIProgramTransmission.h"

#include <algorithm>
#include <cstdio>

#include "analysis/SliceSet.h"
#include "samplers/SampleTransfer.h"
#include "samplers/SliceSamples.h"
#include "samplers/akai/AKAICharacters.h"
#include "samplers/akai/AKAIProgramDefaults.h"

namespace quorvel::akai {

namespace {

constexpr int kHighestKey = 127;
constexpr size_t kSliceDigits = 2;

int32_t IndexOf(const std::vector<std::string>& names, const std::string& name)
{
    const auto found = std::find(names.begin(), names.end(), name);
    return found == names.end() ? -1 : static_cast<int32_t>(found - names.begin());
}

bool Contains(const std::vector<std::string>& names, const std::string& name) { return IndexOf(names, name) >= 0; }

} // namespace

int SliceLimit(int firstKey) { return std::min(kMostKeyGroups, kHighestKey + 1 - firstKey); }

std::string SliceName(const std::string& programName, int slice, bool separate)
{
    const std::string program = AKAIName(programName);
    if (!separate)
        return program;
    std::string stem = program.substr(0, kNameLength - kSliceDigits - 1);
    while (!stem.empty() && stem.back() == ' ')
        stem.pop_back();
    char digits[8];
    std::snprintf(digits, sizeof digits, "%02d", slice % 100);
    return AKAIName(stem + " " + digits);
}

CAKAIProgramTransmission::CAKAIProgramTransmission(CABCAKAIInterface& sampler, CABCAKAITransmitQuestions& questions)
    : sampler_(sampler), questions_(questions)
{
}

SAKAITransmitResult CAKAIProgramTransmission::Run(const CExportJob& job, const SAKAITransmitSettings& settings)
{
    aftermath_ = EAKAIAftermath::Nothing;
    clashingName_.clear();
    const std::string programName = AKAIName(settings.programName);
    if (programName.empty())
        throw XAKAIProgramNameMissing();
    if (settings.firstKey < 0 || settings.firstKey > kHighestKey)
        throw XAKAIFirstKeyOutOfRange();
    const int outputs = job.OutputCount();
    if (outputs < 1)
        return {};
    const int count = questions_.ConfirmSliceCount(outputs, SliceLimit(settings.firstKey));

    // Everything that can stop the transmission is settled before the
    // first sample goes.
    std::vector<std::string> leaving;
    const bool replacing = Contains(sampler_.ProgramNames(), programName);
    if (replacing) {
        if (!questions_.ReplaceProgram(programName))
            throw XSampleTransmitCancelled();
        const int32_t old = IndexOf(sampler_.ProgramNames(), programName);
        const std::unique_ptr<CAKAIProgram> program = sampler_.GetProgram(static_cast<uint16_t>(old));
        for (const auto& group : program->KeyGroups())
            for (int32_t zone = 0; zone < kVelocityZones; ++zone)
                if (const std::string sample = group->ZoneSample(zone); !sample.empty())
                    leaving.push_back(sample);
    }
    std::vector<std::string> names;
    for (int k = 0; k < count; ++k)
        names.push_back(SliceName(programName, k + 1, job.Separate()));
    CheckNamesFree(names, leaving);
    const STemplate model = RetrieveTemplate(settings.templateName);
    if (replacing)
        DeleteProgramAndSamples(programName);

    SAKAITransmitResult result;
    result.programName = programName;
    questions_.Stage(EAKAITransmitStage::SendingSamples);
    try {
        for (int k = 0; k < count; ++k) {
            const std::unique_ptr<WAVE_SAMPLE> output = job.GetOutput(k);
            SampleInfo info = SliceSampleInfo(*output, job.OutputRate(), names[static_cast<size_t>(k)]);
            sampler_.AdaptSampleInfo(info);
            const std::unique_ptr<CABCSampleTransmitter> transmitter = sampler_.CreateTransmitter(0);
            if (!transmitter)
                throw XSamplerException();
            TransmitSample(*transmitter, info, 0, *output, questions_.SampleProgress(count - k));
            result.samples.push_back({job.Separate() ? k + 1 : 0, std::string(info.Name()),
                                      transmitter->GetResultSampleNumber(), info.length, info.rate});
        }
    } catch (...) {
        if (result.samples.empty())
            throw;
        // What arrived still becomes a program, so that it can be played and
        // found; the failure itself passes on.
        aftermath_ = EAKAIAftermath::SamplesUnassigned;
        try {
            CreateProgram(programName, settings.firstKey, model, result.samples);
            aftermath_ = EAKAIAftermath::ProgramIncomplete;
        } catch (...) {
        }
        throw;
    }
    try {
        result.programNumber = CreateProgram(programName, settings.firstKey, model, result.samples);
    } catch (...) {
        aftermath_ = EAKAIAftermath::SamplesUnassigned;
        throw;
    }
    result.keyGroups = static_cast<int>(result.samples.size());
    return result;
}

CAKAIProgramTransmission::STemplate CAKAIProgramTransmission::RetrieveTemplate(const std::optional<std::string>& name)
{
    const EGeneration generation = sampler_.Generation();
    STemplate model{DefaultProgramHeader(generation), DefaultKeyGroup(generation)};
    if (!name)
        return model;
    questions_.Stage(EAKAITransmitStage::RetrievingTemplate);
    bool retrieved = false;
    try {
        const int32_t number = IndexOf(sampler_.ProgramNames(), AKAIName(*name));
        if (number >= 0) {
            std::unique_ptr<CAKAIProgram> program = sampler_.GetProgram(static_cast<uint16_t>(number));
            if (!program->KeyGroups().empty()) {
                *model.header = program->Header();
                *model.keyGroup = *program->KeyGroups().front();
                retrieved = true;
            }
        }
    } catch (const XSampleTransmitCancelled&) {
        throw;
    } catch (const XBase&) {
        // Asked below, as a missing template is.
    }
    if (!retrieved) {
        if (!questions_.UseDefaults())
            throw XSampleTransmitCancelled();
        model = STemplate{DefaultProgramHeader(generation), DefaultKeyGroup(generation)};
    }
    return model;
}

void CAKAIProgramTransmission::DeleteProgramAndSamples(const std::string& name)
{
    questions_.Stage(EAKAITransmitStage::DeletingProgram);
    const int32_t number = IndexOf(sampler_.ProgramNames(), name);
    if (number < 0)
        return;
    const std::unique_ptr<CAKAIProgram> program = sampler_.GetProgram(static_cast<uint16_t>(number));
    sampler_.DeleteProgram(static_cast<uint16_t>(number));
    // A delete moves the later samples down: the highest number goes first.
    const std::vector<std::string> samples = sampler_.SampleNames();
    std::vector<int32_t> doomed;
    for (const auto& group : program->KeyGroups())
        for (int32_t zone = 0; zone < kVelocityZones; ++zone)
            if (const int32_t index = IndexOf(samples, group->ZoneSample(zone)); index >= 0)
                doomed.push_back(index);
    std::sort(doomed.begin(), doomed.end(), std::greater<>());
    doomed.erase(std::unique(doomed.begin(), doomed.end()), doomed.end());
    for (const int32_t index : doomed)
        sampler_.DeleteSample(index);
}

void CAKAIProgramTransmission::CheckNamesFree(const std::vector<std::string>& names,
                                              const std::vector<std::string>& leaving)
{
    const std::vector<std::string> resident = sampler_.SampleNames();
    for (const std::string& name : names)
        if (Contains(resident, name) && !Contains(leaving, name)) {
            clashingName_ = name;
            throw XAKAINameIsNotUnique();
        }
}

int32_t CAKAIProgramTransmission::CreateProgram(const std::string& name, int firstKey, const STemplate& model,
                                                const std::vector<SAKAISentSample>& samples)
{
    questions_.Stage(EAKAITransmitStage::CreatingProgram);
    const EGeneration generation = sampler_.Generation();
    CABCAKAICom& com = sampler_.Com();
    // A number past the last makes a new program.
    const auto number = static_cast<uint16_t>(sampler_.ProgramNames().size());
    std::unique_ptr<CABCAKAIProgramHeader> header = MakeProgramHeader(generation);
    *header = *model.header;
    header->SetName(name);
    header->SetKeyGroupCount(static_cast<uint8_t>(samples.size()));
    header->SetNumber(number);
    com.Command(header->ToMessage(com.Channel()));
    for (size_t k = 0; k < samples.size(); ++k) {
        std::unique_ptr<CABCAKAIKeyGroup> group = MakeKeyGroup(generation);
        *group = *model.keyGroup;
        const auto key = static_cast<uint8_t>(firstKey + static_cast<int>(k));
        group->SetKeySpan(key, key);
        group->SetZoneSample(0, samples[k].name);
        for (int32_t zone = 1; zone < kVelocityZones; ++zone)
            group->SetZoneSample(zone, "");
        group->SetNumber(number);
        group->SetKeyGroupNumber(static_cast<uint8_t>(k));
        com.Command(group->ToMessage(com.Channel()));
    }
    const int32_t made = IndexOf(sampler_.ProgramNames(), name);
    if (made < 0)
        throw XAKAITransmittedProgramLost();
    return made;
}

} // namespace quorvel::akai
