#include "devices/emulated/SampleDumpEmulator.h"

#include <algorithm>
#include <iostream>

#include "framework/XBase.h"

namespace quorvel {

namespace {

constexpr uint8_t kDevice = 0x00;
constexpr uint8_t kAllCall = 0x7F;
constexpr uint8_t kHeader = 0x01;
constexpr uint8_t kPacket = 0x02;
constexpr uint8_t kRequest = 0x03;
constexpr uint8_t kWait = 0x7C;
constexpr uint8_t kCancel = 0x7D;
constexpr uint8_t kNak = 0x7E;
constexpr uint8_t kAck = 0x7F;

bool Contains(const std::vector<uint32_t>& list, uint32_t value)
{
    return std::find(list.begin(), list.end(), value) != list.end();
}

} // namespace

CABCSampleDumpEmulator::CABCSampleDumpEmulator(SLoopbackMIDIDevice ends, CABCEmulatorClock& clock, std::string name,
                                               const SSampleDumpTiming& timing)
    : CABCMIDIEmulator(std::move(ends), clock), name_(std::move(name)), timing_(timing)
{
}

bool CABCSampleDumpEmulator::TakesHeader(SSDSSample&) { return true; }

bool CABCSampleDumpEmulator::TakeDumpFault(const SEmulatorFault& fault)
{
    if (fault.name == "nak-once")
        faults_.nakTimes[fault.value] = 1;
    else if (fault.name == "nak-twice")
        faults_.nakTimes[fault.value] = 2;
    else if (fault.name == "bad-checksum")
        faults_.badChecksum[fault.value] = true;
    else if (fault.name == "bad-checksum-once")
        faults_.badChecksum.emplace(fault.value, false);
    else if (fault.name == "cancel") {
        faults_.cancelAt.push_back(fault.value);
        faults_.cancelDumpAt.push_back(fault.value);
    } else if (fault.name == "reject-header")
        faults_.rejectHeader = true;
    else if (fault.name == "cancel-header")
        faults_.cancelHeader = true;
    else
        return false;
    return true;
}

void CABCSampleDumpEmulator::Reply(uint8_t type, uint8_t packet)
{
    if (!faults_.silent)
        Send({0xF0, 0x7E, kDevice, type, static_cast<uint8_t>(packet & 0x7F), 0xF7});
}

void CABCSampleDumpEmulator::OnSampleDumpMessage(const std::vector<uint8_t>& message)
{
    if (message.size() < 6 || message[1] != 0x7E || (message[2] != kDevice && message[2] != kAllCall))
        return;
    const uint8_t type = message[3];
    if (type == kHeader)
        StartReceiving(message);
    else if (type == kPacket) {
        if (state_ == EState::kReceiving)
            OnDataPacket(message);
    } else if (type == kRequest) {
        if (message.size() == 7)
            StartDump(static_cast<uint16_t>(message[4] | message[5] << 7));
    } else if (type >= kWait && message.size() == 6) {
        if (state_ == EState::kDumping)
            OnHandshake(type, message[4]);
        else if (state_ == EState::kReceiving && type == kCancel)
            Finish();
    }
}

void CABCSampleDumpEmulator::StartReceiving(const std::vector<uint8_t>& message)
{
    SSDSSample sample;
    uint32_t length = 0;
    if (!ParseSDSDumpHeader(message, sample, length))
        return;
    // A new header ends whatever was under way.
    Finish();
    const uint8_t wireFormat = sample.format;
    if (sample.format < 8 || sample.format > 28 || !TakesHeader(sample) || faults_.cancelHeader) {
        Reply(kCancel, 0);
        return;
    }
    if (faults_.rejectHeader) {
        Reply(kNak, 0);
        return;
    }
    sample_ = std::move(sample);
    sample_.words.reserve(length);
    wireFormat_ = wireFormat;
    length_ = length;
    packetCount_ = SDSPacketCount(wireFormat_, length_);
    packet_ = 0;
    naksSent_.clear();
    dropped_.clear();
    state_ = EState::kReceiving;
    if (faults_.hasWait && faults_.waitMs > 0 && !faults_.silent) {
        const uint64_t now = Clock().Milliseconds();
        holdUntil_ = now + faults_.waitMs;
        nextWait_ = now + timing_.waitRepeatMs;
        Reply(kWait, 0);
        SetAlarm(std::min(holdUntil_, nextWait_));
        return;
    }
    AcceptHeader();
}

void CABCSampleDumpEmulator::AcceptHeader()
{
    // Nothing follows a header of length 0: it is the whole sample.
    if (length_ == 0 && !Keep(0))
        return;
    Reply(kAck, 0);
    if (length_ == 0)
        Finish();
}

bool CABCSampleDumpEmulator::Keep(uint8_t packet)
{
    try {
        KeepSample(sample_);
        return true;
    } catch (const XBase& failure) {
        std::cerr << name_ << ": could not keep sample " << sample_.number << " (" << failure.what() << ")\n";
    }
    Reply(kCancel, packet);
    Finish();
    return false;
}

void CABCSampleDumpEmulator::OnDataPacket(const std::vector<uint8_t>& message)
{
    // A sender that goes on through a WAIT is not heard.
    if (holdUntil_ != 0)
        return;
    const SSDSPacketCheck check = CheckSDSPacket(message, packet_);
    const uint8_t number = check.number;
    if (check.verdict != ESDSPacketCheck::kTake) {
        Reply(check.verdict == ESDSPacketCheck::kAck ? kAck : kNak, number);
        return;
    }
    const uint32_t index = packet_;
    if (Contains(faults_.drop, index) && dropped_[index]++ == 0)
        return; // lost on the way in: neither taken nor answered
    const auto nak = faults_.nakTimes.find(index);
    if (nak != faults_.nakTimes.end() && naksSent_[index] < nak->second) {
        ++naksSent_[index];
        Reply(kNak, number);
        return;
    }
    if (Contains(faults_.cancelAt, index)) {
        Reply(kCancel, number);
        Finish();
        return;
    }
    const uint32_t perPacket = static_cast<uint32_t>(SDSWordsPerPacket(wireFormat_));
    const uint32_t first = index * perPacket;
    const uint32_t count = std::min(perPacket, length_ - first);
    sample_.words.resize(first + count);
    uint32_t* words = sample_.words.data() + first;
    UnpackSDSWords(wireFormat_, message.data() + 5, static_cast<int>(count), words);
    // Words kept wider than they came stand left-justified.
    const int widen = sample_.format - wireFormat_;
    for (uint32_t i = 0; widen > 0 && i < count; ++i)
        words[i] <<= widen;
    const uint8_t ack = Contains(faults_.wrongPacket, index) ? static_cast<uint8_t>(number + 1) : number;
    ++packet_;
    if (sample_.words.size() == length_) {
        if (!Keep(number))
            return;
        Reply(kAck, ack);
        Finish();
        return;
    }
    Reply(kAck, ack);
}

void CABCSampleDumpEmulator::StartDump(uint16_t number)
{
    // A sampler that cannot answer does not dump either.
    if (faults_.silent)
        return;
    std::optional<SSDSSample> sample = SampleToDump(number);
    if (!sample)
        return;
    Finish();
    sample_ = std::move(*sample);
    wireFormat_ = sample_.format;
    length_ = static_cast<uint32_t>(sample_.words.size());
    packetCount_ = SDSPacketCount(sample_.format, length_);
    packet_ = 0;
    timesSent_.clear();
    closedLoop_ = false;
    paused_ = false;
    state_ = EState::kDumping;
    SendHeader();
}

void CABCSampleDumpEmulator::SendHeader()
{
    // The wait counts from the send.
    SetAlarm(Clock().Milliseconds() + timing_.headerReplyMs);
    headerAnswered_ = false;
    Send(SDSDumpHeader(sample_, kDevice));
}

void CABCSampleDumpEmulator::SendPacket()
{
    if (packet_ >= packetCount_) {
        Finish();
        return;
    }
    const uint32_t index = packet_;
    uint8_t number = static_cast<uint8_t>(index & 0x7F);
    if (Contains(faults_.cancelDumpAt, index)) {
        Reply(kCancel, number);
        Finish();
        return;
    }
    if (Contains(faults_.drop, index) && timesSent_[index]++ == 0) {
        // Lost on the way out: nothing goes until the receiver asks again
        // (NAK), however long that takes.
        SetAlarm(0);
        return;
    }
    if (Contains(faults_.wrongPacket, index))
        number = static_cast<uint8_t>((number + 1) & 0x7F);
    std::vector<uint8_t> packet(127);
    packet[0] = 0xF0;
    packet[1] = 0x7E;
    packet[2] = kDevice;
    packet[3] = kPacket;
    packet[4] = number;
    const uint32_t perPacket = static_cast<uint32_t>(SDSWordsPerPacket(sample_.format));
    const uint32_t first = index * perPacket;
    const uint32_t count = std::min(perPacket, length_ - first);
    PackSDSWords(sample_.format, sample_.words.data() + first, static_cast<int>(count), packet.data() + 5);
    packet[125] = SDSPacketChecksum(packet.data());
    const int sent = ++timesSent_[index] - (Contains(faults_.drop, index) ? 1 : 0);
    const auto bad = faults_.badChecksum.find(index);
    if (bad != faults_.badChecksum.end() && (bad->second || sent == 1))
        packet[125] ^= 0x01;
    packet[126] = 0xF7;
    // The wait counts from the send. Open loop: the next packet follows at
    // once, once anything that came in meanwhile has been heard.
    const bool wait = closedLoop_ || !timing_.openLoop;
    SetAlarm(Clock().Milliseconds() + (wait ? timing_.packetReplyMs : 0));
    Send(packet);
}

void CABCSampleDumpEmulator::NextPacket()
{
    ++packet_;
    SendPacket();
}

void CABCSampleDumpEmulator::OnHandshake(uint8_t type, uint8_t packet)
{
    if (type == kCancel) {
        Finish();
        return;
    }
    if (type == kWait) {
        // Nothing more goes out until the receiver speaks again.
        paused_ = true;
        SetAlarm(0);
        return;
    }
    if (!headerAnswered_) {
        paused_ = false;
        if (type == kAck) {
            headerAnswered_ = true;
            closedLoop_ = true;
            SendPacket();
        } else if (timing_.headerAgainRestartsWait)
            SendHeader();
        else
            Send(SDSDumpHeader(sample_, kDevice));
        return;
    }
    // A handshake for another packet than the one in flight is stale.
    if (packet != (packet_ & 0x7F))
        return;
    paused_ = false;
    if (type == kAck)
        NextPacket();
    else
        SendPacket();
}

void CABCSampleDumpEmulator::OnAlarm()
{
    if (state_ == EState::kReceiving && holdUntil_ != 0) {
        const uint64_t now = Clock().Milliseconds();
        if (now >= holdUntil_) {
            holdUntil_ = 0;
            AcceptHeader();
            return;
        }
        if (now >= nextWait_) {
            Reply(kWait, 0);
            nextWait_ = now + timing_.waitRepeatMs;
        }
        SetAlarm(std::min(holdUntil_, nextWait_));
        return;
    }
    if (state_ != EState::kDumping || paused_)
        return;
    if (!headerAnswered_) {
        // No answer to the header: nobody is listening back; open loop.
        headerAnswered_ = true;
        closedLoop_ = false;
        SendPacket();
        return;
    }
    // No handshake in time: go on without it.
    closedLoop_ = false;
    NextPacket();
}

void CABCSampleDumpEmulator::Finish()
{
    state_ = EState::kIdle;
    holdUntil_ = 0;
    paused_ = false;
    SetAlarm(0);
}

} // namespace quorvel
