#include "devices/emulated/S760Emulator.h"

#include <algorithm>
#include <iostream>

#include "devices/emulated/RolandSysex.h"
#include "framework/XBase.h"

namespace quorvel {

namespace {

constexpr uint8_t kDevice = 0x00;
constexpr uint8_t kAllCall = 0x7F;
// Sample dump message types.
constexpr uint8_t kHeader = 0x01;
constexpr uint8_t kPacket = 0x02;
constexpr uint8_t kRequest = 0x03;
constexpr uint8_t kWait = 0x7C;
constexpr uint8_t kCancel = 0x7D;
constexpr uint8_t kNak = 0x7E;
constexpr uint8_t kAck = 0x7F;

constexpr uint32_t kRates[8] = {48000, 44100, 24000, 22050, 30000, 15000, 32000, 16000};
// A sample parameter block: 48 bytes, numbers least significant byte first.
constexpr size_t kParamBytes = 48;
constexpr uint32_t kAddressBias = 2048;
constexpr uint32_t kBankBytes = 9 * 131072;
// The silence of a 16-bit word that counts from the most negative value.
constexpr uint32_t kSilence = 0x8000;

bool Contains(const std::vector<uint32_t>& list, uint32_t value)
{
    return std::find(list.begin(), list.end(), value) != list.end();
}

uint32_t GetLE(const std::vector<uint8_t>& bytes, size_t at, int count)
{
    uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = value << 8 | bytes[at + static_cast<size_t>(i)];
    return value;
}

void PutLE(std::vector<uint8_t>& bytes, size_t at, uint32_t value, int count)
{
    for (int i = 0; i < count; ++i)
        bytes[at + static_cast<size_t>(i)] = static_cast<uint8_t>(value >> (8 * i));
}

uint32_t AddressOfFrame(uint32_t frame, uint32_t bank) { return frame * 256 + bank * kBankBytes + kAddressBias; }

uint32_t FrameOfAddress(uint32_t address, uint32_t bank)
{
    const uint32_t base = bank * kBankBytes + kAddressBias;
    return address < base ? 0 : (address - base) >> 8;
}

} // namespace

CS760Emulator::CS760Emulator(SLoopbackMIDIDevice ends, CABCEmulatorClock& clock,
                             const std::vector<SEmulatorFault>& faults, const std::string& folder)
    : CABCMIDIEmulator(std::move(ends), clock), memory_(folder)
{
    for (const SEmulatorFault& fault : faults) {
        if (fault.name == "reject")
            faults_.reject.push_back(fault.value);
        else if (fault.name == "bad-checksum")
            faults_.badChecksum.push_back(fault.value);
        else if (fault.name == "nak-once")
            faults_.nakTimes[fault.value] = 1;
        else if (fault.name == "nak-twice")
            faults_.nakTimes[fault.value] = 2;
        else if (fault.name == "cancel")
            faults_.cancelAt.push_back(fault.value);
        else if (fault.name == "silent")
            faults_.silent = true;
        else if (fault.name == "reject-header")
            faults_.rejectHeader = true;
        else if (fault.name == "cancel-header")
            faults_.cancelHeader = true;
        // Others belong to other protocols.
    }
    Start();
}

CS760Emulator::~CS760Emulator() { Stop(); }

uint32_t CS760Emulator::RateOfIndex(uint8_t index) { return index < 8 ? kRates[index] : 44100; }

uint8_t CS760Emulator::IndexOfRate(uint32_t rate)
{
    uint8_t best = 0;
    for (uint8_t i = 0; i < 8; ++i)
        if (kRates[i] >= rate && kRates[i] < kRates[best])
            best = i;
    return best;
}

void CS760Emulator::OnMessage(const std::vector<uint8_t>& message)
{
    // A sampler that does not answer does not listen either.
    if (faults_.silent || message.size() < 6)
        return;
    if (message[1] == roland::kManufacturer && message[2] == kDevice && message[3] == kModel)
        OnRoland(message);
    else if (message[1] == 0x7E && (message[2] == kDevice || message[2] == kAllCall))
        OnSDS(message);
}

// Roland messages.

void CS760Emulator::Answer(uint8_t command) { Send(roland::Message(kDevice, kModel, command, {})); }

void CS760Emulator::SendData(uint8_t command, uint32_t address, const uint8_t* data, size_t count)
{
    std::vector<uint8_t> message = roland::AddressAndData(kDevice, kModel, command, address, data, count);
    if (Contains(faults_.badChecksum, ++dataSent_))
        message[message.size() - 2] ^= 0x01;
    Send(message);
}

void CS760Emulator::OnRoland(const std::vector<uint8_t>& m)
{
    const uint8_t command = m[4];
    if (Contains(faults_.reject, ++rolandReceived_)) {
        exchange_ = EExchange::kNone;
        Answer(roland::kRejection);
        return;
    }
    const bool addressAndSize = m.size() == 15;
    switch (command) {
    case roland::kDataSet:
        // One way: nobody waits for an answer, so a damaged one is dropped.
        if (m.size() >= 12 && roland::ChecksumHolds(m))
            OnDataSet(roland::GetNumber(&m[5]), std::vector<uint8_t>(m.begin() + 9, m.end() - 2));
        return;
    case roland::kRequestOneWay:
        if (addressAndSize && roland::ChecksumHolds(m))
            OnOneWayRequest(roland::GetNumber(&m[5]), roland::GetNumber(&m[9]));
        return;
    case roland::kWantToSend:
    case roland::kRequestData:
    case roland::kEndOfData:
        if (!addressAndSize || !roland::ChecksumHolds(m)) {
            Answer(roland::kError);
            return;
        }
        if (command == roland::kWantToSend)
            OnWantToSend(roland::GetNumber(&m[5]), roland::GetNumber(&m[9]));
        else if (command == roland::kRequestData)
            OnRequestData(roland::GetNumber(&m[5]), roland::GetNumber(&m[9]));
        else
            OnEndOfData(roland::GetNumber(&m[5]), roland::GetNumber(&m[9]));
        return;
    case roland::kData:
        OnData(m);
        return;
    case roland::kAcknowledge:
    case roland::kError:
    case roland::kRejection:
        OnReaderAnswer(command);
        return;
    default:
        return;
    }
}

void CS760Emulator::OnDataSet(uint32_t address, const std::vector<uint8_t>& data)
{
    if (address == kFileListAddress) {
        SendFileList(data[0]);
        return;
    }
    if (address == kModeAddress) {
        for (size_t i = 0; i < mode_.size() && i < data.size(); ++i)
            mode_[i] = data[i];
        SendData(roland::kDataSet, kModeAddress, mode_.data(), mode_.size());
        return;
    }
    if (!CS760Memory::Covers(address, static_cast<uint32_t>(data.size())))
        return;
    try {
        memory_.Write(address, data);
    } catch (const XBase& failure) {
        std::cerr << kPortName << ": could not keep what was written (" << failure.what() << ")\n";
    }
}

void CS760Emulator::OnOneWayRequest(uint32_t address, uint32_t size)
{
    if (address == kModeAddress) {
        SendData(roland::kDataSet, kModeAddress, mode_.data(), mode_.size());
        return;
    }
    std::vector<uint8_t> bytes;
    if (!memory_.Read(address, size, bytes))
        return;
    for (size_t at = 0; at < bytes.size(); at += kPieceBytes)
        SendData(roland::kDataSet, address + static_cast<uint32_t>(at), bytes.data() + at,
                 std::min(kPieceBytes, bytes.size() - at));
}

void CS760Emulator::SendFileList(uint8_t category)
{
    std::vector<SS760Entry> entries;
    if (FindS760Region(category))
        entries = memory_.Entries(category);
    std::vector<uint8_t> list;
    for (const SS760Entry& entry : entries) {
        list.push_back(category);
        list.push_back(static_cast<uint8_t>(entry.number >> 8 & 0x0F));
        list.push_back(static_cast<uint8_t>(entry.number >> 4 & 0x0F));
        list.push_back(static_cast<uint8_t>(entry.number & 0x0F));
        for (size_t i = 0; i < 16; ++i)
            list.push_back(static_cast<uint8_t>(entry.name[i] & 0x7F));
    }
    // Category 0 ends the list.
    list.resize(list.size() + kEntryBytes, 0);
    const size_t setBytes = kEntriesPerSet * kEntryBytes;
    for (size_t at = 0; at < list.size(); at += setBytes)
        SendData(roland::kDataSet, kFileListAddress, list.data() + at, std::min(setBytes, list.size() - at));
}

void CS760Emulator::OnWantToSend(uint32_t address, uint32_t size)
{
    if (!CS760Memory::Covers(address, size)) {
        exchange_ = EExchange::kNone;
        Answer(roland::kRejection);
        return;
    }
    exchange_ = EExchange::kWriting;
    address_ = address;
    size_ = size;
    bytes_.clear();
    Answer(roland::kAcknowledge);
}

void CS760Emulator::OnData(const std::vector<uint8_t>& m)
{
    if (exchange_ != EExchange::kWriting)
        return;
    if (m.size() < 12 || !roland::ChecksumHolds(m)) {
        // Damaged on the way: the sender sends it again.
        Answer(roland::kError);
        return;
    }
    const size_t count = m.size() - 11;
    if (roland::GetNumber(&m[5]) != address_ + bytes_.size() || count > kPieceBytes ||
        bytes_.size() + count > size_) {
        exchange_ = EExchange::kNone;
        Answer(roland::kRejection);
        return;
    }
    bytes_.insert(bytes_.end(), m.begin() + 9, m.end() - 2);
    Answer(roland::kAcknowledge);
}

void CS760Emulator::OnEndOfData(uint32_t address, uint32_t size)
{
    if (exchange_ == EExchange::kWriting && address == address_ && size == size_ && bytes_.size() == size_) {
        exchange_ = EExchange::kNone;
        try {
            memory_.Write(address_, bytes_);
        } catch (const XBase& failure) {
            std::cerr << kPortName << ": could not keep what was written (" << failure.what() << ")\n";
            Answer(roland::kRejection);
            return;
        }
        Answer(roland::kAcknowledge);
        return;
    }
    exchange_ = EExchange::kNone;
    Answer(roland::kRejection);
}

void CS760Emulator::OnRequestData(uint32_t address, uint32_t size)
{
    std::vector<uint8_t> bytes;
    if (!memory_.Read(address, size, bytes)) {
        exchange_ = EExchange::kNone;
        Answer(roland::kRejection);
        return;
    }
    exchange_ = EExchange::kReading;
    address_ = address;
    size_ = size;
    bytes_ = std::move(bytes);
    done_ = 0;
    SendReadPiece();
}

void CS760Emulator::SendReadPiece()
{
    if (done_ >= bytes_.size()) {
        exchange_ = EExchange::kEnding;
        Send(roland::AddressAndSize(kDevice, kModel, roland::kEndOfData, address_, size_));
        return;
    }
    piece_ = std::min(kPieceBytes, bytes_.size() - done_);
    SendData(roland::kData, address_ + static_cast<uint32_t>(done_), bytes_.data() + done_, piece_);
}

void CS760Emulator::OnReaderAnswer(uint8_t command)
{
    if (exchange_ != EExchange::kReading && exchange_ != EExchange::kEnding)
        return;
    if (command == roland::kRejection) {
        exchange_ = EExchange::kNone;
        return;
    }
    if (command == roland::kError) {
        // The last message arrived damaged: again.
        SendReadPiece();
        return;
    }
    if (exchange_ == EExchange::kEnding) {
        exchange_ = EExchange::kNone;
        return;
    }
    done_ += piece_;
    SendReadPiece();
}

// Sample dumps.

void CS760Emulator::Handshake(uint8_t type, uint8_t packet)
{
    Send({0xF0, 0x7E, kDevice, type, static_cast<uint8_t>(packet & 0x7F), 0xF7});
}

void CS760Emulator::OnSDS(const std::vector<uint8_t>& m)
{
    const uint8_t type = m[3];
    if (type == kHeader)
        StartReceiving(m);
    else if (type == kPacket) {
        if (dump_ == EDump::kReceiving)
            OnDataPacket(m);
    } else if (type == kRequest) {
        if (m.size() == 7)
            StartDump(static_cast<uint16_t>(m[4] | m[5] << 7));
    } else if (type >= kWait && m.size() == 6) {
        if (dump_ == EDump::kDumping)
            OnDumpHandshake(type, m[4]);
        else if (dump_ == EDump::kReceiving && type == kCancel)
            FinishDump();
    }
}

void CS760Emulator::StartReceiving(const std::vector<uint8_t>& m)
{
    SSDSSample sample;
    uint32_t length = 0;
    if (!ParseSDSDumpHeader(m, sample, length))
        return;
    FinishDump();
    const SS760Region& samples = *FindS760Region(s760::kSampleCategory);
    // The sampler keeps 16-bit words and no more samples than it has slots.
    if (sample.number >= samples.count || sample.format < 8 || sample.format > 16 || faults_.cancelHeader) {
        Handshake(kCancel, 0);
        return;
    }
    if (faults_.rejectHeader) {
        Handshake(kNak, 0);
        return;
    }
    sample_ = std::move(sample);
    format_ = sample_.format;
    sample_.format = 16;
    sample_.words.clear();
    sample_.words.reserve(length);
    length_ = length;
    packet_ = 0;
    naksSent_.clear();
    dump_ = EDump::kReceiving;
    Handshake(kAck, 0);
    if (length_ == 0)
        KeepReceived();
}

void CS760Emulator::OnDataPacket(const std::vector<uint8_t>& m)
{
    const SSDSPacketCheck check = CheckSDSPacket(m, packet_);
    const uint8_t number = check.number;
    if (check.verdict != ESDSPacketCheck::kTake) {
        Handshake(check.verdict == ESDSPacketCheck::kAck ? kAck : kNak, number);
        return;
    }
    const uint32_t index = packet_;
    const auto nak = faults_.nakTimes.find(index);
    if (nak != faults_.nakTimes.end() && naksSent_[index] < nak->second) {
        ++naksSent_[index];
        Handshake(kNak, number);
        return;
    }
    if (Contains(faults_.cancelAt, index)) {
        Handshake(kCancel, number);
        FinishDump();
        return;
    }
    const uint32_t perPacket = static_cast<uint32_t>(SDSWordsPerPacket(format_));
    const uint32_t count = std::min(perPacket, length_ - index * perPacket);
    std::vector<uint32_t> words(count);
    UnpackSDSWords(format_, m.data() + 5, static_cast<int>(count), words.data());
    for (uint32_t word : words)
        sample_.words.push_back(word << (16 - format_));
    ++packet_;
    if (sample_.words.size() < length_) {
        Handshake(kAck, number);
        return;
    }
    Handshake(kAck, number);
    KeepReceived();
}

void CS760Emulator::KeepReceived()
{
    FinishDump();
    const SS760Region& region = *FindS760Region(s760::kSampleCategory);
    const uint32_t number = sample_.number;
    const uint32_t frames = static_cast<uint32_t>(sample_.words.size());
    // The parameter block follows the dump; a block already there keeps its
    // name and the settings a dump does not carry.
    std::vector<uint8_t> params(kParamBytes, 0);
    if (std::optional<std::vector<uint8_t>> block = memory_.Block(s760::kSampleCategory, number))
        params = roland::FromNibblePairs(block->data(), kParamBytes);
    else {
        const std::string name = "Sample " + std::to_string(number);
        for (size_t i = 0; i < 16; ++i)
            params[i] = static_cast<uint8_t>(i < name.size() ? name[i] : ' ');
        params[45] = 60;
    }
    const uint32_t bank = GetLE(params, 40, 2);
    const uint32_t last = frames == 0 ? 0 : frames - 1;
    const bool looped = sample_.loopType != 0x7F && sample_.loopStart <= sample_.loopEnd && sample_.loopEnd <= last;
    const uint32_t loopStart = looped ? sample_.loopStart : last;
    const uint32_t loopEnd = looped ? sample_.loopEnd : last;
    PutLE(params, 16, AddressOfFrame(0, bank), 4);
    PutLE(params, 20, AddressOfFrame(loopStart, bank), 4);
    PutLE(params, 24, AddressOfFrame(loopEnd, bank), 4);
    PutLE(params, 28, AddressOfFrame(loopStart, bank), 4);
    PutLE(params, 32, AddressOfFrame(last, bank), 4);
    params[36] = !looped ? 2 : sample_.loopType == 0x01 ? 4 : 0;
    PutLE(params, 42, (frames + kFramesPerBlock - 1) / kFramesPerBlock, 2);
    params[44] = IndexOfRate(sample_.periodNs == 0 ? 0 : 1000000000u / sample_.periodNs);
    try {
        memory_.SampleData().Put(sample_);
        memory_.Write(region.base + number * region.blockBytes, roland::NibblePairs(params));
    } catch (const XBase& failure) {
        std::cerr << kPortName << ": could not keep sample " << number << " (" << failure.what() << ")\n";
    }
}

void CS760Emulator::StartDump(uint16_t number)
{
    std::optional<SSDSSample> data = memory_.SampleData().Find(number);
    // A sample it does not hold is not a legal request: ignored.
    if (!data)
        return;
    FinishDump();
    std::vector<uint8_t> params(kParamBytes, 0);
    if (std::optional<std::vector<uint8_t>> block = memory_.Block(s760::kSampleCategory, number))
        params = roland::FromNibblePairs(block->data(), kParamBytes);
    else
        PutLE(params, 42, static_cast<uint32_t>((data->words.size() + kFramesPerBlock - 1) / kFramesPerBlock), 2);
    sample_ = std::move(*data);
    length_ = std::min<uint32_t>(FramesOfBlocks(GetLE(params, 42, 2)), 0x1FFFFF);
    sample_.words.resize(length_, kSilence);
    sample_.format = 16;
    format_ = 16;
    sample_.periodNs = 1000000000u / RateOfIndex(params[44]);
    const uint32_t bank = GetLE(params, 40, 2);
    const uint8_t mode = params[36];
    const uint32_t loopStart = FrameOfAddress(GetLE(params, 20, 4), bank);
    const uint32_t loopEnd = FrameOfAddress(GetLE(params, 24, 4), bank);
    if ((mode == 0 || mode == 1 || mode == 3 || mode == 4) && loopStart <= loopEnd && loopEnd < length_) {
        sample_.loopStart = loopStart;
        sample_.loopEnd = loopEnd;
        sample_.loopType = mode == 4 ? 0x01 : 0x00;
    } else {
        sample_.loopStart = sample_.loopEnd = length_;
        sample_.loopType = 0x7F;
    }
    packetCount_ = SDSPacketCount(16, length_);
    packet_ = 0;
    headerAnswered_ = false;
    paused_ = false;
    dump_ = EDump::kDumping;
    SetAlarm(Clock().Milliseconds() + kDumpReplyMs);
    Send(SDSDumpHeader(sample_, kDevice));
}

void CS760Emulator::SendDumpPacket()
{
    if (packet_ >= packetCount_) {
        FinishDump();
        return;
    }
    std::vector<uint8_t> packet(127, 0);
    packet[0] = 0xF0;
    packet[1] = 0x7E;
    packet[2] = kDevice;
    packet[3] = kPacket;
    packet[4] = static_cast<uint8_t>(packet_ & 0x7F);
    const uint32_t perPacket = static_cast<uint32_t>(SDSWordsPerPacket(16));
    const uint32_t first = packet_ * perPacket;
    const uint32_t count = std::min(perPacket, length_ - first);
    PackSDSWords(16, sample_.words.data() + first, static_cast<int>(count), packet.data() + 5);
    packet[125] = SDSPacketChecksum(packet.data());
    packet[126] = 0xF7;
    SetAlarm(Clock().Milliseconds() + kDumpReplyMs);
    Send(packet);
}

void CS760Emulator::OnDumpHandshake(uint8_t type, uint8_t packet)
{
    if (type == kCancel) {
        FinishDump();
        return;
    }
    if (type == kWait) {
        // Nothing more goes out until the receiver speaks again.
        paused_ = true;
        SetAlarm(0);
        return;
    }
    paused_ = false;
    if (!headerAnswered_) {
        if (type == kAck) {
            headerAnswered_ = true;
            SendDumpPacket();
        } else
            Send(SDSDumpHeader(sample_, kDevice));
        return;
    }
    // A handshake for another packet than the one in flight is stale.
    if (packet != (packet_ & 0x7F))
        return;
    if (type == kAck)
        ++packet_;
    SendDumpPacket();
}

void CS760Emulator::OnAlarm()
{
    if (dump_ != EDump::kDumping || paused_)
        return;
    // Nobody answers: go on without the handshake.
    if (!headerAnswered_)
        headerAnswered_ = true;
    else
        ++packet_;
    SendDumpPacket();
}

void CS760Emulator::FinishDump()
{
    dump_ = EDump::kIdle;
    paused_ = false;
    SetAlarm(0);
}

} // namespace quorvel
