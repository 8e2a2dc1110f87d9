#include "samplers/roland/S760PatchTransmission.h"

#include <algorithm>
#include <cstdio>

#include "analysis/SliceSet.h"
#include "samplers/SampleTransfer.h"
#include "samplers/SliceSamples.h"

namespace quorvel::s760 {

namespace {

constexpr size_t kSliceDigits = 2;
// A key maps a partial by a byte whose highest value means none.
constexpr int32_t kMappablePartials = kNoPartial;

std::string Padded(const std::string& name)
{
    const std::array<char, kNameLength> padded = PaddedName(name);
    return std::string(padded.data(), padded.size());
}

bool Contains(const std::vector<uint16_t>& numbers, uint16_t number)
{
    return std::find(numbers.begin(), numbers.end(), number) != numbers.end();
}

// Free numbers of `category` below `count`, counting those about to be freed.
std::vector<uint16_t> FreeNumbers(const CS760FileList& list, uint8_t category, int32_t count,
                                  const std::vector<uint16_t>& leaving)
{
    std::vector<uint16_t> free;
    for (int32_t n = 0; n < count; ++n) {
        const auto number = static_cast<uint16_t>(n);
        if (!list.Uses(category, number) || Contains(leaving, number))
            free.push_back(number);
    }
    return free;
}

// A block whose name is the sampler's unused mark.
std::vector<uint8_t> UnusedBlock(size_t size)
{
    std::vector<uint8_t> wire(2 * size, 0);
    for (size_t i = 0; i < kNameLength; ++i) {
        wire[2 * i] = kStereoMark >> 4;
        wire[2 * i + 1] = kStereoMark & 0x0F;
    }
    return wire;
}

} // namespace

std::string SliceName(const std::string& patchName, int slice, bool separate)
{
    std::string patch = DisplayName(patchName);
    if (!separate)
        return patch;
    std::string stem = patch.substr(0, std::min(patch.size(), kNameLength - kSliceDigits - 1));
    while (!stem.empty() && stem.back() == ' ')
        stem.pop_back();
    char digits[8];
    std::snprintf(digits, sizeof digits, "%02d", slice % 100);
    return stem + " " + digits;
}

CS760PatchTransmission::CS760PatchTransmission(CABCS760Interface& sampler, CABCS760TransmitQuestions& questions)
    : sampler_(sampler), questions_(questions)
{
}

CS760PatchBlock CS760PatchTransmission::ReadPatch(int32_t number)
{
    std::array<uint8_t, 2 * kPatchBlockSize> wire{};
    sampler_.Com().HandshakeRead(PatchAddress(number), wire, kReplyTimeoutMs);
    return CS760PatchBlock::FromWire(wire);
}

CS760PartialBlock CS760PatchTransmission::ReadPartial(int32_t number)
{
    std::array<uint8_t, 2 * kPartialBlockSize> wire{};
    sampler_.Com().HandshakeRead(PartialAddress(number), wire, kReplyTimeoutMs);
    return CS760PartialBlock::FromWire(wire);
}

SS760TransmitResult CS760PatchTransmission::Run(const CExportJob& job, const SS760TransmitSettings& settings)
{
    aftermath_ = ES760Aftermath::Nothing;
    clashingName_.clear();
    shortfall_ = 0;
    templateName_ = settings.templateName;
    const std::string patchName = DisplayName(settings.patchName);
    if (patchName.empty())
        throw XS760PatchNameMissing();
    const int outputs = job.OutputCount();
    if (outputs < 1)
        return {};
    const int count = questions_.ConfirmSliceCount(outputs, kMostSlices);

    // Everything that can stop the transmission is settled before the
    // first sample goes.
    const CS760FileList patches = sampler_.ReadFileList(kPatchCategory);
    const CS760FileList partials = sampler_.ReadFileList(kPartialCategory);
    const CS760FileList& samples = sampler_.ReadFileList(kSampleCategory);
    std::vector<uint16_t> leavingPartials, leavingSamples;
    std::optional<uint16_t> patchNumber;
    if (const SS760FileEntry* old = patches.Named(kPatchCategory, Padded(patchName))) {
        if (!questions_.ReplacePatch(patchName))
            throw XSampleTransmitCancelled();
        patchNumber = old->number;
        const CS760PatchBlock block = ReadPatch(old->number);
        for (int key = kLowestKey; key < kLowestKey + kKeyCount; ++key)
            if (const std::optional<uint8_t> partial = block.PartialOfKey(key);
                partial && partials.Uses(kPartialCategory, *partial) && !Contains(leavingPartials, *partial))
                leavingPartials.push_back(*partial);
        for (const uint16_t partial : leavingPartials)
            if (const std::optional<uint16_t> sample = ReadPartial(partial).Sample();
                sample && samples.Uses(kSampleCategory, *sample) && !Contains(leavingSamples, *sample))
                leavingSamples.push_back(*sample);
    } else {
        patchNumber = patches.FirstFree(kPatchCategory, kPatchCount);
        if (!patchNumber)
            throw XS760NoFreePatch();
    }
    std::vector<std::string> names;
    for (int k = 0; k < count; ++k)
        names.push_back(SliceName(patchName, k + 1, job.Separate()));
    for (const std::string& name : names) {
        const SS760FileEntry* partial = partials.Named(kPartialCategory, Padded(name));
        if (partial && !Contains(leavingPartials, partial->number)) {
            clashingName_ = name;
            throw XS760PartialNameTaken();
        }
        const SS760FileEntry* sample = samples.Named(kSampleCategory, Padded(name));
        if (sample && !Contains(leavingSamples, sample->number)) {
            clashingName_ = name;
            throw XS760SampleNameAlreadyExists();
        }
    }
    const std::vector<uint16_t> freePartials = FreeNumbers(partials, kPartialCategory, kMappablePartials, leavingPartials);
    if (static_cast<int>(freePartials.size()) < count) {
        shortfall_ = count - static_cast<int>(freePartials.size());
        throw XS760NotEnoughPartials();
    }
    const int freeSamples = static_cast<int>(FreeNumbers(samples, kSampleCategory, kSampleCount, leavingSamples).size());
    if (freeSamples < count) {
        shortfall_ = count - freeSamples;
        throw XS760NotEnoughSamples();
    }
    const STemplate model = RetrieveTemplate(patches, partials);
    if (!leavingPartials.empty() || !leavingSamples.empty() || patches.Uses(kPatchCategory, *patchNumber))
        DeletePatch(*patchNumber, leavingPartials, leavingSamples);

    SS760TransmitResult result;
    result.patchName = patchName;
    questions_.Stage(ES760TransmitStage::SendingSamples);
    try {
        for (int k = 0; k < count; ++k) {
            const std::unique_ptr<WAVE_SAMPLE> output = job.GetOutput(k);
            SampleInfo info = SliceSampleInfo(*output, job.OutputRate(), names[static_cast<size_t>(k)]);
            sampler_.AdaptSampleInfo(info);
            const std::unique_ptr<CABCSampleTransmitter> transmitter = sampler_.CreateMonoTransmitter(0);
            TransmitSample(*transmitter, info, 0, *output, questions_.SampleProgress(count - k));
            result.samples.push_back({job.Separate() ? k + 1 : 0, std::string(info.Name()),
                                      transmitter->GetResultSampleNumber(), -1, info.length, info.rate});
        }
    } catch (...) {
        if (result.samples.empty())
            throw;
        // What arrived still becomes a patch, so that it can be played and
        // found; the failure itself passes on.
        aftermath_ = ES760Aftermath::PatchIncomplete;
        try {
            CreatePatch(*patchNumber, patchName, model, result.samples, freePartials);
        } catch (...) {
        }
        throw;
    }
    try {
        result.patchNumber = CreatePatch(*patchNumber, patchName, model, result.samples, freePartials);
    } catch (...) {
        aftermath_ = ES760Aftermath::PatchIncomplete;
        throw;
    }
    return result;
}

CS760PatchTransmission::STemplate CS760PatchTransmission::RetrieveTemplate(const CS760FileList& patches,
                                                                           const CS760FileList& partials)
{
    if (!templateName_)
        return {};
    questions_.Stage(ES760TransmitStage::RetrievingTemplate);
    STemplate model;
    bool retrieved = false;
    try {
        if (const SS760FileEntry* entry = patches.Named(kPatchCategory, Padded(*templateName_))) {
            model.patch = ReadPatch(entry->number);
            retrieved = true;
            std::optional<uint8_t> first;
            for (int key = kLowestKey; key < kLowestKey + kKeyCount && !first; ++key)
                first = model.patch.PartialOfKey(key);
            if (first && partials.Uses(kPartialCategory, *first))
                model.partial = ReadPartial(*first);
            else if (first)
                questions_.TemplateIncomplete();
        }
    } catch (const XSampleTransmitCancelled&) {
        throw;
    } catch (const XBase&) {
        retrieved = false;
    }
    if (!retrieved) {
        if (!questions_.UseDefaults())
            throw XSampleTransmitCancelled();
        return {};
    }
    return model;
}

void CS760PatchTransmission::DeletePatch(uint16_t number, const std::vector<uint16_t>& partials,
                                         const std::vector<uint16_t>& samples)
{
    questions_.Stage(ES760TransmitStage::DeletingPatch);
    roland::CRolandCom& com = sampler_.Com();
    com.HandshakeWrite(PatchAddress(number), UnusedBlock(kPatchBlockSize), kReplyTimeoutMs);
    for (const uint16_t partial : partials)
        com.HandshakeWrite(PartialAddress(partial), UnusedBlock(kPartialBlockSize), kReplyTimeoutMs);
    for (const uint16_t sample : samples)
        sampler_.DeleteSample(sample);
}

int32_t CS760PatchTransmission::CreatePatch(uint16_t number, const std::string& name, const STemplate& model,
                                            std::vector<SS760SentSample>& samples, std::vector<uint16_t> freePartials)
{
    questions_.Stage(ES760TransmitStage::CreatingPatch);
    roland::CRolandCom& com = sampler_.Com();
    CS760PatchBlock patch = model.patch;
    patch.SetName(name);
    patch.ClearKeys();
    for (size_t k = 0; k < samples.size() && k < freePartials.size(); ++k) {
        CS760PartialBlock partial = model.partial;
        partial.SetName(samples[k].name);
        partial.SetSample(static_cast<uint16_t>(samples[k].number));
        com.HandshakeWrite(PartialAddress(freePartials[k]), partial.ToWire(), kReplyTimeoutMs);
        samples[k].partial = freePartials[k];
        patch.SetPartialOfKey(kFirstSliceKey + static_cast<int>(k), static_cast<uint8_t>(freePartials[k]));
    }
    com.HandshakeWrite(PatchAddress(number), patch.ToWire(), kReplyTimeoutMs);
    return number;
}

} // namespace quorvel::s760
