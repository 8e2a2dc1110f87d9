#pragma once
// What the search and verification tests share: E-mu targets on a Loopback
// bus, a scripted inquiry answer, a responder that answers the identity
// request on Loopback MIDI ports, and a clock that moves only while every
// reply written has arrived.
#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "devices/emulated/SMDIEmulator.h"
#include "devices/emulated/SMDIEmulatorModel.h"
#include "devices/midi/LoopbackMIDI.h"
#include "devices/scsi/LoopbackSCSI.h"
#include "devices/scsi/SCSICommandBlock.h"
#include "devices/scsi/SCSIExceptions.h"
#include "framework/Clock.h"
#include "samplers/IdentityReply.h"
#include "samplers/SamplerSearch.h"

namespace quorvel::test {

using Bytes = std::vector<uint8_t>;

inline std::shared_ptr<CSMDIEmulator> EmulatedEmu(const char* id, CABCEmulatorClock& clock,
                                                  const std::vector<SEmulatorFault>& faults = {})
{
    return std::make_shared<CSMDIEmulator>(*FindSMDIEmulatorModel(id), clock, faults);
}

// Answers INQUIRY with the given texts (blank-padded) and everything else
// with GOOD; or fails every INQUIRY the way it is told to.
class ScriptedTarget : public ISCSITarget {
public:
    enum class EFailure { kNone, kCheckCondition, kThrows };

    ScriptedTarget(const std::string& vendor, const std::string& product, const std::string& revision,
                   EFailure failure = EFailure::kNone)
        : failure_(failure)
    {
        answer_.fill(' ');
        answer_[0] = 3; // processor
        for (size_t i = 1; i < 8; ++i)
            answer_[i] = 0;
        std::memcpy(answer_.data() + 8, vendor.data(), std::min<size_t>(vendor.size(), 8));
        std::memcpy(answer_.data() + 16, product.data(), std::min<size_t>(product.size(), 16));
        std::memcpy(answer_.data() + 32, revision.data(), std::min<size_t>(revision.size(), 4));
    }
    SCSIResult Command(const uint8_t* block, ESCSIDirection, uint8_t* data, size_t length) override
    {
        if (block[0] != kSCSIInquiry)
            return {};
        ++inquiries;
        if (failure_ == EFailure::kCheckCondition)
            return CheckCondition(5, 0x24);
        if (failure_ == EFailure::kThrows)
            throw XSCSICommunicationException();
        std::memcpy(data, answer_.data(), std::min(length, answer_.size()));
        return {};
    }
    int inquiries = 0;

private:
    std::array<uint8_t, 36> answer_{};
    EFailure failure_;
};

// The Yamaha A3000 Identity Reply for device number `device` with the
// version bytes given.
inline Bytes A3000Reply(uint8_t device, std::array<uint8_t, 4> version)
{
    return {0xF0, 0x7E, device, 0x06, 0x02, 0x43, 0x00, 0x41, 0x01, 0x16,
            version[0], version[1], version[2], version[3], 0xF7};
}

// Listens on the program's outputs of one or more Loopback port pairs and
// answers each identity request for `device` with `reply` on the first
// pair's input. Records every message it heard.
class IdentityResponder {
public:
    // `request`, when given, is the message answered instead of the identity request.
    IdentityResponder(std::vector<SLoopbackMIDIDevice> cables, uint8_t device, Bytes reply, Bytes request = {})
        : cables_(std::move(cables)), device_(device), reply_(std::move(reply)),
          request_(request.empty() ? IdentityRequest(device) : std::move(request))
    {
        for (size_t i = 0; i < cables_.size(); ++i) {
            partial_.emplace_back();
            cables_[i].fromProgram->Attach([this, i](const uint8_t* data, size_t length) { Take(i, data, length); });
        }
    }
    ~IdentityResponder()
    {
        for (SLoopbackMIDIDevice& cable : cables_)
            cable.fromProgram->Detach();
    }
    // A reply written that the program's input has not taken yet.
    bool Busy() const { return cables_.front().toProgram->Delivered() < written_.load(); }
    std::vector<Bytes> Heard()
    {
        std::lock_guard lock(mutex_);
        return heard_;
    }
    int replies = 0;

private:
    void Take(size_t cable, const uint8_t* data, size_t length)
    {
        std::lock_guard lock(mutex_);
        for (size_t i = 0; i < length; ++i) {
            Bytes& message = partial_[cable];
            if (data[i] == 0xF0)
                message.clear();
            message.push_back(data[i]);
            if (data[i] != 0xF7)
                continue;
            heard_.push_back(message);
            if (message == request_) {
                ++replies;
                written_ = cables_.front().toProgram->Write(reply_.data(), reply_.size());
            }
        }
    }

    std::vector<SLoopbackMIDIDevice> cables_;
    uint8_t device_;
    Bytes reply_;
    Bytes request_;
    std::mutex mutex_;
    std::vector<Bytes> partial_;
    std::vector<Bytes> heard_;
    std::atomic<uint64_t> written_{0};
};

// Simulated time that stands still while a reply is on its way, so that the
// search's waits pass at once yet never miss an answer.
class ReplyAwareClock : public CABCClock {
public:
    explicit ReplyAwareClock(const IdentityResponder* responder = nullptr) : responder_(responder) {}
    uint64_t Milliseconds() const override { return now_.load(); }
    void Sleep(std::chrono::milliseconds duration) override
    {
        while (responder_ && responder_->Busy())
            std::this_thread::sleep_for(std::chrono::microseconds(50));
        std::this_thread::yield();
        now_ += static_cast<uint64_t>(duration.count());
    }

private:
    const IdentityResponder* responder_;
    std::atomic<uint64_t> now_{1000};
};

// Records the texts; asks to stop after `cancelAfter` questions (never by
// default).
class RecordingProgress : public CABCSearchProgress {
public:
    explicit RecordingProgress(int cancelAfter = -1) : cancelAfter_(cancelAfter) {}
    void SetText(const std::string& text) override { texts.push_back(text); }
    bool CancelRequested() override { return cancelAfter_ >= 0 && ++asked > cancelAfter_; }
    std::vector<std::string> texts;
    int asked = 0;

private:
    int cancelAfter_;
};

} // namespace quorvel::test
