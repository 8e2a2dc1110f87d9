#include "devices/emulated/S760Emulator.h"

#include <algorithm>
#include <iostream>

#include "devices/emulated/RolandSysex.h"
#include "framework/XBase.h"

namespace quorvel {

namespace {

constexpr uint8_t kDevice = 0x00;
constexpr uint8_t kAllCall = 0x7F;

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

SSampleDumpTiming DumpTiming()
{
    // Every packet waits its time, answered or not, and a header sent again
    // keeps the first one's wait.
    SSampleDumpTiming timing;
    timing.headerReplyMs = CS760Emulator::kDumpReplyMs;
    timing.packetReplyMs = CS760Emulator::kDumpReplyMs;
    timing.openLoop = false;
    timing.headerAgainRestartsWait = false;
    return timing;
}

} // namespace

CS760Emulator::CS760Emulator(SLoopbackMIDIDevice ends, CABCEmulatorClock& clock,
                             const std::vector<SEmulatorFault>& faults, const std::string& folder)
    : CABCSampleDumpEmulator(std::move(ends), clock, kPortName, DumpTiming()), memory_(folder)
{
    SSampleDumpFaults& dump = DumpFaults();
    for (const SEmulatorFault& fault : faults) {
        if (fault.name == "reject")
            faults_.reject.push_back(fault.value);
        else if (fault.name == "bad-checksum")
            faults_.badChecksum.push_back(fault.value);
        else if (fault.name == "nak-once")
            dump.nakTimes[fault.value] = 1;
        else if (fault.name == "nak-twice")
            dump.nakTimes[fault.value] = 2;
        else if (fault.name == "cancel")
            dump.cancelAt.push_back(fault.value); // received sample dump packets only
        else if (fault.name == "silent")
            faults_.silent = true;
        else if (fault.name == "reject-header")
            dump.rejectHeader = true;
        else if (fault.name == "cancel-header")
            dump.cancelHeader = true;
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
        OnSampleDumpMessage(message);
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

bool CS760Emulator::TakesHeader(SSDSSample& sample)
{
    const SS760Region& samples = *FindS760Region(s760::kSampleCategory);
    // The sampler keeps 16-bit words and no more samples than it has slots.
    if (sample.number >= samples.count || sample.format > 16)
        return false;
    sample.format = 16;
    return true;
}

void CS760Emulator::KeepSample(const SSDSSample& sample)
{
    const SS760Region& region = *FindS760Region(s760::kSampleCategory);
    const uint32_t number = sample.number;
    const uint32_t frames = static_cast<uint32_t>(sample.words.size());
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
    const bool looped = sample.loopType != 0x7F && sample.loopStart <= sample.loopEnd && sample.loopEnd <= last;
    const uint32_t loopStart = looped ? sample.loopStart : last;
    const uint32_t loopEnd = looped ? sample.loopEnd : last;
    PutLE(params, 16, AddressOfFrame(0, bank), 4);
    PutLE(params, 20, AddressOfFrame(loopStart, bank), 4);
    PutLE(params, 24, AddressOfFrame(loopEnd, bank), 4);
    PutLE(params, 28, AddressOfFrame(loopStart, bank), 4);
    PutLE(params, 32, AddressOfFrame(last, bank), 4);
    params[36] = !looped ? 2 : sample.loopType == 0x01 ? 4 : 0;
    PutLE(params, 42, (frames + kFramesPerBlock - 1) / kFramesPerBlock, 2);
    params[44] = IndexOfRate(sample.periodNs == 0 ? 0 : 1000000000u / sample.periodNs);
    // The sender has its ACK already: a failure here is only reported.
    try {
        memory_.SampleData().Put(sample);
        memory_.Write(region.base + number * region.blockBytes, roland::NibblePairs(params));
    } catch (const XBase& failure) {
        std::cerr << kPortName << ": could not keep sample " << number << " (" << failure.what() << ")\n";
    }
}

std::optional<SSDSSample> CS760Emulator::SampleToDump(uint16_t number)
{
    std::optional<SSDSSample> sample = memory_.SampleData().Find(number);
    // A sample it does not hold is not a legal request: ignored.
    if (!sample)
        return std::nullopt;
    std::vector<uint8_t> params(kParamBytes, 0);
    if (std::optional<std::vector<uint8_t>> block = memory_.Block(s760::kSampleCategory, number))
        params = roland::FromNibblePairs(block->data(), kParamBytes);
    else
        PutLE(params, 42, static_cast<uint32_t>((sample->words.size() + kFramesPerBlock - 1) / kFramesPerBlock), 2);
    const uint32_t length = std::min<uint32_t>(FramesOfBlocks(GetLE(params, 42, 2)), 0x1FFFFF);
    sample->words.resize(length, kSilence);
    sample->format = 16;
    sample->periodNs = 1000000000u / RateOfIndex(params[44]);
    const uint32_t bank = GetLE(params, 40, 2);
    const uint8_t mode = params[36];
    const uint32_t loopStart = FrameOfAddress(GetLE(params, 20, 4), bank);
    const uint32_t loopEnd = FrameOfAddress(GetLE(params, 24, 4), bank);
    if ((mode == 0 || mode == 1 || mode == 3 || mode == 4) && loopStart <= loopEnd && loopEnd < length) {
        sample->loopStart = loopStart;
        sample->loopEnd = loopEnd;
        sample->loopType = mode == 4 ? 0x01 : 0x00;
    } else {
        sample->loopStart = sample->loopEnd = length;
        sample->loopType = 0x7F;
    }
    return sample;
}

} // namespace quorvel
