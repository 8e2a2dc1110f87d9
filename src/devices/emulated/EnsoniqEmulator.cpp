#include "devices/emulated/EnsoniqEmulator.h"

#include <algorithm>
#include <exception>

namespace quorvel {

namespace {

constexpr uint8_t kEnsoniq = 0x0F;
constexpr uint8_t kProduct = 0x03;
constexpr uint8_t kChannel = 0x00;

// Command codes of the external command set.
constexpr uint8_t kResponse = 0x01;
constexpr uint8_t kCancel = 0x02;
constexpr uint8_t kGetInstrument = 0x03;
constexpr uint8_t kGetLayer = 0x04;
constexpr uint8_t kGetWave = 0x05;
constexpr uint8_t kGetWaveData = 0x06;
constexpr uint8_t kPutInstrument = 0x0C;
constexpr uint8_t kPutLayer = 0x0D;
constexpr uint8_t kPutWave = 0x0E;
constexpr uint8_t kPutWaveData = 0x0F;
constexpr uint8_t kCreateInstrument = 0x15;
constexpr uint8_t kCreateLayer = 0x16;
constexpr uint8_t kDeleteLayer = 0x17;
constexpr uint8_t kCreateWave = 0x19;
constexpr uint8_t kDeleteWave = 0x1A;
constexpr uint8_t kDeleteInstrument = 0x1C;
constexpr uint8_t kButtonPress = 0x40;
// A GET is answered with the PUT this far above it.
constexpr uint8_t kGetToPut = kPutInstrument - kGetInstrument;

// Response status codes.
constexpr uint16_t kAck = 0x00;
constexpr uint16_t kWait = 0x01;
constexpr uint16_t kInvalidValue = 0x04;
constexpr uint16_t kInvalidInstrument = 0x05;
constexpr uint16_t kInvalidLayer = 0x06;
constexpr uint16_t kLayerInUse = 0x07;
constexpr uint16_t kInvalidWave = 0x08;
constexpr uint16_t kInvalidRange = 0x0A;
constexpr uint16_t kMemoryFull = 0x0C;
constexpr uint16_t kInstrumentInUse = 0x0D;
constexpr uint16_t kNoMoreWaves = 0x0F;
constexpr uint16_t kDiskFull = 0x15;
constexpr uint16_t kNak = 0x17;

// Message lengths, F0 to F7.
constexpr size_t kResponseLength = 8;
constexpr size_t kCancelLength = 6;
constexpr size_t kAddressLength = 12;
constexpr size_t kRangeLength = 20;
constexpr size_t kValueLength = 8;

// Blocks: word offsets.
constexpr size_t kNameWords = 12;
constexpr size_t kInstrumentPatch0 = 17;
constexpr size_t kInstrumentIdentity = 25;
constexpr size_t kInstrumentHighKey = 27;
constexpr size_t kLayerLink = 14; // low byte, stereo models
constexpr size_t kLayerVelocityHigh = 16;
constexpr size_t kLayerMap = 19;
constexpr size_t kKeys = 88;
constexpr size_t kWaveRootKey = 80;
constexpr size_t kWaveStart = 115;
constexpr size_t kWaveEnd = 119;
constexpr size_t kWaveLoopStart = 123;
constexpr size_t kWaveLoopEnd = 127;
constexpr size_t kWaveRate = 131;
constexpr size_t kWaveLowKey = 132;
constexpr size_t kWaveHighKey = 133;
// Sample offsets: 20 bits on the wire, and in a block a 32-bit field in
// the high bytes of four words, the word offset shifted left 9.
constexpr uint32_t kLastOffset = 0xFFFFF;
constexpr uint32_t kOffsetShift = 9;
// A 44.1 kHz period in 1.6 us steps.
constexpr uint16_t kDefaultRate = 14;

uint16_t Get12(const std::vector<uint8_t>& m, size_t at)
{
    return static_cast<uint16_t>(((m[at] & 0x3F) << 6) | (m[at + 1] & 0x3F));
}

uint32_t Get24(const std::vector<uint8_t>& m, size_t at)
{
    return (static_cast<uint32_t>(Get12(m, at)) << 12) | Get12(m, at + 2);
}

void Put12(std::vector<uint8_t>& out, uint32_t value)
{
    out.push_back(static_cast<uint8_t>((value >> 6) & 0x3F));
    out.push_back(static_cast<uint8_t>(value & 0x3F));
}

std::vector<uint8_t> Header() { return {0xF0, kEnsoniq, kProduct, kChannel}; }

// A block or run of sample words, three bytes a word: bits 15-12, 11-6, 5-0.
std::vector<uint8_t> WordsMessage(const EnsoniqWords& words)
{
    std::vector<uint8_t> m = Header();
    m.reserve(words.size() * 3 + 5);
    for (uint16_t word : words) {
        m.push_back(static_cast<uint8_t>(word >> 12));
        m.push_back(static_cast<uint8_t>((word >> 6) & 0x3F));
        m.push_back(static_cast<uint8_t>(word & 0x3F));
    }
    m.push_back(0xF7);
    return m;
}

EnsoniqWords Words(const std::vector<uint8_t>& m)
{
    EnsoniqWords words((m.size() - 5) / 3);
    for (size_t i = 0; i < words.size(); ++i) {
        const size_t at = 4 + 3 * i;
        words[i] = static_cast<uint16_t>(((m[at] & 0x0F) << 12) | ((m[at + 1] & 0x3F) << 6) | (m[at + 2] & 0x3F));
    }
    return words;
}

void PutName(EnsoniqWords& block, const std::string& name)
{
    for (size_t i = 0; i < kNameWords; ++i)
        block[i] = static_cast<uint16_t>((i < name.size() ? name[i] : ' ') << 8);
}

void PutOffset(EnsoniqWords& block, size_t at, uint32_t offset)
{
    const uint32_t field = offset << kOffsetShift;
    for (size_t i = 0; i < 4; ++i)
        block[at + i] = static_cast<uint16_t>(((field >> (24 - 8 * i)) & 0xFF) << 8);
}

uint16_t HighByte(uint16_t word) { return static_cast<uint16_t>(word >> 8); }

} // namespace

CEnsoniqEmulator::CEnsoniqEmulator(const SEnsoniqEmulatorModel& model, SLoopbackMIDIDevice ends,
                                   CABCEmulatorClock& clock, const std::vector<SEmulatorFault>& faults,
                                   const std::string& folder)
    : CABCMIDIEmulator(std::move(ends), clock), model_(model), memory_(folder)
{
    for (const SEmulatorFault& fault : faults) {
        if (fault.name == "silent")
            silent_ = true;
        else if (fault.name == "busy")
            waits_ = fault.value;
        else if (fault.name == "error")
            errorStatus_ = static_cast<uint16_t>(std::min<uint32_t>(fault.value, 0xFFF));
        else if (fault.name == "error-at")
            errorAt_ = fault.value;
        else if (fault.name == "out-of-memory")
            outOfMemory_ = true;
        // Others belong to other protocols.
    }
    Start();
}

CEnsoniqEmulator::~CEnsoniqEmulator() { Stop(); }

void CEnsoniqEmulator::Out(const std::vector<uint8_t>& message)
{
    if (!silent_)
        Send(message);
}

void CEnsoniqEmulator::Respond(uint16_t status)
{
    std::vector<uint8_t> m = Header();
    m.push_back(kResponse);
    Put12(m, status);
    m.push_back(0xF7);
    Out(m);
}

void CEnsoniqEmulator::Idle()
{
    state_ = EState::kIdle;
    SetAlarm(0);
    outgoing_.clear();
    pendingBlock_.clear();
}

void CEnsoniqEmulator::OnAlarm()
{
    // The computer never acknowledged the header, or never sent the block.
    if (state_ == EState::kAwaitingAck || state_ == EState::kAwaitingBlock)
        Idle();
}

void CEnsoniqEmulator::OnMessage(const std::vector<uint8_t>& m)
{
    if (m.size() < 6 || m[1] != kEnsoniq || m[2] != kProduct || m[3] != kChannel)
        return;
    const bool response = m.size() == kResponseLength && m[4] == kResponse;
    const bool cancel = m.size() == kCancelLength && m[4] == kCancel;
    switch (state_) {
    case EState::kAwaitingBlock: {
        if (cancel) {
            Idle();
            return;
        }
        const size_t expected = pending_.command == kPutInstrument ? kEnsoniqInstrumentWords
                                : pending_.command == kPutLayer    ? kEnsoniqLayerWords
                                : pending_.command == kPutWave     ? kEnsoniqWaveWords
                                                                   : pending_.end - pending_.start;
        if (m.size() != 3 * expected + 5) {
            Idle();
            Respond(kNak);
            return;
        }
        OnBlock(m);
        return;
    }
    case EState::kAwaitingAck:
        if (response || cancel) {
            if (response && Get12(m, 5) == kAck)
                Out(outgoing_);
            Idle();
            return;
        }
        Idle(); // a new command: the GET is given up
        break;
    case EState::kWaiting:
        if (cancel) {
            Idle();
            Respond(kAck);
        } else if (response && Get12(m, 5) == kAck)
            OnAck();
        else if (response)
            Idle(); // any other answer gives the request up
        else
            Respond(kNak); // busy with the request
        return;
    case EState::kIdle:
        break;
    }
    // Responses and cancels outside an exchange have nothing to answer.
    if (!response && !cancel)
        OnCommand(m);
}

void CEnsoniqEmulator::OnAck()
{
    if (waitsLeft_ > 0) {
        --waitsLeft_;
        Respond(kWait);
        return;
    }
    const SAddress request = pending_;
    const uint16_t status = Execute(request);
    Idle();
    Respond(status);
}

void CEnsoniqEmulator::OnCommand(const std::vector<uint8_t>& m)
{
    SAddress request;
    request.command = m[4];
    const bool range = request.command == kGetWaveData || request.command == kPutWaveData;
    const size_t length = request.command == kButtonPress ? kValueLength : range ? kRangeLength : kAddressLength;
    ++requests_;
    if (m.size() != length) {
        Respond(kNak);
        return;
    }
    if (errorStatus_ != 0 && requests_ == errorAt_) {
        Respond(errorStatus_);
        return;
    }
    if (request.command == kButtonPress) {
        Respond(kAck);
        return;
    }
    request.instrument = Get12(m, 5);
    request.layer = Get12(m, 7);
    request.wave = Get12(m, 9);
    if (range) {
        request.start = Get24(m, 11);
        request.end = Get24(m, 15);
    }
    switch (request.command) {
    case kGetInstrument:
    case kGetLayer:
    case kGetWave:
    case kGetWaveData:
        if (const uint16_t status = StartGet(request))
            Respond(status);
        return;
    case kPutInstrument:
    case kPutLayer:
    case kPutWave:
    case kPutWaveData:
        if (const uint16_t status = StartPut(request))
            Respond(status);
        return;
    case kCreateInstrument:
    case kCreateLayer:
    case kCreateWave:
    case kDeleteLayer:
    case kDeleteWave:
    case kDeleteInstrument:
        Perform(request, true);
        return;
    default:
        // Saving, copying, processing and single parameters are not emulated.
        Respond(kNak);
        return;
    }
}

void CEnsoniqEmulator::Perform(const SAddress& request, bool longRequest)
{
    if (longRequest && waits_ > 0) {
        pending_ = request;
        waitsLeft_ = waits_ - 1;
        state_ = EState::kWaiting;
        Respond(kWait);
        return;
    }
    const uint16_t status = Execute(request);
    pendingBlock_.clear();
    Respond(status);
}

uint16_t CEnsoniqEmulator::Execute(const SAddress& request)
{
    switch (request.command) {
    case kPutInstrument:
    case kPutLayer:
    case kPutWave:
    case kPutWaveData:
        return TakeBlock(request, pendingBlock_);
    case kCreateInstrument:
        return CreateInstrument(request);
    case kCreateLayer:
        return CreateLayer(request);
    case kCreateWave:
        return CreateWave(request);
    case kDeleteLayer:
        return DeleteLayer(request);
    case kDeleteWave:
        return DeleteWave(request);
    case kDeleteInstrument:
        return DeleteInstrument(request);
    default:
        return kNak;
    }
}

uint16_t CEnsoniqEmulator::Check(const EnsoniqInstruments& all, const SAddress& at, bool layer, bool wave) const
{
    if (at.instrument >= kEnsoniqSlots || !all[at.instrument])
        return kInvalidInstrument;
    if (layer && (at.layer >= kEnsoniqSlots || !all[at.instrument]->layers[at.layer]))
        return kInvalidLayer;
    if (wave && !all[at.instrument]->waves.count(at.wave))
        return kInvalidWave;
    return kAck;
}

bool CEnsoniqEmulator::HasRoom(uint64_t words) const
{
    return !outOfMemory_ && memory_.UsedWords() + words <= model_.memoryWords;
}

uint16_t CEnsoniqEmulator::Keep(const EnsoniqInstruments& all)
{
    try {
        memory_.Replace(all);
    } catch (const std::exception&) {
        return kDiskFull; // the memory folder took nothing
    }
    return kAck;
}

uint16_t CEnsoniqEmulator::StartGet(const SAddress& request)
{
    const EnsoniqInstruments all = memory_.Instruments();
    const bool layer = request.command == kGetLayer;
    const bool wave = request.command == kGetWave || request.command == kGetWaveData;
    if (const uint16_t status = Check(all, request, layer, wave))
        return status;
    const SEnsoniqInstrument& instrument = *all[request.instrument];
    EnsoniqWords block;
    if (request.command == kGetInstrument)
        block = instrument.block;
    else if (layer)
        block = *instrument.layers[request.layer];
    else if (request.command == kGetWave)
        block = instrument.waves.at(request.wave).block;
    else {
        const EnsoniqWords& data = instrument.waves.at(request.wave).data;
        if (request.start >= request.end || request.end > data.size())
            return kInvalidRange;
        block.assign(data.begin() + request.start, data.begin() + request.end);
    }
    // Response, then the PUT header echoing the request; the block waits
    // for the computer's ACK.
    Respond(kAck);
    std::vector<uint8_t> header = Header();
    header.push_back(static_cast<uint8_t>(request.command + kGetToPut));
    Put12(header, request.instrument);
    Put12(header, request.layer);
    Put12(header, request.wave);
    if (request.command == kGetWaveData) {
        Put12(header, request.start >> 12);
        Put12(header, request.start & 0xFFF);
        Put12(header, request.end >> 12);
        Put12(header, request.end & 0xFFF);
    }
    header.push_back(0xF7);
    Out(header);
    outgoing_ = WordsMessage(block);
    state_ = EState::kAwaitingAck;
    SetAlarm(Clock().Milliseconds() + kReplyMs);
    return kAck;
}

uint16_t CEnsoniqEmulator::StartPut(const SAddress& request)
{
    const EnsoniqInstruments all = memory_.Instruments();
    const bool layer = request.command == kPutLayer;
    const bool wave = request.command == kPutWave || request.command == kPutWaveData;
    if (const uint16_t status = Check(all, request, layer, wave))
        return status;
    if (request.command == kPutWaveData) {
        const size_t have = all[request.instrument]->waves.at(request.wave).data.size();
        if (request.start >= request.end || request.start > have || request.end > kLastOffset + 1)
            return kInvalidRange;
        if (request.end > have && !HasRoom(request.end - have))
            return kMemoryFull;
    }
    pending_ = request;
    state_ = EState::kAwaitingBlock;
    SetAlarm(Clock().Milliseconds() + kReplyMs);
    Respond(kAck);
    return kAck;
}

void CEnsoniqEmulator::OnBlock(const std::vector<uint8_t>& m)
{
    const SAddress request = pending_;
    Idle();
    pendingBlock_ = Words(m);
    Perform(request, request.command == kPutWaveData);
}

uint16_t CEnsoniqEmulator::TakeBlock(const SAddress& request, const EnsoniqWords& words)
{
    EnsoniqInstruments all = memory_.Instruments();
    const bool layer = request.command == kPutLayer;
    const bool wave = request.command == kPutWave || request.command == kPutWaveData;
    if (const uint16_t status = Check(all, request, layer, wave))
        return status;
    SEnsoniqInstrument& instrument = *all[request.instrument];
    switch (request.command) {
    case kPutInstrument:
        instrument.block = words;
        break;
    case kPutLayer: {
        const uint16_t link = words[kLayerLink] & 0xFF;
        if (link != 0 && !model_.stereo)
            return kInvalidValue;
        auto& companion = instrument.layers[request.layer ^ 1u];
        if (model_.stereo) {
            // A stereo pair is two companion layers, left in the even one.
            if (link != 0 && !companion)
                return kInvalidLayer;
            if (companion)
                (*companion)[kLayerLink] = static_cast<uint16_t>(((*companion)[kLayerLink] & 0xFF00) | link);
        }
        *instrument.layers[request.layer] = words;
        break;
    }
    case kPutWave:
        instrument.waves.at(request.wave).block = words;
        break;
    default: {
        EnsoniqWords& data = instrument.waves.at(request.wave).data;
        if (request.start > data.size())
            return kInvalidRange;
        if (request.end > data.size()) {
            if (!HasRoom(request.end - data.size()))
                return kMemoryFull;
            data.resize(request.end);
        }
        std::copy(words.begin(), words.end(), data.begin() + request.start);
        break;
    }
    }
    return Keep(all);
}

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
