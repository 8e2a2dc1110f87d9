#include "samplers/ensoniq/EnsoniqParameters.h"

#include <algorithm>

#include "samplers/ensoniq/EnsoniqEncoding.h"
#include "samplers/ensoniq/EnsoniqExceptions.h"

namespace quorvel {

using namespace ensoniq;

CEnsoniqParameters::CEnsoniqParameters(const std::vector<SField>& layout) : layout_(layout)
{
    for (const SField& field : layout_)
        values_.insert(values_.end(), field.count, field.initial);
}

const SField& CEnsoniqParameters::Find(std::string_view name, size_t& first) const
{
    first = 0;
    for (const SField& field : layout_) {
        if (field.name == name)
            return field;
        first += field.count;
    }
    throw XEnsoniqInvalidParameter();
}

bool CEnsoniqParameters::Has(std::string_view name) const
{
    return std::any_of(layout_.begin(), layout_.end(), [&](const SField& f) { return f.name == name; });
}

uint32_t CEnsoniqParameters::Get(std::string_view name, uint16_t index) const
{
    size_t first = 0;
    const SField& field = Find(name, first);
    if (index >= field.count)
        throw XEnsoniqInvalidParameter();
    return values_[first + index];
}

void CEnsoniqParameters::Set(std::string_view name, uint32_t value, uint16_t index)
{
    size_t first = 0;
    const SField& field = Find(name, first);
    if (index >= field.count)
        throw XEnsoniqInvalidParameter();
    const uint32_t most = field.bytes == kBytesPer12 ? 0xFFF : 0xFFFFFF;
    values_[first + index] = std::min(value, most);
}

std::string CEnsoniqParameters::Name() const
{
    std::string name;
    for (uint16_t k = 0; k < kNameLength; ++k) {
        const uint32_t c = Get("NAME", k);
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
        Set("NAME", k < name.size() ? static_cast<uint8_t>(name[k]) : ' ', k);
}

size_t CEnsoniqParameters::EncodedLength() const
{
    size_t length = 0;
    for (const SField& field : layout_)
        length += size_t(field.bytes) * field.count;
    return length;
}

std::vector<uint8_t> CEnsoniqParameters::Encode() const
{
    std::vector<uint8_t> bytes(EncodedLength());
    uint8_t* at = bytes.data();
    size_t value = 0;
    for (const SField& field : layout_)
        for (uint16_t k = 0; k < field.count; ++k, at += field.bytes) {
            if (field.bytes == kBytesPer12)
                Encode12(values_[value++], at);
            else
                Encode24(values_[value++], at);
        }
    return bytes;
}

void CEnsoniqParameters::Decode(const std::vector<uint8_t>& bytes)
{
    if (bytes.size() != EncodedLength())
        throw XEnsoniqInvalidSize();
    const uint8_t* at = bytes.data();
    size_t value = 0;
    for (const SField& field : layout_)
        for (uint16_t k = 0; k < field.count; ++k, at += field.bytes)
            values_[value++] = field.bytes == kBytesPer12 ? Decode12(at) : Decode24(at);
}

std::optional<uint32_t> CEnsoniqWaveTable::FirstFreeWave() const
{
    for (uint32_t wave = 0; wave < kWavesPerInstrument; ++wave)
        if (WaveOwner(wave) == 0)
            return wave;
    return std::nullopt;
}

std::vector<uint32_t> CEnsoniqWaveTable::UsedWaves() const
{
    std::vector<uint32_t> used;
    for (uint32_t wave = 0; wave < kWavesPerInstrument; ++wave)
        if (WaveOwner(wave) != 0)
            used.push_back(wave);
    return used;
}

CEnsoniqInstrumentParameters::CEnsoniqInstrumentParameters() : CEnsoniqWaveTable(InstrumentLayout()) {}

CEnsoniqLayerParameters::CEnsoniqLayerParameters() : CEnsoniqLayerParameters(EPSLayerLayout()) {}

CEnsoniqLayerParameters::CEnsoniqLayerParameters(const std::vector<SField>& layout) : CEnsoniqWaveTable(layout)
{
    SetName(kNewLayerName);
}

CEPS16LayerParameters::CEPS16LayerParameters() : CEnsoniqLayerParameters(EPS16LayerLayout()) {}

CASR10LayerParameters::CASR10LayerParameters() : CEPS16LayerParameters(ASR10LayerLayout()) {}

namespace {

uint32_t LoopModeOf(uint32_t loopType)
{
    switch (static_cast<SampleLoopType>(loopType)) {
    case SampleLoopType::Forward:
        return kLoopForward;
    case SampleLoopType::Alternating:
        return kLoopAlternating;
    default:
        return kLoopOff;
    }
}

} // namespace

void CEnsoniqWaveParameters::FromSampleInfo(const SampleInfo& info)
{
    SetName(info.Name());
    const bool keysGiven = info.keyByte2 != 0 || info.keyByte3 != 0;
    Set("KEY_LOW", keysGiven ? info.keyByte2 : 0);
    Set("KEY_HIGH", keysGiven ? info.keyByte3 : 127);
    Set("ROOT_KEY", info.rootKey);
    Set("FINE_TUNE", static_cast<uint32_t>(int32_t(kFineTuneOffset) + info.fineTuning));
    Set("RATE", info.rate);
    Set("LENGTH", info.length);
    Set("PLAY_START", info.playStart);
    Set("PLAY_END", info.playEnd);
    Set("LOOP_MODE", LoopModeOf(info.sustainLoop.type));
    Set("LOOP_START", info.sustainLoop.start);
    Set("LOOP_END", info.sustainLoop.end);
}

SampleInfo CEnsoniqWaveParameters::ToSampleInfo() const
{
    SampleInfo info;
    info.SetName(Name());
    info.channelCount = Channels();
    info.bits = 16;
    info.rate = Get("RATE");
    info.length = Get("LENGTH");
    info.playStart = Get("PLAY_START");
    info.playEnd = Get("PLAY_END");
    const uint32_t mode = Get("LOOP_MODE");
    if (mode == kLoopForward || mode == kLoopAlternating) {
        info.sustainLoop.type = static_cast<uint32_t>(mode == kLoopForward ? SampleLoopType::Forward
                                                                           : SampleLoopType::Alternating);
        info.sustainLoop.start = Get("LOOP_START");
        info.sustainLoop.end = Get("LOOP_END");
    }
    info.rootKey = static_cast<uint8_t>(std::min<uint32_t>(Get("ROOT_KEY"), 127));
    info.keyByte2 = static_cast<uint8_t>(std::min<uint32_t>(Get("KEY_LOW"), 127));
    info.keyByte3 = static_cast<uint8_t>(std::min<uint32_t>(Get("KEY_HIGH"), 127));
    info.fineTuning = static_cast<int16_t>(int32_t(Get("FINE_TUNE")) - int32_t(kFineTuneOffset));
    return info;
}

CEPSWaveParameters::CEPSWaveParameters() : CEnsoniqWaveParameters(EPSWaveLayout()) {}

CEPS16WaveParameters::CEPS16WaveParameters() : CEnsoniqWaveParameters(EPS16WaveLayout()) {}

void CEPS16WaveParameters::FromSampleInfo(const SampleInfo& info)
{
    CEnsoniqWaveParameters::FromSampleInfo(info);
    Set("CHANNELS", info.channelCount == 2 ? 2 : 1);
}

} // namespace quorvel
