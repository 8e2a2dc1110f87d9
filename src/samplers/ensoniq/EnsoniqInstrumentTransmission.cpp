#include "samplers/ensoniq/EnsoniqInstrumentTransmission.h"

#include <algorithm>
#include <cstdio>

#include "analysis/SliceSet.h"
#include "samplers/SampleTransfer.h"
#include "samplers/SliceSamples.h"

namespace quorvel::ensoniq {

namespace {

constexpr int kHighestKey = 127;
constexpr size_t kSliceDigits = 2;

std::string Trimmed(std::string text)
{
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    const size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first);
}

} // namespace

int SliceLimit() { return std::min<int>(kLastWave, kHighestKey + 1 - kFirstKey); }

std::string InstrumentName(std::string_view name)
{
    std::string out;
    for (char c : Trimmed(std::string(name)))
        out.push_back(c >= 0x20 && c < 0x7F ? c : '_');
    return Trimmed(out.substr(0, kNameLength));
}

std::string SliceName(const std::string& instrumentName, int slice, bool separate)
{
    const std::string name = InstrumentName(instrumentName);
    if (!separate)
        return name;
    const std::string stem = Trimmed(name.substr(0, kNameLength - kSliceDigits - 1));
    char digits[8];
    std::snprintf(digits, sizeof digits, "%02d", slice % 100);
    return InstrumentName(stem + " " + digits);
}

CEnsoniqInstrumentTransmission::CEnsoniqInstrumentTransmission(CABCEnsoniqInterface& sampler,
                                                               CABCEnsoniqTransmitQuestions& questions)
    : sampler_(sampler), questions_(questions)
{
}

SEnsoniqTransmitResult CEnsoniqInstrumentTransmission::Run(const CExportJob& job,
                                                           const SEnsoniqTransmitSettings& settings)
{
    const std::string name = InstrumentName(settings.instrumentName);
    if (name.empty())
        throw XEnsoniqInstrumentNameMissing();
    if (settings.instrument >= kInstruments)
        throw XEnsoniqInvalidTarget();
    const int outputs = job.OutputCount();
    if (outputs < 1)
        return {};
    const int count = questions_.ConfirmSliceCount(outputs, SliceLimit());

    const std::unique_ptr<CEnsoniqInstrumentParameters> resident = sampler_.NewInstrumentParameters();
    if (sampler_.ReadInstrument(settings.instrument, *resident)) {
        if (!questions_.ReplaceInstrument(resident->Name()))
            throw XSampleTransmitCancelled();
        questions_.Stage(EEnsoniqTransmitStage::DeletingInstrument);
        sampler_.DeleteInstrument(settings.instrument);
    }
    MakeInstrument(settings.instrument, name);

    SEnsoniqTransmitResult result;
    result.instrumentName = name;
    result.instrument = settings.instrument;
    questions_.Stage(EEnsoniqTransmitStage::SendingSamples);
    for (int k = 0; k < count; ++k) {
        const std::unique_ptr<WAVE_SAMPLE> output = job.GetOutput(k);
        SampleInfo info = SliceSampleInfo(*output, job.OutputRate(), SliceName(name, k + 1, job.Separate()));
        const auto key = static_cast<uint8_t>(kFirstKey + k);
        info.rootKey = key;
        info.keyByte2 = key;
        info.keyByte3 = key;
        sampler_.AdaptSampleInfo(info);
        const std::unique_ptr<CABCSampleTransmitter> transmitter =
            sampler_.CreateMonoTransmitter(static_cast<int32_t>(settings.instrument));
        TransmitSample(*transmitter, info, 0, *output, questions_.SampleProgress(count - k));
        result.samples.push_back({job.Separate() ? k + 1 : 0, std::string(info.Name()),
                                  transmitter->GetResultSampleNumber(), info.length, info.rate});
    }
    return result;
}

void CEnsoniqInstrumentTransmission::MakeInstrument(uint32_t instrument, const std::string& name)
{
    questions_.Stage(EEnsoniqTransmitStage::CreatingInstrument);
    try {
        sampler_.CreateInstrument(instrument);
        sampler_.CreateLayer(instrument, 0);
        // Renamed in the block the sampler made, so that its own settings stay.
        const std::unique_ptr<CEnsoniqInstrumentParameters> block = sampler_.NewInstrumentParameters();
        sampler_.ReadInstrument(instrument, *block);
        block->SetName(name);
        sampler_.WriteInstrument(instrument, *block);
        // The layer's first wave plays no key until the first slice takes it over.
        const std::unique_ptr<CEnsoniqLayerParameters> layer = sampler_.NewLayerParameters();
        sampler_.ReadLayer(instrument, 0, *layer);
        for (int key = 0; key < 128; ++key)
            layer->SetWaveAtKey(key, 0);
        sampler_.WriteLayer(instrument, 0, *layer);
    } catch (const XEnsoniqException&) {
        throw XEnsoniqInstrumentNotCreated();
    }
}

} // namespace quorvel::ensoniq
