// The emulated Kurzweil sampler's universal messages: its identity, and its
// sample data by the Sample Dump Standard.
#include "devices/emulated/KurzweilEmulator.h"

#include <algorithm>
#include <iostream>

#include "devices/emulated/KurzweilSampleWords.h"
#include "framework/XBase.h"

namespace quorvel {

namespace {

constexpr uint8_t kDevice = 0x00;
constexpr uint8_t kManufacturer = 0x07;

// Sample Dump Standard.
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

void CKurzweilEmulator::OnUniversal(const std::vector<uint8_t>& m)
{
    const uint8_t type = m[3];
    if (type == 0x06) {
        if (m.size() == 6 && m[4] == 0x01) {
            const uint8_t version[4] = {model_.osMajor, model_.osMinor, 0, 0};
            Out({0xF0, 0x7E, kDevice, 0x06, 0x02, kManufacturer, static_cast<uint8_t>(model_.family & 0x7F),
                 static_cast<uint8_t>(model_.family >> 7 & 0x7F), static_cast<uint8_t>(model_.member & 0x7F),
                 static_cast<uint8_t>(model_.member >> 7 & 0x7F), version[0], version[1], version[2], version[3],
                 0xF7});
        }
        return;
    }
    if (type == kHeader)
        StartReceiving(m);
    else if (type == kPacket) {
        if (state_ == EState::kReceiving)
            OnDataPacket(m);
    } else if (type == kRequest) {
        if (m.size() == 7)
            StartDump(static_cast<uint16_t>(m[4] | m[5] << 7));
    } else if (type >= kWait && m.size() == 6) {
        if (state_ == EState::kDumping)
            OnDumpHandshake(type, m[4]);
        else if (state_ == EState::kReceiving && type == kCancel)
            Finish();
    }
}

void CKurzweilEmulator::SDSReply(uint8_t type, uint8_t packet)
{
    Out({0xF0, 0x7E, kDevice, type, static_cast<uint8_t>(packet & 0x7F), 0xF7});
}

void CKurzweilEmulator::StartReceiving(const std::vector<uint8_t>& m)
{
    SSDSSample sample;
    uint32_t length = 0;
    if (!ParseSDSDumpHeader(m, sample, length))
        return;
    Finish();
    if (sample.format < 8 || sample.format > 28 || faults_.cancelHeader) {
        SDSReply(kCancel, 0);
        return;
    }
    if (faults_.rejectHeader) {
        SDSReply(kNak, 0);
        return;
    }
    sample_ = std::move(sample);
    length_ = length;
    packetCount_ = SDSPacketCount(sample_.format, length_);
    packet_ = 0;
    naksSent_.clear();
    state_ = EState::kReceiving;
    if (length_ == 0) {
        // The header is the whole sample.
        try {
            memory_->PutSample(SMDIFromSDS(sample_));
        } catch (const XBase& failure) {
            std::cerr << PortName(model_) << ": could not keep sample " << sample_.number << " ("
                      << failure.what() << ")\n";
            SDSReply(kCancel, 0);
            Finish();
            return;
        }
        Finish();
    }
    SDSReply(kAck, 0);
}

void CKurzweilEmulator::OnDataPacket(const std::vector<uint8_t>& m)
{
    const SSDSPacketCheck check = CheckSDSPacket(m, packet_);
    const uint8_t number = check.number;
    if (check.verdict != ESDSPacketCheck::kTake) {
        SDSReply(check.verdict == ESDSPacketCheck::kAck ? kAck : kNak, number);
        return;
    }
    const uint32_t index = packet_;
    const auto nak = faults_.nakTimes.find(index);
    if (nak != faults_.nakTimes.end() && naksSent_[index] < nak->second) {
        ++naksSent_[index];
        SDSReply(kNak, number);
        return;
    }
    if (Contains(faults_.cancelAt, index)) {
        SDSReply(kCancel, number);
        Finish();
        return;
    }
    const uint32_t perPacket = static_cast<uint32_t>(SDSWordsPerPacket(sample_.format));
    const uint32_t first = index * perPacket;
    const uint32_t count = std::min(perPacket, length_ - first);
    sample_.words.resize(first + count);
    UnpackSDSWords(sample_.format, m.data() + 5, static_cast<int>(count), sample_.words.data() + first);
    ++packet_;
    if (sample_.words.size() == length_) {
        try {
            memory_->PutSample(SMDIFromSDS(sample_));
        } catch (const XBase& failure) {
            std::cerr << PortName(model_) << ": could not keep sample " << sample_.number << " ("
                      << failure.what() << ")\n";
            SDSReply(kCancel, number);
            Finish();
            return;
        }
        Finish();
    }
    SDSReply(kAck, number);
}

void CKurzweilEmulator::StartDump(uint16_t number)
{
    if (faults_.silent)
        return;
    memory_->Sync();
    const std::shared_ptr<const SSMDISample> sample = memory_->Sample(number);
    // A sample it does not hold is not a legal request: ignored.
    if (!sample)
        return;
    Finish();
    sample_ = SDSFromSMDI(*sample, number);
    length_ = static_cast<uint32_t>(sample_.words.size());
    packetCount_ = SDSPacketCount(sample_.format, length_);
    packet_ = 0;
    timesSent_.clear();
    closedLoop_ = false;
    paused_ = false;
    state_ = EState::kDumping;
    SendDumpHeader();
}

void CKurzweilEmulator::SendDumpHeader()
{
    SetAlarm(Clock().Milliseconds() + kDumpReplyMs);
    headerAnswered_ = false;
    Out(SDSDumpHeader(sample_, kDevice));
}

void CKurzweilEmulator::SendDumpPacket()
{
    if (packet_ >= packetCount_) {
        Finish();
        return;
    }
    const uint32_t index = packet_;
    const uint8_t number = static_cast<uint8_t>(index & 0x7F);
    if (Contains(faults_.cancelAt, index)) {
        SDSReply(kCancel, number);
        Finish();
        return;
    }
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
    const int sent = ++timesSent_[index];
    const auto bad = faults_.badChecksum.find(index);
    if (bad != faults_.badChecksum.end() && (bad->second || sent == 1))
        packet[125] ^= 0x01;
    packet[126] = 0xF7;
    SetAlarm(Clock().Milliseconds() + (closedLoop_ ? kDumpReplyMs : 0));
    Out(std::move(packet));
}

void CKurzweilEmulator::OnDumpHandshake(uint8_t type, uint8_t packet)
{
    if (type == kCancel) {
        Finish();
        return;
    }
    if (type == kWait) {
        paused_ = true;
        SetAlarm(0);
        return;
    }
    if (!headerAnswered_) {
        paused_ = false;
        if (type == kAck) {
            headerAnswered_ = true;
            closedLoop_ = true;
            SendDumpPacket();
        } else
            SendDumpHeader();
        return;
    }
    // A handshake for another packet than the one in flight is stale.
    if (packet != (packet_ & 0x7F))
        return;
    paused_ = false;
    if (type == kAck)
        ++packet_;
    SendDumpPacket();
}

void CKurzweilEmulator::OnAlarm()
{
    if (state_ != EState::kDumping || paused_)
        return;
    if (!headerAnswered_) {
        // Nobody answers the header: open loop.
        headerAnswered_ = true;
        closedLoop_ = false;
        SendDumpPacket();
        return;
    }
    closedLoop_ = false;
    ++packet_;
    SendDumpPacket();
}

void CKurzweilEmulator::Finish()
{
    state_ = EState::kIdle;
    paused_ = false;
    SetAlarm(0);
}

} // namespace quorvel
