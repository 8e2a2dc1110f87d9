#pragma once
// An SMDI sampler on a SCSI bus, seen from the sampler's side: it answers
// INQUIRY and TEST UNIT READY, takes each message the master SENDs, and keeps
// one answer for the master to RECEIVE. It takes samples from the master
// (Sample Header, Begin Sample Transfer, Data Packets), gives them back
// (Begin Sample Transfer, Send Next Packet), answers Sample Header Requests,
// deletes samples and aborts a procedure on request. Every field the master
// sends is checked; what the sampler cannot hold or does not expect is
// answered with Message Reject.
//
// The same class stands for the plain SMDI sampler and the E-mu models; the
// model says what it answers to INQUIRY and what it can hold. Commands come
// one at a time on the caller's thread, as a bus delivers them; the clock
// times the WAIT fault.
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "devices/emulated/EmulatorClock.h"
#include "devices/emulated/EmulatorSettings.h"
#include "devices/emulated/SMDIEmulatorModel.h"
#include "devices/emulated/SMDISampleStore.h"
#include "devices/scsi/SCSITarget.h"

namespace quorvel {

// Reject codes and sub codes the emulator answers with.
namespace smdireject {
constexpr uint16_t kGeneral = 0x0002;         // malformed, unknown or unexpected message
constexpr uint16_t kPacket = 0x0011;          // sub 0: wrong packet number, 1: wrong packet length
constexpr uint16_t kSample = 0x0020;          // sub 0: number out of range, 1: cannot hold, 2: no sample, 3: not kept
constexpr uint16_t kTransfer = 0x0022;        // sub 0: refused, 1: not the header's number, 2: packet length unusable
constexpr uint16_t kOutOfRange = 0x0000;
constexpr uint16_t kCannotHold = 0x0001;
constexpr uint16_t kNoSample = 0x0002;
constexpr uint16_t kNotKept = 0x0003;
} // namespace smdireject

// Additional sense codes of its CHECK CONDITION answers (sense key 5,
// illegal request, unless said otherwise).
constexpr uint8_t kSMDISenseNoReply = 0x81;        // RECEIVE with no answer pending
constexpr uint8_t kSMDISenseShortSend = 0x82;      // SEND of fewer than 11 bytes
constexpr uint8_t kSMDISenseShortReceive = 0x83;   // RECEIVE allocation below 11 bytes
constexpr uint8_t kSMDISenseInvalidField = 0x24;   // block length disagrees with the data
constexpr uint8_t kSMDISenseInvalidOpcode = 0x20;

class CSMDIEmulator final : public ISCSITarget {
public:
    // Data packets it takes and gives at most; a packet length is a whole
    // number of frames.
    static constexpr uint32_t kMaxPacketBytes = 32768;
    // The largest sample it keeps.
    static constexpr uint64_t kMaxSampleBytes = uint64_t{1} << 30;

    // `folder` empty: memory only.
    CSMDIEmulator(const SSMDIEmulatorModel& model, CABCEmulatorClock& clock,
                  const std::vector<SEmulatorFault>& faults, const std::string& folder = {});

    SCSIResult Command(const uint8_t* block, ESCSIDirection direction, uint8_t* data, size_t length) override;

    const SSMDIEmulatorModel& Model() const { return model_; }
    // The sample memory; it takes any thread.
    CSMDISampleStore& Samples() { return store_; }

private:
    enum class EState { kIdle, kHeaderTaken, kTaking, kGiving };

    struct SFaults {
        uint32_t busy = 0;
        bool hasWait = false;
        uint32_t waitMs = 0;
        bool rejectHeader = false;
        bool rejectTransfer = false;
        std::vector<uint32_t> rejectPacket;
        std::vector<uint32_t> abortAt;
        bool badTag = false;
        bool checkCondition = false;
        bool silent = false;
    };

    SCSIResult Inquiry(const uint8_t* block, uint8_t* data, size_t length);
    SCSIResult TestUnitReady();
    SCSIResult Send(const uint8_t* block, const uint8_t* data, size_t length);
    SCSIResult Receive(const uint8_t* block, uint8_t* data, size_t length);

    void Handle(const SSMDIMessage& message);
    void OnSampleHeaderRequest(SMDIView data);
    void OnSampleHeader(SMDIView data);
    void OnBeginSampleTransfer(SMDIView data);
    void OnSendNextPacket(SMDIView data);
    void OnDataPacket(SMDIView data);
    void OnDeleteSample(SMDIView data);
    // The sample taken in is complete: kept, and the procedure ends.
    void Keep();

    bool NumberInRange(uint32_t number) const;
    bool CanHold(const SSMDISample& sample) const;
    uint32_t MaxPacketFor(const SSMDISample& sample) const;
    // A packet-numbered fault for packet `n`: answers and ends the procedure.
    bool PacketFault(uint32_t n);
    void Answer(SMDIBytes message);
    void Reject(uint16_t code, uint16_t subCode);
    // Answers after the WAIT the "wait" fault asks for.
    void AnswerAfterWait(SMDIBytes message);
    void EndProcedure();
    bool Holding() const;

    const SSMDIEmulatorModel& model_;
    CABCEmulatorClock& clock_;
    SFaults faults_;
    CSMDISampleStore store_;

    std::mutex mutex_;
    uint32_t busyLeft_ = 0;
    SMDIBytes pending_;
    bool waitOwed_ = false;
    uint64_t holdUntil_ = 0;

    EState state_ = EState::kIdle;
    // Taking: the sample under way.
    SSMDISample sample_;
    // Giving: the sample going out, shared with the memory rather than copied.
    std::shared_ptr<const SSMDISample> giving_;
    uint32_t acceptedPacket_ = 0;
    uint32_t packetBytes_ = 0;
    uint32_t nextPacket_ = 0;
};

} // namespace quorvel
