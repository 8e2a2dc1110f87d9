#include "samplers/ensoniq/EnsoniqParameters.h"

#include <algorithm>

#include "samplers/ensoniq/EnsoniqEncoding.h"
#include "samplers/ensoniq/EnsoniqExceptions.h"

namespace quorvel {

using namespace ensoniq;

void CEnsoniqParameters::SetHigh(uint16_t offset, uint8_t value)
{
    SetWord(offset, static_cast<uint16_t>((value << 8) | (Word(offset) & 0xFF)));
}

uint32_t CEnsoniqParameters::Long(uint16_t offset) const
{
    uint32_t value = 0;
    for (uint16_t k = 0; k < 4; ++k)
        value = (value << 8) | High(static_cast<uint16_t>(offset + k));
    return value;
}

void CEnsoniqParameters::SetLong(uint16_t offset, uint32_t value)
{
    for (uint16_t k = 0; k < 4; ++k)
        SetHigh(static_cast<uint16_t>(offset + k), static_cast<uint8_t>(value >> (24 - 8 * k)));
}

std::string CEnsoniqParameters::Name() const
{
    std::string name;
    for (uint16_t k = 0; k < kNameLength; ++k) {
        const uint8_t c = High(k);
        if (c == 0)
            break;
        name.push_back(c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?');
    }
    while (!name.empty() && name.back() == ' ')
        name.pop_back();
    return name;
}

void CEnsoniqParameters::SetName(std::string_view name)
{
    for (uint16_t k = 0; k < kNameLength; ++k)
        SetHigh(k, k < name.size() ? static_cast<uint8_t>(name[k]) : ' ');
}

std::vector<uint8_t> CEnsoniqParameters::Encode() const
{
    std::vector<uint8_t> bytes(EncodedLength());
    for (size_t k = 0; k < words_.size(); ++k)
        EncodeWord(static_cast<int16_t>(words_[k]), bytes.data() + 3 * k);
    return bytes;
}

void CEnsoniqParameters::Decode(const std::vector<uint8_t>& bytes)
{
    if (bytes.size() != EncodedLength())
        throw XEnsoniqInvalidSize();
    for (size_t k = 0; k < words_.size(); ++k)
        words_[k] = static_cast<uint16_t>(DecodeWord(bytes.data() + 3 * k));
}

CEnsoniqInstrumentParameters::CEnsoniqInstrumentParameters() : CEnsoniqParameters(instrument::kWords)
{
    SetName("");
    SetWord(instrument::kIdField, 0xFFFF);
    SetHigh(instrument::kKeyLow, 0);
    SetHigh(instrument::kKeyHigh, 127);
    SetHigh(instrument::kKeyDownLayers, 1);
}

CEnsoniqLayerParameters::CEnsoniqLayerParameters() : CEnsoniqParameters(layer::kWords)
{
    SetName(kNewLayerName);
    SetHigh(layer::kVelocityLow, 0);
    SetHigh(layer::kVelocityHigh, 127);
}

uint8_t CEnsoniqLayerParameters::WaveAtKey(int key) const
{
    if (key < layer::kFirstMapKey || key >= layer::kFirstMapKey + layer::kMapKeys)
        return 0;
    return High(static_cast<uint16_t>(layer::kMap + key - layer::kFirstMapKey));
}

void CEnsoniqLayerParameters::SetWaveAtKey(int key, uint8_t wave)
{
    if (key >= layer::kFirstMapKey && key < layer::kFirstMapKey + layer::kMapKeys)
        SetHigh(static_cast<uint16_t>(layer::kMap + key - layer::kFirstMapKey), wave);
}

std::vector<uint32_t> CEnsoniqLayerParameters::MappedWaves() const
{
    std::vector<uint32_t> waves;
    for (uint16_t k = 0; k < layer::kMapKeys; ++k)
        if (const uint8_t wave = High(static_cast<uint16_t>(layer::kMap + k)); wave >= kFirstWave && wave <= kLastWave)
            waves.push_back(wave);
    std::sort(waves.begin(), waves.end());
    waves.erase(std::unique(waves.begin(), waves.end()), waves.end());
    return waves;
}

std::optional<uint32_t> CEnsoniqLayerParameters::FirstFreeWave() const
{
    const std::vector<uint32_t> used = MappedWaves();
    for (uint32_t wave = kFirstWave; wave <= kLastWave; ++wave)
        if (!std::binary_search(used.begin(), used.end(), wave))
            return wave;
    return std::nullopt;
}

void CASR10LayerParameters::SetStereo(bool stereo)
{
    SetWord(layer::kStereoWord, static_cast<uint16_t>((Word(layer::kStereoWord) & 0xFF00) | (stereo ? 1 : 0)));
}

CEnsoniqWaveParameters::CEnsoniqWaveParameters() : CEnsoniqParameters(wave::kWords)
{
    SetName("");
    SetHigh(wave::kRootKey, 60);
    SetHigh(wave::kVolume, 127);
    SetHigh(wave::kRate, 14);
    SetHigh(wave::kKeyLow, 0);
    SetHigh(wave::kKeyHigh, 127);
}

namespace {

uint32_t Offset(uint32_t frame) { return frame << wave::kOffsetShift; }
uint32_t Frame(uint32_t offset) { return offset >> wave::kOffsetShift; }

} // namespace

void CEnsoniqWaveParameters::FromSampleInfo(const SampleInfo& info)
{
    SetName(info.Name());
    const bool keysGiven = info.keyByte2 != 0 || info.keyByte3 != 0;
    SetHigh(wave::kKeyLow, keysGiven ? info.keyByte2 : 0);
    SetHigh(wave::kKeyHigh, keysGiven ? info.keyByte3 : 127);
    SetHigh(wave::kRootKey, info.rootKey);
    SetHigh(wave::kFineTune, static_cast<uint8_t>(static_cast<int8_t>(info.fineTuning)));
    const uint32_t code = info.rate == 0 ? 0 : (kPeriodBase + info.rate / 2) / info.rate;
    SetHigh(wave::kRate, static_cast<uint8_t>(std::clamp<uint32_t>(code, 1, 255)));
    // The data starts at offset 0; the end is the last frame played.
    SetLong(wave::kSampleStart, Offset(info.playStart));
    SetLong(wave::kSampleEnd, Offset(info.length > 0 ? info.length - 1 : 0));
    const auto type = static_cast<SampleLoopType>(info.sustainLoop.type);
    const bool looped = type == SampleLoopType::Forward || type == SampleLoopType::Alternating;
    SetHigh(wave::kLoopMode, !looped ? kForwardNoLoop
                                     : type == SampleLoopType::Forward ? kLoopForward : kLoopBidirectional);
    SetLong(wave::kLoopStart, Offset(looped ? info.sustainLoop.start : 0));
    SetLong(wave::kLoopEnd, Offset(looped ? info.sustainLoop.end : 0));
}

SampleInfo CEnsoniqWaveParameters::ToSampleInfo() const
{
    SampleInfo info;
    info.SetName(Name());
    info.channelCount = Channels();
    info.bits = 16;
    info.rate = RateOfPeriod(High(wave::kRate));
    info.length = Frame(Long(wave::kSampleEnd)) + 1;
    info.playStart = Frame(Long(wave::kSampleStart));
    info.playEnd = info.length - 1;
    const uint8_t mode = High(wave::kLoopMode);
    if (mode == kLoopForward || mode == kLoopBidirectional || mode == kLoopAndRelease) {
        info.sustainLoop.type = static_cast<uint32_t>(mode == kLoopBidirectional ? SampleLoopType::Alternating
                                                                                 : SampleLoopType::Forward);
        info.sustainLoop.start = Frame(Long(wave::kLoopStart));
        info.sustainLoop.end = Frame(Long(wave::kLoopEnd));
    }
    info.rootKey = std::min<uint8_t>(High(wave::kRootKey), 127);
    info.keyByte2 = std::min<uint8_t>(High(wave::kKeyLow), 127);
    info.keyByte3 = std::min<uint8_t>(High(wave::kKeyHigh), 127);
    info.fineTuning = static_cast<int8_t>(High(wave::kFineTune));
    return info;
}

void CEPS16WaveParameters::FromSampleInfo(const SampleInfo& info)
{
    CEnsoniqWaveParameters::FromSampleInfo(info);
    SetHigh(wave::kChannels, info.channelCount == 2 ? 2 : 1);
}

} // namespace quorvel
