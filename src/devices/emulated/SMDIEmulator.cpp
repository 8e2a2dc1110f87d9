#include "devices/emulated/SMDIEmulator.h"

#include <algorithm>
#include <cstring>

#include "devices/scsi/SCSICommandBlock.h"
#include "framework/XBase.h"

namespace quorvel {

namespace {

constexpr uint8_t kSCSISend = 0x0A;
constexpr uint8_t kSCSIReceive = 0x08;
constexpr uint8_t kSenseNotReady = 0x02;
constexpr uint8_t kSenseIllegalRequest = 0x05;
constexpr uint8_t kSenseAbortedCommand = 0x0B;

bool Contains(const std::vector<uint32_t>& list, uint32_t value)
{
    return std::find(list.begin(), list.end(), value) != list.end();
}

uint32_t TransferLength(const uint8_t* block)
{
    return GetBigEndian(block + 2, 3);
}

SMDIBytes NumberAndLength(uint32_t number, uint32_t packetBytes)
{
    SMDIBytes data;
    PutBigEndian(data, number, 3);
    PutBigEndian(data, packetBytes, 3);
    return data;
}

} // namespace

CSMDIEmulator::CSMDIEmulator(const SSMDIEmulatorModel& model, CABCEmulatorClock& clock,
                             const std::vector<SEmulatorFault>& faults, const std::string& folder)
    : model_(model), clock_(clock), store_(folder)
{
    for (const SEmulatorFault& fault : faults) {
        if (fault.name == "busy")
            faults_.busy = fault.value;
        else if (fault.name == "wait") {
            faults_.hasWait = true;
            faults_.waitMs = fault.value;
        } else if (fault.name == "reject-header")
            faults_.rejectHeader = true;
        else if (fault.name == "reject-transfer")
            faults_.rejectTransfer = true;
        else if (fault.name == "reject-packet")
            faults_.rejectPacket.push_back(fault.value);
        else if (fault.name == "abort")
            faults_.abortAt.push_back(fault.value);
        else if (fault.name == "bad-tag")
            faults_.badTag = true;
        else if (fault.name == "check-condition")
            faults_.checkCondition = true;
        else if (fault.name == "silent")
            faults_.silent = true;
        // Others belong to other protocols.
    }
    busyLeft_ = faults_.busy;
}

SCSIResult CSMDIEmulator::Command(const uint8_t* block, ESCSIDirection direction, uint8_t* data, size_t length)
{
    std::lock_guard lock(mutex_);
    if (faults_.silent) {
        SCSIResult none;
        none.kind = kSCSINoDevice;
        return none;
    }
    const uint8_t opcode = block[0];
    if (opcode == kSCSIInquiry && direction == ESCSIDirection::kIn)
        return Inquiry(block, data, length);
    if (opcode == kSCSITestUnitReady && direction == ESCSIDirection::kNone)
        return TestUnitReady();
    if (opcode != kSCSISend && opcode != kSCSIReceive)
        return CheckCondition(kSenseIllegalRequest, kSMDISenseInvalidOpcode);
    if (busyLeft_ > 0) {
        --busyLeft_;
        SCSIResult busy;
        busy.kind = kSCSIBusy;
        return busy;
    }
    if (faults_.checkCondition)
        return CheckCondition(kSenseAbortedCommand);
    if (opcode == kSCSISend && direction == ESCSIDirection::kOut)
        return Send(block, data, length);
    if (opcode == kSCSIReceive && direction == ESCSIDirection::kIn)
        return Receive(block, data, length);
    return CheckCondition(kSenseIllegalRequest, kSMDISenseInvalidField);
}

SCSIResult CSMDIEmulator::Inquiry(const uint8_t* block, uint8_t* data, size_t length)
{
    const std::vector<uint8_t> answer = SMDIInquiryAnswer(model_);
    const size_t count = std::min({answer.size(), length, static_cast<size_t>(block[4])});
    std::memcpy(data, answer.data(), count);
    return {};
}

SCSIResult CSMDIEmulator::TestUnitReady()
{
    if (Holding())
        return CheckCondition(kSenseNotReady, 0x04, 0x01); // becoming ready
    return {};
}

bool CSMDIEmulator::Holding() const
{
    return holdUntil_ != 0 && clock_.Milliseconds() < holdUntil_;
}

SCSIResult CSMDIEmulator::Send(const uint8_t* block, const uint8_t* data, size_t length)
{
    const uint32_t transfer = TransferLength(block);
    if (transfer != length)
        return CheckCondition(kSenseIllegalRequest, kSMDISenseInvalidField);
    if (transfer < kSMDIHeaderBytes)
        return CheckCondition(kSenseIllegalRequest, kSMDISenseShortSend);
    // A new message replaces whatever answer was left unread.
    pending_.clear();
    waitOwed_ = false;
    holdUntil_ = 0;
    SSMDIMessage message;
    if (!ParseSMDIMessage(data, length, message)) {
        EndProcedure();
        Reject(smdireject::kGeneral, 0);
        return {};
    }
    Handle(message);
    return {};
}

SCSIResult CSMDIEmulator::Receive(const uint8_t* block, uint8_t* data, size_t length)
{
    const uint32_t allocation = TransferLength(block);
    if (allocation != length)
        return CheckCondition(kSenseIllegalRequest, kSMDISenseInvalidField);
    if (allocation < kSMDIHeaderBytes)
        return CheckCondition(kSenseIllegalRequest, kSMDISenseShortReceive);
    SMDIBytes answer;
    if (waitOwed_ || Holding()) {
        waitOwed_ = false;
        answer = BuildSMDIMessage(kSMDIWait);
    } else if (!pending_.empty()) {
        answer.swap(pending_);
    } else {
        return CheckCondition(kSenseIllegalRequest, kSMDISenseNoReply);
    }
    if (faults_.badTag)
        answer[3] = 'X';
    // What does not fit the allocation is lost, as on a real bus.
    std::memcpy(data, answer.data(), std::min<size_t>(answer.size(), allocation));
    return {};
}

void CSMDIEmulator::Handle(const SSMDIMessage& message)
{
    switch (message.code) {
    case kSMDISampleHeaderRequest:
        OnSampleHeaderRequest(message.data);
        break;
    case kSMDISampleHeader:
        OnSampleHeader(message.data);
        break;
    case kSMDIBeginSampleTransfer:
        OnBeginSampleTransfer(message.data);
        break;
    case kSMDISendNextPacket:
        OnSendNextPacket(message.data);
        break;
    case kSMDIDataPacket:
        OnDataPacket(message.data);
        break;
    case kSMDIDeleteSample:
        OnDeleteSample(message.data);
        break;
    case kSMDIAbortProcedure:
        EndProcedure();
        if (message.data.empty())
            Answer(BuildSMDIMessage(kSMDIEndOfProcedure));
        else
            Reject(smdireject::kGeneral, 0);
        break;
    default:
        EndProcedure();
        Reject(smdireject::kGeneral, 0);
        break;
    }
}

void CSMDIEmulator::OnSampleHeaderRequest(SMDIView data)
{
    EndProcedure();
    if (data.size() != 3) {
        Reject(smdireject::kGeneral, 0);
        return;
    }
    const uint32_t number = GetBigEndian(data.data(), 3);
    if (!NumberInRange(number)) {
        Reject(smdireject::kSample, smdireject::kOutOfRange);
        return;
    }
    const std::shared_ptr<const SSMDISample> sample = store_.Shared(number);
    if (!sample) {
        Reject(smdireject::kSample, smdireject::kNoSample);
        return;
    }
    AnswerAfterWait(SampleHeaderMessage(*sample));
}

void CSMDIEmulator::OnSampleHeader(SMDIView data)
{
    EndProcedure();
    SSMDISample sample;
    if (!ParseSampleHeaderData(data, sample)) {
        Reject(smdireject::kGeneral, 0);
        return;
    }
    if (!NumberInRange(sample.number)) {
        Reject(smdireject::kSample, smdireject::kOutOfRange);
        return;
    }
    if (faults_.rejectHeader || !CanHold(sample)) {
        Reject(smdireject::kSample, smdireject::kCannotHold);
        return;
    }
    sample_ = std::move(sample);
    acceptedPacket_ = MaxPacketFor(sample_);
    state_ = EState::kHeaderTaken;
    AnswerAfterWait(BuildSMDIMessage(kSMDIBeginSampleTransferAck, NumberAndLength(sample_.number, acceptedPacket_)));
}

void CSMDIEmulator::OnBeginSampleTransfer(SMDIView data)
{
    const EState state = state_;
    if (data.size() != 6 || faults_.rejectTransfer) {
        EndProcedure();
        if (data.size() != 6)
            Reject(smdireject::kGeneral, 0);
        else
            Reject(smdireject::kTransfer, 0);
        return;
    }
    const uint32_t number = GetBigEndian(data.data(), 3);
    const uint32_t packetBytes = GetBigEndian(data.data() + 3, 3);

    if (state == EState::kHeaderTaken) {
        // The master takes up the acknowledged packet length, or less.
        if (number != sample_.number) {
            EndProcedure();
            Reject(smdireject::kTransfer, 1);
            return;
        }
        if (packetBytes == 0 || packetBytes > acceptedPacket_ || packetBytes % SMDIFrameBytes(sample_) != 0) {
            EndProcedure();
            Reject(smdireject::kTransfer, 2);
            return;
        }
        packetBytes_ = packetBytes;
        nextPacket_ = 0;
        sample_.data.clear();
        // A header may announce far more than ever comes; grow as it does.
        sample_.data.reserve(std::min<uint64_t>(SMDIDataBytes(sample_), uint64_t{1} << 28));
        if (sample_.length == 0) {
            Keep(); // nothing to wait for
            return;
        }
        state_ = EState::kTaking;
        SMDIBytes first;
        PutBigEndian(first, 0, 3);
        Answer(BuildSMDIMessage(kSMDISendNextPacket, first));
        return;
    }

    // The master asks for a sample.
    EndProcedure();
    if (!NumberInRange(number)) {
        Reject(smdireject::kSample, smdireject::kOutOfRange);
        return;
    }
    std::shared_ptr<const SSMDISample> sample = store_.Shared(number);
    if (!sample) {
        Reject(smdireject::kSample, smdireject::kNoSample);
        return;
    }
    if (packetBytes == 0 || packetBytes % SMDIFrameBytes(*sample) != 0) {
        Reject(smdireject::kTransfer, 2);
        return;
    }
    giving_ = std::move(sample);
    packetBytes_ = std::min(packetBytes, MaxPacketFor(*giving_));
    nextPacket_ = 0;
    if (!giving_->data.empty())
        state_ = EState::kGiving;
    Answer(BuildSMDIMessage(kSMDIBeginSampleTransferAck, NumberAndLength(number, packetBytes_)));
}

void CSMDIEmulator::OnSendNextPacket(SMDIView data)
{
    if (state_ != EState::kGiving || data.size() != 3) {
        EndProcedure();
        Reject(smdireject::kGeneral, 0);
        return;
    }
    const uint32_t n = GetBigEndian(data.data(), 3);
    if (n != nextPacket_) {
        EndProcedure();
        Reject(smdireject::kPacket, 0);
        return;
    }
    if (PacketFault(n))
        return;
    const SMDIBytes& words = giving_->data;
    const size_t offset = static_cast<size_t>(n) * packetBytes_;
    const size_t count = std::min<size_t>(packetBytes_, words.size() - offset);
    Answer(BuildSMDIDataPacket(n, SMDIView(words.data() + offset, count)));
    ++nextPacket_;
    if (offset + count == words.size())
        EndProcedure();
}

void CSMDIEmulator::OnDataPacket(SMDIView data)
{
    if (state_ != EState::kTaking || data.size() < 3) {
        EndProcedure();
        Reject(smdireject::kGeneral, 0);
        return;
    }
    const uint32_t n = GetBigEndian(data.data(), 3);
    if (n != nextPacket_) {
        EndProcedure();
        Reject(smdireject::kPacket, 0);
        return;
    }
    const uint64_t remaining = SMDIDataBytes(sample_) - sample_.data.size();
    if (data.size() - 3 != std::min<uint64_t>(packetBytes_, remaining)) {
        EndProcedure();
        Reject(smdireject::kPacket, 1);
        return;
    }
    if (PacketFault(n))
        return;
    sample_.data.insert(sample_.data.end(), data.begin() + 3, data.end());
    ++nextPacket_;
    if (sample_.data.size() < SMDIDataBytes(sample_)) {
        SMDIBytes next;
        PutBigEndian(next, nextPacket_, 3);
        Answer(BuildSMDIMessage(kSMDISendNextPacket, next));
        return;
    }
    Keep();
}

void CSMDIEmulator::Keep()
{
    EndProcedure();
    try {
        store_.Put(std::move(sample_));
    } catch (const XBase&) {
        Reject(smdireject::kSample, smdireject::kNotKept);
        return;
    }
    Answer(BuildSMDIMessage(kSMDIEndOfProcedure));
}

void CSMDIEmulator::OnDeleteSample(SMDIView data)
{
    EndProcedure();
    if (data.size() != 3) {
        Reject(smdireject::kGeneral, 0);
        return;
    }
    const uint32_t number = GetBigEndian(data.data(), 3);
    if (!NumberInRange(number)) {
        Reject(smdireject::kSample, smdireject::kOutOfRange);
        return;
    }
    bool removed = false;
    try {
        removed = store_.Remove(number);
    } catch (const XBase&) {
        Reject(smdireject::kGeneral, 0);
        return;
    }
    if (!removed) {
        Reject(smdireject::kSample, smdireject::kNoSample);
        return;
    }
    AnswerAfterWait(BuildSMDIMessage(kSMDIEndOfProcedure));
}

bool CSMDIEmulator::NumberInRange(uint32_t number) const
{
    return number >= model_.firstNumber && number <= model_.lastNumber;
}

bool CSMDIEmulator::CanHold(const SSMDISample& sample) const
{
    if (sample.bits == 0 || sample.bits > 63 || (model_.bitsAccepted >> sample.bits & 1) == 0)
        return false;
    if (sample.channels != 1 && sample.channels != 2)
        return false;
    if (sample.length < model_.minimumFrames || SMDIDataBytes(sample) > kMaxSampleBytes)
        return false;
    if (model_.tableRatesOnly) {
        if (sample.periodNs == 0)
            return false;
        const int64_t rate = 1000000000 / sample.periodNs;
        const auto& rates = EmuSampleRates();
        return std::any_of(rates.begin(), rates.end(),
                           [rate](uint32_t table) { return rate >= table - 1 && rate <= table + 1; });
    }
    return true;
}

uint32_t CSMDIEmulator::MaxPacketFor(const SSMDISample& sample) const
{
    const uint32_t frame = SMDIFrameBytes(sample);
    return kMaxPacketBytes / frame * frame;
}

bool CSMDIEmulator::PacketFault(uint32_t n)
{
    if (Contains(faults_.abortAt, n)) {
        EndProcedure();
        Answer(BuildSMDIMessage(kSMDIAbortProcedure));
        return true;
    }
    if (Contains(faults_.rejectPacket, n)) {
        EndProcedure();
        Reject(smdireject::kGeneral, 0);
        return true;
    }
    return false;
}

void CSMDIEmulator::Answer(SMDIBytes message)
{
    pending_ = std::move(message);
}

void CSMDIEmulator::Reject(uint16_t code, uint16_t subCode)
{
    pending_ = RejectMessage(code, subCode);
}

void CSMDIEmulator::AnswerAfterWait(SMDIBytes message)
{
    pending_ = std::move(message);
    if (faults_.hasWait) {
        waitOwed_ = true;
        holdUntil_ = clock_.Milliseconds() + faults_.waitMs;
    }
}

void CSMDIEmulator::EndProcedure()
{
    state_ = EState::kIdle;
    packetBytes_ = 0;
    nextPacket_ = 0;
    giving_.reset();
}

} // namespace quorvel
