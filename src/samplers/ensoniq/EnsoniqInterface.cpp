#include "samplers/ensoniq/EnsoniqInterface.h"

#include <algorithm>
#include <cstring>

#include "samplers/ensoniq/EnsoniqExceptions.h"
#include "samplers/ensoniq/EnsoniqModels.h"
#include "samplers/ensoniq/EnsoniqTransfer.h"

namespace quorvel {

using namespace ensoniq;

namespace {

// Frame offsets travel shifted left 9 in 32 bits.
constexpr uint32_t kLongestWave = 1u << 23;
constexpr int kLowestFineTune = -64;
constexpr int kHighestFineTune = 63;

// Printable characters only, at most 12, no trailing blanks.
std::string WaveName(std::string_view name)
{
    std::string out;
    for (char c : name.substr(0, kNameLength))
        out.push_back(c >= 0x20 && c < 0x7F ? c : '_');
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

} // namespace

CABCEnsoniqInterface::CABCEnsoniqInterface(CSysexMIDIInput& input, CMIDIOutput& output, uint8_t channel)
    : link_(input, output, channel)
{
}

std::unique_ptr<CSamplerLocationList> CABCEnsoniqInterface::GetLocations()
{
    auto list = std::make_unique<CSamplerLocationList>();
    for (uint32_t k = 0; k < kInstruments; ++k)
        list->Add({static_cast<int32_t>(k), "Instrument " + std::to_string(k + 1), 0});
    return list;
}

std::unique_ptr<CEnsoniqInstrumentParameters> CABCEnsoniqInterface::NewInstrumentParameters() const
{
    return std::make_unique<CEnsoniqInstrumentParameters>();
}

bool CABCEnsoniqInterface::ReadInstrument(uint32_t instrument, CEnsoniqInstrumentParameters& block)
{
    try {
        link_.ReadParameters(kGetInstrument, kPutInstrument, {instrument, 0, 1}, block);
        return true;
    } catch (const XEnsoniqInvalidTarget&) {
        return false;
    }
}

void CABCEnsoniqInterface::CreateInstrument(uint32_t instrument) { link_.Command(kCreateInstrument, {instrument, 0, 1}); }

void CABCEnsoniqInterface::WriteInstrument(uint32_t instrument, const CEnsoniqInstrumentParameters& block)
{
    link_.WriteParameters(kPutInstrument, {instrument, 0, 1}, block);
}

void CABCEnsoniqInterface::DeleteInstrument(uint32_t instrument) { link_.Command(kDeleteInstrument, {instrument, 0, 1}); }

void CABCEnsoniqInterface::CreateLayer(uint32_t instrument, uint32_t layer)
{
    link_.Command(kCreateLayer, {instrument, layer, kFirstWave});
}

void CABCEnsoniqInterface::ReadLayer(uint32_t instrument, uint32_t layer, CEnsoniqLayerParameters& block)
{
    link_.ReadParameters(kGetLayer, kPutLayer, {instrument, layer, 1}, block);
}

void CABCEnsoniqInterface::WriteLayer(uint32_t instrument, uint32_t layer, const CEnsoniqLayerParameters& block)
{
    link_.WriteParameters(kPutLayer, {instrument, layer, 1}, block);
}

uint32_t CABCEnsoniqInterface::LayerOf(int32_t sampleNumber)
{
    SampleInfo info;
    GetSampleInfo(info, sampleNumber);
    return FindLayer(link_, InstrumentOf(sampleNumber), WaveOf(sampleNumber));
}

void CABCEnsoniqInterface::GetSampleInfo(SampleInfo& info, int32_t sampleNumber)
{
    if (!IsWaveNumber(sampleNumber))
        throw XSampleDoesNotExist();
    const std::unique_ptr<CEnsoniqWaveParameters> wave = NewWaveParameters();
    try {
        link_.ReadParameters(kGetWave, kPutWave, {InstrumentOf(sampleNumber), 0, WaveOf(sampleNumber)}, *wave);
    } catch (const XEnsoniqInvalidTarget&) {
        throw XSampleDoesNotExist();
    }
    info = wave->ToSampleInfo();
}

std::unique_ptr<CABCSampleReceiver> CABCEnsoniqInterface::CreateReceiver(int32_t sampleNumber)
{
    return std::make_unique<CEnsoniqSampleReceiver>(link_, NewWaveParameters(), sampleNumber);
}

std::unique_ptr<CABCSampleReceiver> CABCEnsoniqInterface::CreateReceiverFor(int32_t sampleNumber, int32_t mode)
{
    if (mode < CEnsoniqSampleReceiver::kLeft || mode > CEnsoniqSampleReceiver::kRight)
        return nullptr;
    return std::make_unique<CEnsoniqSampleReceiver>(link_, NewWaveParameters(), sampleNumber, mode);
}

std::unique_ptr<CABCSampleTransmitter> CABCEnsoniqInterface::NewTransmitter(int32_t instrument, int32_t layer,
                                                                            bool stereo)
{
    if (instrument < 0 || instrument >= static_cast<int32_t>(kInstruments) || layer < 0 ||
        layer >= static_cast<int32_t>(kLayersPerInstrument))
        throw XEnsoniqInvalidTarget();
    return std::make_unique<CEnsoniqSampleTransmitter>(link_, NewLayerParameters(), NewWaveParameters(),
                                                       static_cast<uint32_t>(instrument),
                                                       static_cast<uint32_t>(layer), stereo);
}

std::unique_ptr<CABCSampleTransmitter> CABCEnsoniqInterface::CreateTransmitter(int32_t sampleNumber)
{
    return CreateMonoTransmitter(static_cast<int32_t>(InstrumentOf(std::max(sampleNumber, 0))));
}

std::unique_ptr<CABCSampleTransmitter> CABCEnsoniqInterface::CreateMonoTransmitter(int32_t location)
{
    return NewTransmitter(location, 0, false);
}

void CABCEnsoniqInterface::DeleteSample(int32_t sampleNumber)
{
    const uint32_t layer = LayerOf(sampleNumber);
    link_.Command(kDeleteWave, {InstrumentOf(sampleNumber), layer, WaveOf(sampleNumber)});
}

void CABCEnsoniqInterface::AdaptSampleInfo(SampleInfo& info)
{
    info.SetName(WaveName(info.Name()));
    info.channelCount = HoldsStereo() && info.channelCount == 2 ? 2 : 1;
    info.bits = 16;
    // The sampler plays at 625 kHz divided by a whole period.
    const uint32_t period = info.rate == 0 ? 255 : (kPeriodBase + info.rate / 2) / info.rate;
    info.rate = RateOfPeriod(std::clamp<uint32_t>(period, ShortestPeriod(), 255));
    info.length = std::min(info.length, kLongestWave);
    const uint32_t last = info.length > 0 ? info.length - 1 : 0;
    info.playEnd = std::min(info.playEnd, last);
    info.playStart = std::min(info.playStart, info.playEnd);
    SSampleLoop& loop = info.sustainLoop;
    const auto type = static_cast<SampleLoopType>(loop.type);
    if (type == SampleLoopType::Forward || type == SampleLoopType::Alternating) {
        loop.end = std::min(loop.end, last);
        loop.start = std::min(loop.start, loop.end);
    } else {
        loop = SSampleLoop{};
    }
    info.releaseLoop = SSampleLoop{};
    info.rootKey = std::min<uint8_t>(info.rootKey, 127);
    info.keyByte2 = std::min<uint8_t>(info.keyByte2, 127);
    info.keyByte3 = std::min<uint8_t>(info.keyByte3, 127);
    info.fineTuning = static_cast<int16_t>(std::clamp<int>(info.fineTuning, kLowestFineTune, kHighestFineTune));
}

void CABCEnsoniqInterface::GetCapabilities(SamplerCapabilities& capabilities)
{
    capabilities = SamplerCapabilities{};
    const char* name = ModelTypeId() == kEPSModel     ? "Ensoniq EPS"
                       : ModelTypeId() == kEPS16Model ? "Ensoniq EPS-16+"
                                                      : "Ensoniq ASR-10";
    std::strncpy(capabilities.protocolName, name, SamplerCapabilities::kProtocolNameCapacity - 1);
    capabilities.brandNumber = static_cast<int32_t>(ModelTypeId());
    capabilities.brandCount = static_cast<int32_t>(kInstruments);
    capabilities.features[SamplerCapabilities::kStereoReceiveFlag] = HoldsStereo() ? 1 : 0;
    capabilities.lowestSampleNumber = 0;
    capabilities.highestSampleNumber = SampleNumberOf(kInstruments - 1, kLastWave);
}

void CABCEnsoniqInterface::FillSampleList(int32_t, CSampleList& list, uint32_t)
{
    for (uint32_t instrument = 0; instrument < kInstruments; ++instrument) {
        const std::unique_ptr<CEnsoniqInstrumentParameters> block = NewInstrumentParameters();
        if (!ReadInstrument(instrument, *block))
            continue;
        std::vector<uint32_t> listed;
        for (uint32_t layer = 0; layer < kLayersPerInstrument; ++layer) {
            const std::unique_ptr<CEnsoniqLayerParameters> layerBlock = NewLayerParameters();
            try {
                link_.ReadParameters(kGetLayer, kPutLayer, {instrument, layer, 1}, *layerBlock);
            } catch (const XEnsoniqInvalidTarget&) {
                continue;
            }
            for (const uint32_t wave : layerBlock->MappedWaves()) {
                if (std::find(listed.begin(), listed.end(), wave) != listed.end())
                    continue;
                listed.push_back(wave);
                const std::unique_ptr<CEnsoniqWaveParameters> parameters = NewWaveParameters();
                try {
                    link_.ReadParameters(kGetWave, kPutWave, {instrument, 0, wave}, *parameters);
                } catch (const XEnsoniqInvalidTarget&) {
                    continue; // mapped, but gone
                }
                CSampleSpec entry(parameters->Name(), SampleNumberOf(instrument, wave));
                entry.SetInfo(parameters->ToSampleInfo());
                entry.SetBrandValue(static_cast<int32_t>(layer));
                if (!list.Add(entry))
                    return;
            }
        }
    }
}

CEPSInterface::CEPSInterface(CSysexMIDIInput& input, CMIDIOutput& output, uint8_t channel)
    : CABCEnsoniqInterface(input, output, channel)
{
}
uint32_t CEPSInterface::ModelTypeId() const { return kEPSModel; }
std::unique_ptr<CEnsoniqWaveParameters> CEPSInterface::NewWaveParameters() const
{
    return std::make_unique<CEPSWaveParameters>();
}
std::unique_ptr<CEnsoniqLayerParameters> CEPSInterface::NewLayerParameters() const
{
    return std::make_unique<CEnsoniqLayerParameters>();
}
// 52 kHz.
uint8_t CEPSInterface::ShortestPeriod() const { return 12; }

CEPS16Interface::CEPS16Interface(CSysexMIDIInput& input, CMIDIOutput& output, uint8_t channel)
    : CABCEnsoniqInterface(input, output, channel)
{
}
uint32_t CEPS16Interface::ModelTypeId() const { return kEPS16Model; }
std::unique_ptr<CEnsoniqWaveParameters> CEPS16Interface::NewWaveParameters() const
{
    return std::make_unique<CEPS16WaveParameters>();
}
std::unique_ptr<CEnsoniqLayerParameters> CEPS16Interface::NewLayerParameters() const
{
    return std::make_unique<CEPS16LayerParameters>();
}
// 44.6 kHz.
uint8_t CEPS16Interface::ShortestPeriod() const { return 14; }

CASR10Interface::CASR10Interface(CSysexMIDIInput& input, CMIDIOutput& output, uint8_t channel)
    : CEPS16Interface(input, output, channel)
{
}
uint32_t CASR10Interface::ModelTypeId() const { return kASR10Model; }
std::unique_ptr<CEnsoniqLayerParameters> CASR10Interface::NewLayerParameters() const
{
    return std::make_unique<CASR10LayerParameters>();
}
std::unique_ptr<CABCSampleTransmitter> CASR10Interface::CreateTransmitterFor(int32_t location, int32_t mode)
{
    return NewTransmitter(location, mode, true);
}

} // namespace quorvel
