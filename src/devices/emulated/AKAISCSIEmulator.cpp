#include "devices/emulated/AKAISCSIEmulator.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

#include "devices/scsi/SCSICommandBlock.h"

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
    // One whole message per command, as the sampler's exclusive parser
    // takes it; anything else is refused rather than half heard.
    if (data[0] != 0xF0 || data[length - 1] != 0xF7)
        return CheckCondition(kSenseIllegalRequest, kAKAISenseNotAMessage);
    for (size_t i = 1; i + 1 < length; ++i)
        if (data[i] & 0x80)
            return CheckCondition(kSenseIllegalRequest, kAKAISenseNotAMessage);
    written_ = wires_.fromProgram->Write(data, length);
    Settle();
    return {};
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
