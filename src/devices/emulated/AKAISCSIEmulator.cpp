#include "devices/emulated/AKAISCSIEmulator.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

#include "devices/scsi/SCSICommandBlock.h"
#include "framework/XBase.h"

namespace quorvel {

namespace {

constexpr uint8_t kSenseIllegalRequest = 0x05;
constexpr uint8_t kSenseAbortedCommand = 0x0B;
// Longer than any message takes to handle; only a stuck sampler reaches it.
constexpr auto kSettleLimit = std::chrono::seconds(5);

uint32_t Count(const uint8_t* block)
{
    return uint32_t{block[2]} << 16 | uint32_t{block[3]} << 8 | block[4];
}

// The sampler's exclusive messages at channel 0, the only one it hears.
constexpr uint8_t kRequestPackets = 0x0C;
constexpr uint8_t kAcceptPackets = 0x0D;

bool IsAKAIMessage(const std::vector<uint8_t>& m, uint8_t op)
{
    return m.size() >= 6 && m[1] == 0x47 && m[2] == 0x00 && m[3] == op && m[4] == 0x48;
}

std::vector<uint8_t> Reply(uint8_t result) { return {0xF0, 0x47, 0x00, 0x16, 0x48, result, 0xF7}; }

uint32_t Get7(const std::vector<uint8_t>& m, size_t at, int count)
{
    uint32_t value = 0;
    for (int i = 0; i < count; ++i)
        value |= static_cast<uint32_t>(m[at + static_cast<size_t>(i)] & 0x7F) << (7 * i);
    return value;
}

} // namespace

CAKAISCSIEmulator::CAKAISCSIEmulator(const SAKAISCSIEmulatorModel& model, CABCEmulatorClock& clock,
                                     const std::vector<SEmulatorFault>& faults, const std::string& folder)
    : model_(model),
      wires_{std::make_shared<CLoopbackMIDIWire>(0), std::make_shared<CLoopbackMIDIWire>(0)}
{
    // The MIDI-level faults (wait, nak, cancel, bad-checksum, reject-header)
    // are the sampler's; busy, silent and check-condition are the bus's.
    std::vector<SEmulatorFault> samplerFaults;
    for (const SEmulatorFault& fault : faults) {
        if (fault.name == "busy")
            busyLeft_ = fault.value;
        else if (fault.name == "check-condition")
            checkCondition_ = true;
        else if (fault.name == "silent")
            silent_ = true;
        else
            samplerFaults.push_back(fault);
    }
    wires_.toProgram->Attach([this](const uint8_t* bytes, size_t length) {
        std::lock_guard lock(waitingMutex_);
        waiting_.insert(waiting_.end(), bytes, bytes + length);
    });
    sampler_ = std::make_unique<CAKAIEmulator>(model_.sampler, wires_, clock, samplerFaults, folder);
}

CAKAISCSIEmulator::~CAKAISCSIEmulator()
{
    sampler_.reset();
    wires_.toProgram->Detach();
}

SCSIResult CAKAISCSIEmulator::Command(const uint8_t* block, ESCSIDirection direction, uint8_t* data,
                                      size_t length)
{
    std::lock_guard lock(commandMutex_);
    if (silent_) {
        SCSIResult none;
        none.kind = kSCSINoDevice;
        return none;
    }
    const uint8_t opcode = block[0];
    if (opcode == kSCSIInquiry && direction == ESCSIDirection::kIn) {
        const std::vector<uint8_t> answer = AKAIInquiryAnswer(model_);
        std::memcpy(data, answer.data(), std::min({answer.size(), length, static_cast<size_t>(block[4])}));
        return {};
    }
    if (opcode == kSCSITestUnitReady && direction == ESCSIDirection::kNone) {
        if (busyLeft_ > 0) {
            --busyLeft_;
            SCSIResult busy;
            busy.kind = kSCSIBusy;
            return busy;
        }
        return {};
    }
    if (opcode != kAKAISCSISetMode && opcode != kAKAISCSISendSysex && opcode != kAKAISCSIBytesWaiting &&
        opcode != kAKAISCSIReadBytes)
        return CheckCondition(kSenseIllegalRequest, kAKAISenseInvalidOpcode);
    if (checkCondition_)
        return CheckCondition(kSenseAbortedCommand);
    switch (opcode) {
    case kAKAISCSISetMode:
        if (direction != ESCSIDirection::kNone)
            break;
        mode_ = block[2];
        return {};
    case kAKAISCSISendSysex:
        if (direction != ESCSIDirection::kOut)
            break;
        return Send(block, data, length);
    case kAKAISCSIBytesWaiting:
        if (direction != ESCSIDirection::kIn)
            break;
        return BytesWaiting(data, length);
    default:
        if (direction != ESCSIDirection::kIn)
            break;
        return Read(block, data, length);
    }
    return CheckCondition(kSenseIllegalRequest, kAKAISenseInvalidField);
}

SCSIResult CAKAISCSIEmulator::Send(const uint8_t* block, const uint8_t* data, size_t length)
{
    const uint32_t count = Count(block);
    if (count != length || count == 0)
        return CheckCondition(kSenseIllegalRequest, kAKAISenseInvalidField);
    if (wordsNext_) {
        TakeWords(data, length);
        return {};
    }
    // One whole message per command, as the sampler's exclusive parser
    // takes it; anything else is refused rather than half heard.
    if (data[0] != 0xF0 || data[length - 1] != 0xF7)
        return CheckCondition(kSenseIllegalRequest, kAKAISenseNotAMessage);
    for (size_t i = 1; i + 1 < length; ++i)
        if (data[i] & 0x80)
            return CheckCondition(kSenseIllegalRequest, kAKAISenseNotAMessage);
    const std::vector<uint8_t> message(data, data + length);
    if (IsAKAIMessage(message, kAcceptPackets)) {
        AcceptPackets(message);
        return {};
    }
    if (IsAKAIMessage(message, kRequestPackets)) {
        RequestPackets(message);
        return {};
    }
    written_ = wires_.fromProgram->Write(data, length);
    Settle();
    return {};
}

void CAKAISCSIEmulator::AcceptPackets(const std::vector<uint8_t>& m)
{
    // Sample number (2), first word (4), word count (4).
    wordsNext_ = true;
    wordsTo_.reset();
    if (m.size() != 16)
        return;
    const size_t number = Get7(m, 5, 2);
    wordsFirst_ = Get7(m, 7, 4);
    wordsCount_ = Get7(m, 11, 4);
    const std::optional<SAKAISample> sample = sampler_->Memory().Sample(number);
    if (sample && uint64_t{wordsFirst_} + wordsCount_ <= sample->words.size())
        wordsTo_ = number;
}

void CAKAISCSIEmulator::TakeWords(const uint8_t* data, size_t length)
{
    wordsNext_ = false;
    std::optional<SAKAISample> sample;
    if (wordsTo_)
        sample = sampler_->Memory().Sample(*wordsTo_);
    // Refused: no such sample, past its end, or not the bytes announced.
    if (!sample || length != 2 * size_t{wordsCount_} ||
        uint64_t{wordsFirst_} + wordsCount_ > sample->words.size()) {
        Queue(Reply(1));
        return;
    }
    for (size_t i = 0; i < wordsCount_; ++i)
        sample->words[wordsFirst_ + i] = static_cast<uint16_t>(data[2 * i] << 8 | data[2 * i + 1]);
    try {
        sampler_->Memory().PutSample(*wordsTo_, *sample);
    } catch (const XBase&) {
        Queue(Reply(1));
        return;
    }
    Queue(Reply(0));
}

void CAKAISCSIEmulator::RequestPackets(const std::vector<uint8_t>& m)
{
    // Sample number (2), first word (4), word count (4), interval (1), and
    // how an interval above 1 picks (0 to 2).
    if (m.size() != 18 || m[16] > 2) {
        Queue(Reply(1));
        return;
    }
    const std::optional<SAKAISample> sample = sampler_->Memory().Sample(Get7(m, 5, 2));
    if (!sample) {
        Queue(Reply(1));
        return;
    }
    const std::vector<uint16_t> words =
        CAKAIEmulator::PickWords(sample->words, Get7(m, 7, 4), Get7(m, 11, 4), m[15], m[16]);
    std::vector<uint8_t> bytes;
    bytes.reserve(2 * words.size());
    for (uint16_t word : words) {
        bytes.push_back(static_cast<uint8_t>(word >> 8));
        bytes.push_back(static_cast<uint8_t>(word));
    }
    Queue(bytes);
}

void CAKAISCSIEmulator::Queue(const std::vector<uint8_t>& bytes)
{
    std::lock_guard lock(waitingMutex_);
    waiting_.insert(waiting_.end(), bytes.begin(), bytes.end());
}

SCSIResult CAKAISCSIEmulator::BytesWaiting(uint8_t* data, size_t length)
{
    if (length < 3)
        return CheckCondition(kSenseIllegalRequest, kAKAISenseInvalidField);
    Settle();
    std::lock_guard lock(waitingMutex_);
    const size_t waiting = std::min<size_t>(waiting_.size(), 0xFFFFFF);
    data[0] = static_cast<uint8_t>(waiting >> 16);
    data[1] = static_cast<uint8_t>(waiting >> 8);
    data[2] = static_cast<uint8_t>(waiting);
    return {};
}

SCSIResult CAKAISCSIEmulator::Read(const uint8_t* block, uint8_t* data, size_t length)
{
    const uint32_t count = Count(block);
    if (count != length)
        return CheckCondition(kSenseIllegalRequest, kAKAISenseInvalidField);
    Settle();
    std::lock_guard lock(waitingMutex_);
    if (count > waiting_.size())
        return CheckCondition(kSenseIllegalRequest, kAKAISenseNotWaiting);
    std::copy_n(waiting_.begin(), count, data);
    waiting_.erase(waiting_.begin(), waiting_.begin() + count);
    return {};
}

void CAKAISCSIEmulator::Settle()
{
    const auto until = std::chrono::steady_clock::now() + kSettleLimit;
    while (std::chrono::steady_clock::now() < until) {
        const uint64_t sent = sampler_->BytesSent();
        if (sampler_->BytesTaken() >= written_ && wires_.toProgram->Delivered() >= sent)
            return;
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
}

} // namespace quorvel
