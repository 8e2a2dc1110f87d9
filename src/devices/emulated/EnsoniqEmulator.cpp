#include "devices/emulated/EnsoniqEmulator.h"

#include <algorithm>
#include <exception>

#include "devices/emulated/EnsoniqCodes.h"

namespace quorvel {

using namespace ensoniq;

namespace {

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
    // The computer never acknowledged the header, never sent the block, or
    // never answered a WAIT.
    if (state_ != EState::kIdle)
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
        SetAlarm(Clock().Milliseconds() + kWaitMs);
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
        SetAlarm(Clock().Milliseconds() + kWaitMs);
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

} // namespace quorvel
