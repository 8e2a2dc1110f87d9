// The instrument editing requests of the emulated Ensoniq sampler: creating
// and deleting instruments, layers and wavesamples.
#include <algorithm>

#include "devices/emulated/EnsoniqCodes.h"
#include "devices/emulated/EnsoniqEmulator.h"

namespace quorvel {

using namespace ensoniq;

uint16_t CEnsoniqEmulator::CreateInstrument(const SAddress& request)
{
    if (request.instrument >= kEnsoniqSlots)
        return kInvalidInstrument;
    EnsoniqInstruments all = memory_.Instruments();
    if (all[request.instrument])
        return kInstrumentInUse;
    if (outOfMemory_)
        return kMemoryFull;
    SEnsoniqInstrument instrument;
    instrument.block.assign(kEnsoniqInstrumentWords, 0);
    PutName(instrument.block, "UNTITLED");
    instrument.block[kInstrumentIdentity] = model_.instrumentIdentity;
    instrument.block[kInstrumentHighKey] = static_cast<uint16_t>((kKeys - 1) << 8);
    all[request.instrument] = std::move(instrument);
    return Keep(all);
}

namespace {

// A new wavesample: a single cycle of a square wave over `keys`.
SEnsoniqWave NewWave(uint8_t layer, uint32_t words, size_t lowKey, size_t highKey)
{
    SEnsoniqWave wave;
    wave.layer = layer;
    wave.data.resize(words);
    for (uint32_t i = 0; i < words; ++i)
        wave.data[i] = i < words / 2 ? 0x4000 : 0xC000;
    wave.block.assign(kEnsoniqWaveWords, 0);
    PutName(wave.block, "WAVESAMPLE");
    wave.block[kWaveRootKey] = static_cast<uint16_t>(60 << 8);
    PutOffset(wave.block, kWaveStart, 0);
    PutOffset(wave.block, kWaveEnd, words - 1);
    PutOffset(wave.block, kWaveLoopStart, 0);
    PutOffset(wave.block, kWaveLoopEnd, words - 1);
    wave.block[kWaveRate] = static_cast<uint16_t>(kDefaultRate << 8);
    wave.block[kWaveLowKey] = static_cast<uint16_t>(lowKey << 8);
    wave.block[kWaveHighKey] = static_cast<uint16_t>(highKey << 8);
    return wave;
}

// The number asked for when it is free, otherwise the lowest free one; 0
// when all are taken.
uint16_t FreeWave(const SEnsoniqInstrument& instrument, uint16_t asked)
{
    if (asked >= 1 && asked <= kEnsoniqLastWave && !instrument.waves.count(asked))
        return asked;
    for (uint16_t number = 1; number <= kEnsoniqLastWave; ++number)
        if (!instrument.waves.count(number))
            return number;
    return 0;
}

} // namespace

uint16_t CEnsoniqEmulator::CreateLayer(const SAddress& request)
{
    EnsoniqInstruments all = memory_.Instruments();
    if (const uint16_t status = Check(all, request, false, false))
        return status;
    if (request.layer >= kEnsoniqSlots)
        return kInvalidLayer;
    SEnsoniqInstrument& instrument = *all[request.instrument];
    if (instrument.layers[request.layer])
        return kLayerInUse;
    const uint16_t number = FreeWave(instrument, request.wave);
    if (number == 0)
        return kNoMoreWaves;
    if (!HasRoom(kSquareWords))
        return kMemoryFull;
    EnsoniqWords layer(kEnsoniqLayerWords, 0);
    PutName(layer, "LAYER " + std::to_string(request.layer + 1));
    layer[kLayerVelocityHigh] = static_cast<uint16_t>(127 << 8);
    for (size_t key = 0; key < kKeys; ++key)
        layer[kLayerMap + key] = static_cast<uint16_t>(number << 8);
    instrument.layers[request.layer] = layer;
    instrument.block[kInstrumentPatch0] = static_cast<uint16_t>(instrument.block[kInstrumentPatch0] |
                                                                (1u << request.layer));
    instrument.waves[number] = NewWave(static_cast<uint8_t>(request.layer), kSquareWords, 0, kKeys - 1);
    return Keep(all);
}

uint16_t CEnsoniqEmulator::CreateWave(const SAddress& request)
{
    EnsoniqInstruments all = memory_.Instruments();
    if (const uint16_t status = Check(all, request, true, false))
        return status;
    SEnsoniqInstrument& instrument = *all[request.instrument];
    const uint16_t number = FreeWave(instrument, request.wave);
    if (number == 0)
        return kNoMoreWaves;
    if (!HasRoom(kSquareWords))
        return kMemoryFull;
    // It takes the keys of the layer that play nothing.
    EnsoniqWords& layer = *instrument.layers[request.layer];
    size_t low = kKeys;
    size_t high = 0;
    for (size_t key = 0; key < kKeys; ++key)
        if (HighByte(layer[kLayerMap + key]) == 0) {
            layer[kLayerMap + key] = static_cast<uint16_t>(number << 8);
            low = std::min(low, key);
            high = key;
        }
    if (low == kKeys)
        low = high = 0;
    instrument.waves[number] = NewWave(static_cast<uint8_t>(request.layer), kSquareWords, low, high);
    return Keep(all);
}

uint16_t CEnsoniqEmulator::DeleteWave(const SAddress& request)
{
    EnsoniqInstruments all = memory_.Instruments();
    if (const uint16_t status = Check(all, request, false, true))
        return status;
    SEnsoniqInstrument& instrument = *all[request.instrument];
    std::vector<uint16_t> doomed = {request.wave};
    // In a linked stereo layer the other channel goes too: the wavesample of
    // the companion layer at this one's lowest key.
    const uint8_t layer = instrument.waves.at(request.wave).layer;
    const auto& own = instrument.layers[layer];
    const auto& companion = instrument.layers[layer ^ 1u];
    if (model_.stereo && own && companion && ((*own)[kLayerLink] & 0xFF) != 0) {
        for (size_t key = 0; key < kKeys; ++key)
            if (HighByte((*own)[kLayerMap + key]) == request.wave) {
                const uint16_t partner = HighByte((*companion)[kLayerMap + key]);
                const auto found = instrument.waves.find(partner);
                if (found != instrument.waves.end() && found->second.layer == (layer ^ 1u))
                    doomed.push_back(partner);
                break;
            }
    }
    for (uint16_t number : doomed) {
        instrument.waves.erase(number);
        for (auto& each : instrument.layers)
            if (each)
                for (size_t key = 0; key < kKeys; ++key)
                    if (HighByte((*each)[kLayerMap + key]) == number)
                        (*each)[kLayerMap + key] = static_cast<uint16_t>((*each)[kLayerMap + key] & 0xFF);
    }
    return Keep(all);
}

uint16_t CEnsoniqEmulator::DeleteLayer(const SAddress& request)
{
    EnsoniqInstruments all = memory_.Instruments();
    if (const uint16_t status = Check(all, request, true, false))
        return status;
    SEnsoniqInstrument& instrument = *all[request.instrument];
    std::erase_if(instrument.waves, [&](const auto& entry) { return entry.second.layer == request.layer; });
    instrument.layers[request.layer].reset();
    if (auto& companion = instrument.layers[request.layer ^ 1u])
        (*companion)[kLayerLink] = static_cast<uint16_t>((*companion)[kLayerLink] & 0xFF00);
    instrument.block[kInstrumentPatch0] = static_cast<uint16_t>(instrument.block[kInstrumentPatch0] &
                                                                ~(1u << request.layer));
    return Keep(all);
}

uint16_t CEnsoniqEmulator::DeleteInstrument(const SAddress& request)
{
    EnsoniqInstruments all = memory_.Instruments();
    if (const uint16_t status = Check(all, request, false, false))
        return status;
    all[request.instrument].reset();
    return Keep(all);
}

} // namespace quorvel
