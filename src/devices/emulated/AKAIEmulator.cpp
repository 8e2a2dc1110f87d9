#include "devices/emulated/AKAIEmulator.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "devices/emulated/SDSSample.h"
#include "framework/XBase.h"

namespace quorvel {

namespace {

constexpr uint8_t kChannel = 0x00;
constexpr uint8_t kAKAI = 0x47;
constexpr uint8_t kFamily = 0x48;

// Operation codes of the exclusive messages.
constexpr uint8_t kRequestStatus = 0x00;
constexpr uint8_t kStatus = 0x01;
constexpr uint8_t kRequestProgramNames = 0x02;
constexpr uint8_t kProgramNames = 0x03;
constexpr uint8_t kRequestSampleNames = 0x04;
constexpr uint8_t kSampleNames = 0x05;
constexpr uint8_t kRequestProgram = 0x06;
constexpr uint8_t kProgram = 0x07;
constexpr uint8_t kRequestKeygroup = 0x08;
constexpr uint8_t kKeygroup = 0x09;
constexpr uint8_t kRequestSampleHeader = 0x0A;
constexpr uint8_t kSampleHeader = 0x0B;
constexpr uint8_t kRequestPackets = 0x0C;
constexpr uint8_t kAcceptPackets = 0x0D;
constexpr uint8_t kDeleteProgram = 0x12;
constexpr uint8_t kDeleteKeygroup = 0x13;
constexpr uint8_t kDeleteSample = 0x14;
constexpr uint8_t kReply = 0x16;
// The later models' header messages: the S1000 codes 06 to 0B moved up by
// this much, always with an offset and a byte count.
constexpr uint8_t kHeaderBytesShift = 0x21;
constexpr uint8_t kFirstHeaderBytes = 0x27;
constexpr uint8_t kLastHeaderBytes = 0x2C;
constexpr uint8_t kRequestMiscBytes = 0x33;
constexpr uint8_t kMiscBytes = 0x34;
constexpr uint8_t kAllKeygroups = 0x7F;

// Block identities in byte 0 of each block.
constexpr uint8_t kProgramBlock = 1;
constexpr uint8_t kKeygroupBlock = 2;
constexpr uint8_t kSampleBlock = 3;

// Offsets in the blocks the sampler itself looks at.
constexpr size_t kNameAt = 3;
constexpr size_t kNameLength = 12;
constexpr size_t kKeygroupCountAt = 42; // program header
constexpr size_t kLoopCountAt = 16;     // sample header, and the fields after it
constexpr size_t kLoopModeAt = 19;
constexpr size_t kLengthAt = 26;
constexpr size_t kPlayStartAt = 30;
constexpr size_t kPlayEndAt = 34;
constexpr size_t kLoop1PointAt = 38;
constexpr size_t kLoop1LengthAt = 44; // the whole part, after two bytes of fraction
constexpr size_t kRateAt = 138;
// Keygroups sent for this program number go to the program made last.
constexpr size_t kLastMadeProgram = 255;
constexpr size_t kMaxKeygroups = 99;

// SDS message types.
constexpr uint8_t kDumpHeader = 0x01;
constexpr uint8_t kDataPacket = 0x02;
constexpr uint8_t kDumpRequest = 0x03;
constexpr uint8_t kWait = 0x7C;
constexpr uint8_t kCancel = 0x7D;
constexpr uint8_t kNak = 0x7E;
constexpr uint8_t kAck = 0x7F;

uint32_t Get7(const std::vector<uint8_t>& m, size_t at, int count)
{
    uint32_t value = 0;
    for (int i = 0; i < count; ++i)
        value |= static_cast<uint32_t>(m[at + static_cast<size_t>(i)] & 0x7F) << (7 * i);
    return value;
}

void Put7(std::vector<uint8_t>& out, uint32_t value, int count)
{
    for (int i = 0; i < count; ++i)
        out.push_back(static_cast<uint8_t>((value >> (7 * i)) & 0x7F));
}

uint32_t GetLE(const AKAIBlock& block, size_t at, int count)
{
    uint32_t value = 0;
    for (int i = 0; i < count; ++i)
        value |= static_cast<uint32_t>(block[at + static_cast<size_t>(i)]) << (8 * i);
    return value;
}

void SetLE(AKAIBlock& block, size_t at, uint32_t value, int count)
{
    for (int i = 0; i < count; ++i)
        block[at + static_cast<size_t>(i)] = static_cast<uint8_t>(value >> (8 * i));
}

// The sampler's 41-character alphabet; anything else is a space (code 10).
void PutName(AKAIBlock& block, const std::string& name)
{
    static const std::string alphabet = "0123456789 ABCDEFGHIJKLMNOPQRSTUVWXYZ#+-.";
    for (size_t i = 0; i < kNameLength; ++i) {
        const char c = i < name.size() ? static_cast<char>(std::toupper(static_cast<unsigned char>(name[i]))) : ' ';
        const size_t code = alphabet.find(c);
        block[kNameAt + i] = static_cast<uint8_t>(code == std::string::npos ? 10 : code);
    }
}

bool SameName(const AKAIBlock& a, const AKAIBlock& b)
{
    return std::equal(a.begin() + kNameAt, a.begin() + kNameAt + kNameLength, b.begin() + kNameAt);
}

bool Contains(const std::vector<uint32_t>& list, uint32_t value)
{
    return std::find(list.begin(), list.end(), value) != list.end();
}

} // namespace

CAKAIEmulator::CAKAIEmulator(const SAKAIEmulatorModel& model, SLoopbackMIDIDevice ends, CABCEmulatorClock& clock,
                             const std::vector<SEmulatorFault>& faults, const std::string& folder)
    : CABCMIDIEmulator(std::move(ends), clock), model_(model), memory_(model.BlockBytes(), folder)
{
    for (const SEmulatorFault& fault : faults) {
        if (fault.name == "nak-once")
            faults_.nakTimes[fault.value] = 1;
        else if (fault.name == "nak-twice")
            faults_.nakTimes[fault.value] = 2;
        else if (fault.name == "bad-checksum")
            faults_.badChecksum[fault.value] = true;
        else if (fault.name == "bad-checksum-once")
            faults_.badChecksum.emplace(fault.value, false);
        else if (fault.name == "cancel")
            faults_.cancelAt.push_back(fault.value);
        else if (fault.name == "wait")
            faults_.waitMs = fault.value;
        else if (fault.name == "silent")
            faults_.silent = true;
        else if (fault.name == "reject-header")
            faults_.rejectHeader = true;
        // Others belong to other protocols.
    }
    Start();
}

CAKAIEmulator::~CAKAIEmulator() { Stop(); }

void CAKAIEmulator::Out(const std::vector<uint8_t>& message)
{
    if (!faults_.silent)
        Send(message);
}

void CAKAIEmulator::Reply(uint8_t result) { Out({0xF0, kAKAI, kChannel, kReply, kFamily, result, 0xF7}); }

void CAKAIEmulator::Handshake(uint8_t type, uint8_t packet)
{
    Out({0xF0, 0x7E, kChannel, type, static_cast<uint8_t>(packet & 0x7F), 0xF7});
}

void CAKAIEmulator::Answer(uint8_t result)
{
    if (faults_.waitMs == 0) {
        Reply(result);
        return;
    }
    // The sampler asks for time with the dump standard's WAIT, then answers.
    const uint64_t now = Clock().Milliseconds();
    held_ = std::vector<uint8_t>{0xF0, kAKAI, kChannel, kReply, kFamily, result, 0xF7};
    headerHeld_ = false;
    holdUntil_ = now + faults_.waitMs;
    nextWait_ = now + kWaitRepeatMs;
    Handshake(kWait, 0);
    Rearm();
}

void CAKAIEmulator::Rearm()
{
    uint64_t next = 0;
    auto consider = [&next](uint64_t time) {
        if (time != 0 && (next == 0 || time < next))
            next = time;
    };
    if (held_ || headerHeld_)
        consider(std::min(holdUntil_, nextWait_));
    if (state_ == EState::kDumping && !paused_)
        consider(dumpDeadline_);
    SetAlarm(next);
}

void CAKAIEmulator::OnMessage(const std::vector<uint8_t>& message)
{
    if (message.size() >= 6 && message[1] == kAKAI && message[2] == kChannel && message[4] == kFamily)
        OnAKAI(message);
    else if (message.size() >= 6 && message[1] == 0x7E && (message[2] == kChannel || message[2] == 0x7F))
        OnSDS(message);
}

// ---- exclusive messages ----

void CAKAIEmulator::OnAKAI(const std::vector<uint8_t>& m)
{
    uint8_t op = m[3];
    // Header bytes are answered with the code they were asked with.
    uint8_t shift = 0;
    if (!model_.olderGeneration && op >= kFirstHeaderBytes && op <= kLastHeaderBytes) {
        shift = kHeaderBytesShift;
        op = static_cast<uint8_t>(op - shift);
        // Their requests always carry the offset and the count.
        if ((op == kRequestProgram || op == kRequestKeygroup || op == kRequestSampleHeader) && m.size() != 13) {
            Reply(1);
            return;
        }
    }
    SBlockRef ref;
    switch (op) {
    case kRequestStatus:
        if (m.size() == 6)
            SendStatus();
        return;
    case kRequestProgramNames:
    case kRequestSampleNames: {
        if (m.size() != 6)
            return;
        std::vector<AKAIBlock> headers;
        if (op == kRequestProgramNames)
            for (const SAKAIProgram& program : memory_.Programs())
                headers.push_back(program.header);
        else
            for (const SAKAISample& sample : memory_.Samples())
                headers.push_back(sample.header);
        SendNames(op == kRequestProgramNames ? kProgramNames : kSampleNames, headers);
        return;
    }
    case kRequestProgram:
        if (ParseRequest(m, false, ref)) {
            if (const auto program = memory_.Program(ref.number)) {
                SendBlock(static_cast<uint8_t>(kProgram + shift), ref, false, program->header);
                return;
            }
        }
        Reply(1);
        return;
    case kRequestKeygroup:
        if (ParseRequest(m, true, ref)) {
            const auto program = memory_.Program(ref.number);
            if (program && ref.keygroup < program->keygroups.size()) {
                SendBlock(static_cast<uint8_t>(kKeygroup + shift), ref, true, program->keygroups[ref.keygroup]);
                return;
            }
        }
        Reply(1);
        return;
    case kRequestSampleHeader:
        if (ParseRequest(m, false, ref)) {
            if (const auto sample = memory_.Sample(ref.number)) {
                SendBlock(static_cast<uint8_t>(kSampleHeader + shift), ref, false, sample->header);
                return;
            }
        }
        Reply(1);
        return;
    case kProgram:
        TakeProgram(m);
        return;
    case kKeygroup:
        TakeKeygroup(m);
        return;
    case kSampleHeader:
        TakeSampleHeader(m);
        return;
    case kRequestPackets: {
        // Sample number (2), first word (4), word count (4), interval (1), 0.
        if (m.size() != 18) {
            Reply(1);
            return;
        }
        const size_t number = Get7(m, 5, 2);
        if (!memory_.Sample(number) || m[16] > 2) {
            Reply(1);
            return;
        }
        StartDump(number, static_cast<uint16_t>(number), Get7(m, 7, 4), Get7(m, 11, 4), m[15], m[16]);
        return;
    }
    case kAcceptPackets:
        AcceptPackets(m);
        return;
    case kRequestMiscBytes:
    case kMiscBytes:
        if (!model_.olderGeneration)
            OnMiscBytes(m);
        return;
    case kDeleteProgram:
    case kDeleteSample: {
        if (m.size() != 8) {
            Reply(1);
            return;
        }
        const size_t number = Get7(m, 5, 2);
        bool done = false;
        try {
            done = op == kDeleteProgram ? memory_.DeleteProgram(number) : memory_.DeleteSample(number);
        } catch (const XBase& failure) {
            std::cerr << PortName(model_) << ": could not change its memory (" << failure.what() << ")\n";
        }
        if (done && op == kDeleteSample)
            pendingSample_.reset();
        if (done && op == kDeleteProgram)
            lastProgram_.reset();
        Answer(done ? 0 : 1);
        return;
    }
    case kDeleteKeygroup:
        if (m.size() != 9)
            Reply(1);
        else
            DeleteKeygroup(Get7(m, 5, 2), m[7]);
        return;
    default:
        // Messages of the family this sampler does not act on.
        return;
    }
}

void CAKAIEmulator::SendStatus()
{
    // The version goes as revision, then version: 4.40 is 40, 4.
    std::vector<uint8_t> m = {0xF0, kAKAI, kChannel, kStatus, kFamily, model_.osMinor, model_.osMajor};
    Put7(m, kMaxBlocks, 2);
    Put7(m, FreeBlocks(), 2);
    Put7(m, model_.maxSampleWords, 4);
    Put7(m, FreeWords(), 4);
    m.push_back(kChannel);
    m.push_back(0xF7);
    Out(m);
}

uint32_t CAKAIEmulator::FreeBlocks() const
{
    const std::vector<SAKAIProgram> programs = memory_.Programs();
    size_t used = memory_.Samples().size() + programs.size();
    for (const SAKAIProgram& program : programs)
        used += program.keygroups.size();
    return used >= kMaxBlocks ? 0 : static_cast<uint32_t>(kMaxBlocks - used);
}

std::optional<size_t> CAKAIEmulator::SampleNamed(const AKAIBlock& header) const
{
    const std::vector<SAKAISample> samples = memory_.Samples();
    for (size_t i = 0; i < samples.size(); ++i)
        if (SameName(samples[i].header, header))
            return i;
    return std::nullopt;
}

std::optional<size_t> CAKAIEmulator::ProgramNamed(const AKAIBlock& header) const
{
    const std::vector<SAKAIProgram> programs = memory_.Programs();
    for (size_t i = 0; i < programs.size(); ++i)
        if (SameName(programs[i].header, header))
            return i;
    return std::nullopt;
}

uint32_t CAKAIEmulator::FreeWords() const
{
    uint64_t used = 0;
    for (const SAKAISample& sample : memory_.Samples())
        used += sample.words.size();
    return used >= model_.maxSampleWords ? 0 : static_cast<uint32_t>(model_.maxSampleWords - used);
}

void CAKAIEmulator::SendNames(uint8_t op, const std::vector<AKAIBlock>& headers)
{
    std::vector<uint8_t> m = {0xF0, kAKAI, kChannel, op, kFamily};
    Put7(m, static_cast<uint32_t>(headers.size()), 2);
    for (const AKAIBlock& header : headers)
        for (size_t i = 0; i < kNameLength; ++i)
            m.push_back(header[kNameAt + i] & 0x7F);
    m.push_back(0xF7);
    Out(m);
}

bool CAKAIEmulator::ParseRequest(const std::vector<uint8_t>& m, bool keygroup, SBlockRef& ref) const
{
    const size_t shortLength = keygroup ? 9 : 8;
    ref.number = m.size() >= 8 ? Get7(m, 5, 2) : 0;
    ref.keygroup = keygroup && m.size() >= 9 ? m[7] : 0;
    ref.offset = 0;
    ref.count = model_.BlockBytes();
    if (m.size() == shortLength)
        return true;
    // The later models also take a part of the block: reserved or keygroup
    // byte, byte offset (2), byte count (2).
    if (model_.olderGeneration || m.size() != 13)
        return false;
    ref.offset = Get7(m, 8, 2);
    ref.count = Get7(m, 10, 2);
    return ref.count > 0 && ref.offset + ref.count <= model_.BlockBytes();
}

void CAKAIEmulator::SendBlock(uint8_t op, const SBlockRef& ref, bool keygroup, const AKAIBlock& block)
{
    std::vector<uint8_t> m = {0xF0, kAKAI, kChannel, op, kFamily};
    Put7(m, static_cast<uint32_t>(ref.number), 2);
    if (model_.olderGeneration) {
        if (keygroup)
            m.push_back(static_cast<uint8_t>(ref.keygroup));
    } else {
        m.push_back(static_cast<uint8_t>(keygroup ? ref.keygroup : 0));
        Put7(m, static_cast<uint32_t>(ref.offset), 2);
        Put7(m, static_cast<uint32_t>(ref.count), 2);
    }
    for (size_t i = ref.offset; i < ref.offset + ref.count; ++i) {
        m.push_back(block[i] & 0x0F);
        m.push_back(block[i] >> 4);
    }
    m.push_back(0xF7);
    Out(m);
}

bool CAKAIEmulator::ParseData(const std::vector<uint8_t>& m, bool keygroup, SBlockRef& ref, AKAIBlock& data) const
{
    size_t at = 0;
    ref.number = m.size() >= 8 ? Get7(m, 5, 2) : 0;
    if (model_.olderGeneration) {
        at = keygroup ? 8 : 7;
        ref.keygroup = keygroup && m.size() > 7 ? m[7] : 0;
        ref.offset = 0;
        ref.count = model_.BlockBytes();
    } else {
        if (m.size() < 13)
            return false;
        at = 12;
        ref.keygroup = keygroup ? m[7] : 0;
        ref.offset = Get7(m, 8, 2);
        ref.count = Get7(m, 10, 2);
        if (ref.count == 0 || ref.offset + ref.count > model_.BlockBytes())
            return false;
    }
    if (m.size() != at + 2 * ref.count + 1)
        return false;
    data.resize(ref.count);
    for (size_t i = 0; i < ref.count; ++i) {
        const uint8_t low = m[at + 2 * i];
        const uint8_t high = m[at + 2 * i + 1];
        if (low > 0x0F || high > 0x0F)
            return false;
        data[i] = static_cast<uint8_t>(low | high << 4);
    }
    return true;
}

void CAKAIEmulator::TakeProgram(const std::vector<uint8_t>& m)
{
    SBlockRef ref;
    AKAIBlock data;
    if (!ParseData(m, false, ref, data)) {
        Answer(1);
        return;
    }
    std::optional<SAKAIProgram> program = memory_.Program(ref.number);
    if (program) {
        // Only the parameters change: the keygroup count must stay.
        std::copy(data.begin(), data.end(), program->header.begin() + static_cast<std::ptrdiff_t>(ref.offset));
        if (program->header[0] != kProgramBlock || program->header[kKeygroupCountAt] != program->keygroups.size()) {
            Answer(1);
            return;
        }
        try {
            memory_.PutProgram(ref.number, *program);
        } catch (const XBase& failure) {
            std::cerr << PortName(model_) << ": could not keep a program (" << failure.what() << ")\n";
            Answer(1);
            return;
        }
        Answer(0);
        return;
    }
    // A number past the last one makes a new program with as many dummy
    // keygroups as the header counts; their data should follow.
    program = SAKAIProgram{AKAIBlock(model_.BlockBytes(), 0), {}};
    std::copy(data.begin(), data.end(), program->header.begin() + static_cast<std::ptrdiff_t>(ref.offset));
    const size_t keygroups = program->header[kKeygroupCountAt];
    if (program->header[0] != kProgramBlock || keygroups < 1 || keygroups > kMaxKeygroups) {
        Answer(1);
        return;
    }
    const std::optional<size_t> same = ProgramNamed(program->header);
    const size_t freed = same ? 1 + memory_.Program(*same)->keygroups.size() : 0;
    if (FreeBlocks() + freed < 1 + keygroups) {
        Answer(1);
        return;
    }
    AKAIBlock dummy(model_.BlockBytes(), 0);
    dummy[0] = kKeygroupBlock;
    dummy[3] = 24;  // lowest key
    dummy[4] = 127; // highest key
    for (size_t i = 0; i < kNameLength; ++i)
        dummy[34 + i] = 10; // no sample named
    program->keygroups.assign(keygroups, dummy);
    try {
        // A program of the same name goes first.
        if (same)
            memory_.DeleteProgram(*same);
        lastProgram_ = memory_.PutProgram(memory_.Programs().size(), *program);
    } catch (const XBase& failure) {
        std::cerr << PortName(model_) << ": could not keep a program (" << failure.what() << ")\n";
        Answer(1);
        return;
    }
    Answer(0);
}

void CAKAIEmulator::TakeKeygroup(const std::vector<uint8_t>& m)
{
    SBlockRef ref;
    AKAIBlock data;
    if (!ParseData(m, true, ref, data)) {
        Answer(1);
        return;
    }
    if (ref.number == kLastMadeProgram && lastProgram_)
        ref.number = *lastProgram_;
    std::optional<SAKAIProgram> program = memory_.Program(ref.number);
    if (!program) {
        Answer(1);
        return;
    }
    if (!model_.olderGeneration && ref.keygroup == kAllKeygroups) {
        // The same bytes into every keygroup of the program.
        for (AKAIBlock& keygroup : program->keygroups) {
            std::copy(data.begin(), data.end(), keygroup.begin() + static_cast<std::ptrdiff_t>(ref.offset));
            if (keygroup[0] != kKeygroupBlock) {
                Answer(1);
                return;
            }
        }
        try {
            memory_.PutProgram(ref.number, *program);
        } catch (const XBase&) {
            Answer(1);
            return;
        }
        Answer(0);
        return;
    }
    if (ref.keygroup >= program->keygroups.size()) {
        // A number past the last keygroup adds one, if a block is free.
        if (FreeBlocks() == 0 || program->keygroups.size() >= kMaxKeygroups) {
            Answer(1);
            return;
        }
        AKAIBlock keygroup(model_.BlockBytes(), 0);
        keygroup[0] = kKeygroupBlock;
        program->keygroups.push_back(keygroup);
        ref.keygroup = program->keygroups.size() - 1;
    }
    AKAIBlock& keygroup = program->keygroups[ref.keygroup];
    std::copy(data.begin(), data.end(), keygroup.begin() + static_cast<std::ptrdiff_t>(ref.offset));
    if (keygroup[0] != kKeygroupBlock) {
        Answer(1);
        return;
    }
    program->header[kKeygroupCountAt] = static_cast<uint8_t>(program->keygroups.size());
    try {
        memory_.PutProgram(ref.number, *program);
    } catch (const XBase& failure) {
        std::cerr << PortName(model_) << ": could not keep a keygroup (" << failure.what() << ")\n";
        Answer(1);
        return;
    }
    Answer(0);
}

void CAKAIEmulator::DeleteKeygroup(size_t number, size_t keygroup)
{
    std::optional<SAKAIProgram> program = memory_.Program(number);
    // A program keeps at least one keygroup.
    if (!program || keygroup >= program->keygroups.size() || program->keygroups.size() == 1) {
        Answer(1);
        return;
    }
    program->keygroups.erase(program->keygroups.begin() + static_cast<std::ptrdiff_t>(keygroup));
    program->header[kKeygroupCountAt] = static_cast<uint8_t>(program->keygroups.size());
    try {
        memory_.PutProgram(number, *program);
    } catch (const XBase&) {
        Answer(1);
        return;
    }
    Answer(0);
}

void CAKAIEmulator::TakeSampleHeader(const std::vector<uint8_t>& m)
{
    SBlockRef ref;
    AKAIBlock data;
    if (faults_.rejectHeader || !ParseData(m, false, ref, data)) {
        Answer(1);
        return;
    }
    std::optional<SAKAISample> sample = memory_.Sample(ref.number);
    if (sample) {
        // Only the parameters change: the length must stay.
        const uint32_t length = GetLE(sample->header, kLengthAt, 4);
        std::copy(data.begin(), data.end(), sample->header.begin() + static_cast<std::ptrdiff_t>(ref.offset));
        if (sample->header[0] != kSampleBlock || GetLE(sample->header, kLengthAt, 4) != length) {
            Answer(1);
            return;
        }
        try {
            memory_.PutSample(ref.number, *sample);
        } catch (const XBase& failure) {
            std::cerr << PortName(model_) << ": could not keep a sample header (" << failure.what() << ")\n";
            Answer(1);
            return;
        }
        Answer(0);
        return;
    }
    // A number past the last one makes a new sample, if a block is free and
    // its length fits; its data packets follow at once.
    sample = SAKAISample{AKAIBlock(model_.BlockBytes(), 0), {}};
    std::copy(data.begin(), data.end(), sample->header.begin() + static_cast<std::ptrdiff_t>(ref.offset));
    const uint32_t length = GetLE(sample->header, kLengthAt, 4);
    const std::optional<size_t> same = SampleNamed(sample->header);
    const size_t freed = same ? memory_.Sample(*same)->words.size() : 0;
    if (sample->header[0] != kSampleBlock || (FreeBlocks() == 0 && !same) || length > FreeWords() + freed) {
        Answer(1);
        return;
    }
    sample->words.assign(length, 0x8000);
    size_t index = 0;
    try {
        if (same) {
            // A sample of the same name goes first; deleting takes a while.
            Handshake(kWait, 0);
            memory_.DeleteSample(*same);
        }
        index = memory_.PutSample(memory_.Samples().size(), *sample);
    } catch (const XBase& failure) {
        std::cerr << PortName(model_) << ": could not keep a sample header (" << failure.what() << ")\n";
        Answer(1);
        return;
    }
    Answer(0);
    // As if a dump header had come.
    BeginReceiving(index, 0, true, 16, length);
    pendingSample_ = index;
    pendingCarried_ = ref.number;
}

void CAKAIEmulator::OnMiscBytes(const std::vector<uint8_t>& m)
{
    // Data index (2), bank (1), reserved (2), byte count (2), [bytes].
    if (m.size() < 13) {
        Reply(1);
        return;
    }
    const uint32_t key = Get7(m, 5, 2) << 8 | m[7];
    const size_t count = Get7(m, 10, 2);
    if (count == 0 || count > 16) {
        Reply(1);
        return;
    }
    AKAIBlock& bytes = misc_[key];
    bytes.resize(std::max(bytes.size(), count), 0);
    if (m[3] == kRequestMiscBytes) {
        std::vector<uint8_t> answer(m.begin(), m.begin() + 12);
        answer[3] = kMiscBytes;
        for (size_t i = 0; i < count; ++i) {
            answer.push_back(bytes[i] & 0x0F);
            answer.push_back(bytes[i] >> 4);
        }
        answer.push_back(0xF7);
        Out(answer);
        return;
    }
    if (m.size() != 13 + 2 * count) {
        Reply(1);
        return;
    }
    for (size_t i = 0; i < count; ++i)
        bytes[i] = static_cast<uint8_t>((m[12 + 2 * i] & 0x0F) | (m[13 + 2 * i] & 0x0F) << 4);
    Reply(0);
}

void CAKAIEmulator::AcceptPackets(const std::vector<uint8_t>& m)
{
    // Sample number (2), first word (4), word count (4).
    if (m.size() != 16) {
        Reply(1);
        return;
    }
    const size_t number = Get7(m, 5, 2);
    const uint32_t first = Get7(m, 7, 4);
    const uint32_t count = Get7(m, 11, 4);
    const std::optional<SAKAISample> sample = memory_.Sample(number);
    if (!sample || static_cast<uint64_t>(first) + count > sample->words.size()) {
        Reply(1);
        return;
    }
    Handshake(kAck, 0);
    BeginReceiving(number, first, false, 16, count);
}

// ---- sample dump standard ----

void CAKAIEmulator::OnSDS(const std::vector<uint8_t>& m)
{
    const uint8_t type = m[3];
    if (type == kDumpHeader)
        StartReceiving(m);
    else if (type == kDataPacket) {
        if (state_ == EState::kReceiving)
            OnDataPacket(m);
    } else if (type == kDumpRequest) {
        if (m.size() == 7) {
            const uint16_t number = static_cast<uint16_t>(Get7(m, 4, 2));
            if (const auto sample = memory_.Sample(number))
                StartDump(number, number, 0, static_cast<uint32_t>(sample->words.size()));
        }
    } else if (type >= kWait && m.size() == 6) {
        if (state_ == EState::kDumping)
            OnDumpHandshake(type, m[4]);
        else if (state_ == EState::kReceiving && type == kCancel)
            Finish();
    }
}

void CAKAIEmulator::StartReceiving(const std::vector<uint8_t>& message)
{
    SSDSSample header;
    uint32_t length = 0;
    if (!ParseSDSDumpHeader(message, header, length))
        return;
    const std::optional<size_t> pending = pendingSample_;
    const size_t carried = pendingCarried_;
    Finish();
    if (faults_.rejectHeader) {
        Handshake(kNak, 0);
        return;
    }
    // The header of the sample a sample header just made fills that one;
    // any other dump makes a new sample.
    std::optional<size_t> target;
    if (pending && (header.number == carried || header.number == *pending))
        target = pending;
    const std::optional<SAKAISample> replaced = target ? memory_.Sample(*target) : std::nullopt;
    const uint64_t room = static_cast<uint64_t>(FreeWords()) + (replaced ? replaced->words.size() : 0);
    if (header.format < 8 || header.format > 16 || length > room || (!target && FreeBlocks() == 0)) {
        Handshake(kCancel, 0);
        return;
    }
    BeginReceiving(target, 0, true, header.format, length);
    pendingSample_ = target;
    pendingCarried_ = carried;
    received_ = header.number;
    periodNs_ = header.periodNs;
    if (length_ == 0) {
        Handshake(KeepReceivedSample() ? kAck : kCancel, 0);
        return;
    }
    if (faults_.waitMs > 0 && !faults_.silent) {
        const uint64_t now = Clock().Milliseconds();
        headerHeld_ = true;
        holdUntil_ = now + faults_.waitMs;
        nextWait_ = now + kWaitRepeatMs;
        Handshake(kWait, 0);
        Rearm();
        return;
    }
    Handshake(kAck, 0);
}

void CAKAIEmulator::BeginReceiving(std::optional<size_t> target, size_t offset, bool whole, uint8_t format,
                                   uint32_t length)
{
    Finish();
    target_ = target;
    offset_ = offset;
    whole_ = whole;
    format_ = format;
    periodNs_ = 0;
    length_ = length;
    words_.clear();
    words_.reserve(length);
    packet_ = 0;
    naksSent_.clear();
    state_ = EState::kReceiving;
}

void CAKAIEmulator::OnDataPacket(const std::vector<uint8_t>& m)
{
    if (headerHeld_ || held_)
        return; // a sender that goes on through a WAIT is not heard
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
        Finish();
        return;
    }
    const uint32_t perPacket = static_cast<uint32_t>(SDSWordsPerPacket(format_));
    const uint32_t count = std::min(perPacket, length_ - index * perPacket);
    uint32_t unpacked[60];
    UnpackSDSWords(format_, m.data() + 5, static_cast<int>(count), unpacked);
    for (uint32_t w = 0; w < count; ++w)
        words_.push_back(static_cast<uint16_t>(unpacked[w] << (16 - format_)));
    ++packet_;
    if (words_.size() == length_) {
        Handshake(KeepReceivedSample() ? kAck : kCancel, number);
        return;
    }
    Handshake(kAck, number);
}

bool CAKAIEmulator::KeepReceivedSample()
{
    bool kept = true;
    try {
        if (target_) {
            std::optional<SAKAISample> sample = memory_.Sample(*target_);
            if (!sample) {
                // Deleted while its data came.
                Finish();
                return false;
            }
            if (whole_) {
                sample->words = words_;
                const uint32_t length = static_cast<uint32_t>(words_.size());
                SetLE(sample->header, kLengthAt, length, 4);
                const uint32_t last = length ? length - 1 : 0;
                if (GetLE(sample->header, kPlayEndAt, 4) > last)
                    SetLE(sample->header, kPlayEndAt, last, 4);
                if (GetLE(sample->header, kPlayStartAt, 4) > last)
                    SetLE(sample->header, kPlayStartAt, 0, 4);
            } else
                std::copy(words_.begin(), words_.end(), sample->words.begin() + static_cast<std::ptrdiff_t>(offset_));
            memory_.PutSample(*target_, *sample);
        } else {
            // A dump of its own: a new sample named after the dump's number,
            // replacing one of that name.
            SAKAISample sample;
            const uint32_t rate = periodNs_ ? (1000000000u + periodNs_ / 2) / periodNs_ : 44100;
            const uint32_t length = static_cast<uint32_t>(words_.size());
            sample.header.assign(model_.BlockBytes(), 0);
            sample.header[0] = kSampleBlock;
            sample.header[1] = rate >= 44100 ? 1 : 0;
            sample.header[2] = 60;
            char name[16];
            std::snprintf(name, sizeof name, "MIDI %05u", static_cast<unsigned>(received_));
            PutName(sample.header, name);
            sample.header[15] = 0x80;
            sample.header[kLoopModeAt] = 2; // no looping
            SetLE(sample.header, kLengthAt, length, 4);
            SetLE(sample.header, kPlayEndAt, length ? length - 1 : 0, 4);
            SetLE(sample.header, kRateAt, rate, 2);
            sample.words = words_;
            const std::optional<size_t> same = SampleNamed(sample.header);
            memory_.PutSample(same ? *same : memory_.Samples().size(), sample);
        }
    } catch (const XBase& failure) {
        std::cerr << PortName(model_) << ": could not keep a sample (" << failure.what() << ")\n";
        kept = false;
    }
    pendingSample_.reset();
    Finish();
    return kept;
}

std::vector<uint16_t> CAKAIEmulator::PickWords(const std::vector<uint16_t>& words, uint32_t start, uint32_t count,
                                               uint32_t interval, uint8_t function)
{
    const uint32_t total = static_cast<uint32_t>(words.size());
    start = std::min(start, total);
    count = std::min(count, total - start);
    // With an interval above 1 each group of that many words gives one:
    // its first (function 0), their average (1) or their peak (2).
    interval = std::max<uint32_t>(interval, 1);
    std::vector<uint16_t> picked;
    for (uint32_t group = 0; group + interval <= count; group += interval) {
        const auto first = words.begin() + start + group;
        uint32_t word = *first;
        if (function == 1) {
            uint64_t sum = 0;
            for (uint32_t i = 0; i < interval; ++i)
                sum += first[i];
            word = static_cast<uint32_t>(sum / interval);
        } else if (function == 2) {
            for (uint32_t i = 1; i < interval; ++i)
                if (std::abs(int(first[i]) - 0x8000) > std::abs(int(word) - 0x8000))
                    word = first[i];
        }
        picked.push_back(static_cast<uint16_t>(word));
    }
    return picked;
}

void CAKAIEmulator::StartDump(size_t index, uint16_t number, uint32_t start, uint32_t count, uint32_t interval,
                              uint8_t function)
{
    if (faults_.silent)
        return;
    const std::optional<SAKAISample> sample = memory_.Sample(index);
    if (!sample)
        return;
    Finish();
    const uint32_t total = static_cast<uint32_t>(sample->words.size());
    start = std::min(start, total);
    interval = std::max<uint32_t>(interval, 1);
    dumpWords_ = PickWords(sample->words, start, count, interval, function);
    count = static_cast<uint32_t>(dumpWords_.size());
    packetCount_ = SDSPacketCount(16, count);
    packet_ = 0;
    timesSent_.clear();
    headerAnswered_ = false;
    closedLoop_ = false;
    paused_ = false;
    state_ = EState::kDumping;

    SSDSSample header;
    header.number = number;
    header.format = 16;
    const uint32_t rate = GetLE(sample->header, kRateAt, 2);
    header.periodNs = 1000000000u / (rate ? rate : 44100) * interval;
    header.words.resize(count);
    header.loopStart = header.loopEnd = count;
    header.loopType = 0x7F;
    // The first loop, when the whole sample goes.
    const uint32_t point = GetLE(sample->header, kLoop1PointAt, 4);
    const uint32_t loopLength = GetLE(sample->header, kLoop1LengthAt, 4);
    if (start == 0 && count == total && interval == 1 && sample->header[kLoopCountAt] > 0 && loopLength > 0 &&
        loopLength <= point && point < count) {
        header.loopStart = point - loopLength;
        header.loopEnd = point;
        header.loopType = 0x00;
    }
    dumpHeader_ = SDSDumpHeader(header, kChannel);
    dumpDeadline_ = Clock().Milliseconds() + kDumpReplyMs;
    Rearm();
    Out(dumpHeader_);
}

void CAKAIEmulator::SendDumpPacket()
{
    if (packet_ >= packetCount_) {
        Finish();
        return;
    }
    const uint32_t index = packet_;
    const uint8_t number = static_cast<uint8_t>(index & 0x7F);
    if (Contains(faults_.cancelAt, index)) {
        Handshake(kCancel, number);
        Finish();
        return;
    }
    std::vector<uint8_t> packet(127);
    packet[0] = 0xF0;
    packet[1] = 0x7E;
    packet[2] = kChannel;
    packet[3] = kDataPacket;
    packet[4] = number;
    const uint32_t first = index * 40;
    const uint32_t count = std::min<uint32_t>(40, static_cast<uint32_t>(dumpWords_.size()) - first);
    uint32_t words[40];
    for (uint32_t w = 0; w < count; ++w)
        words[w] = dumpWords_[first + w];
    PackSDSWords(16, words, static_cast<int>(count), packet.data() + 5);
    packet[125] = SDSPacketChecksum(packet.data());
    const int sent = ++timesSent_[index];
    const auto bad = faults_.badChecksum.find(index);
    if (bad != faults_.badChecksum.end() && (bad->second || sent == 1))
        packet[125] ^= 0x01;
    packet[126] = 0xF7;
    // Open loop: the next packet follows once anything that came in has been heard.
    dumpDeadline_ = Clock().Milliseconds() + (closedLoop_ ? kDumpReplyMs : 0);
    if (dumpDeadline_ == 0)
        dumpDeadline_ = 1;
    Rearm();
    Out(packet);
}

void CAKAIEmulator::OnDumpHandshake(uint8_t type, uint8_t packet)
{
    if (type == kCancel) {
        Finish();
        return;
    }
    if (type == kWait) {
        paused_ = true;
        Rearm();
        return;
    }
    paused_ = false;
    if (!headerAnswered_) {
        if (type == kAck) {
            headerAnswered_ = true;
            closedLoop_ = true;
            SendDumpPacket();
        } else {
            // NAK: the header once more.
            dumpDeadline_ = Clock().Milliseconds() + kDumpReplyMs;
            Rearm();
            Out(dumpHeader_);
        }
        return;
    }
    if (packet != (packet_ & 0x7F))
        return; // stale
    if (type == kAck)
        ++packet_;
    SendDumpPacket();
}

void CAKAIEmulator::OnAlarm()
{
    const uint64_t now = Clock().Milliseconds();
    if (held_ || headerHeld_) {
        if (now >= holdUntil_) {
            if (held_)
                Out(*held_);
            else
                Handshake(kAck, 0);
            held_.reset();
            headerHeld_ = false;
        } else if (now >= nextWait_) {
            Handshake(kWait, 0);
            nextWait_ = now + kWaitRepeatMs;
        }
    }
    if (state_ == EState::kDumping && !paused_ && dumpDeadline_ != 0 && now >= dumpDeadline_) {
        if (!headerAnswered_) {
            // Nobody answers the header: open loop.
            headerAnswered_ = true;
            closedLoop_ = false;
            SendDumpPacket();
        } else {
            closedLoop_ = false;
            ++packet_;
            SendDumpPacket();
        }
    }
    Rearm();
}

void CAKAIEmulator::Finish()
{
    state_ = EState::kIdle;
    headerHeld_ = false;
    paused_ = false;
    dumpDeadline_ = 0;
    Rearm();
}

} // namespace quorvel
