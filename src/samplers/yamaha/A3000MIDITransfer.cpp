#include "samplers/yamaha/A3000MIDITransfer.h"

#include <algorithm>

#include "devices/midi/MIDIService.h"
#include "devices/midi/SysexEncoding.h"
#include "devices/midi/SysexMIDIInput.h"
#include "samplers/yamaha/A3000BulkDump.h"
#include "samplers/yamaha/A3000Exceptions.h"
#include "samplers/yamaha/A3000Interface.h"

namespace quorvel {

using namespace a3000;

namespace {

constexpr size_t kWireBytesPerWord = 4;
// The 32-byte header and the parameter block's 146 wire bytes.
constexpr size_t kWaveHead = kHeaderLength + 2 * kWaveParameterBytes;
// What the first block counts before the first word.
constexpr uint32_t kWaveHeadCount = static_cast<uint32_t>(kWaveHead - 6);

uint8_t XorOf(const uint8_t* data, size_t count, uint8_t seed = 0)
{
    for (size_t i = 0; i < count; ++i)
        seed ^= data[i];
    return seed;
}

} // namespace

CA3000SampleTransmitterMIDI::CA3000SampleTransmitterMIDI(CABCA3000Interface& sampler, EHalf half)
    : sampler_(sampler), half_(half)
{
}

CA3000SampleTransmitterMIDI::~CA3000SampleTransmitterMIDI() { StopQuietly(); }

void CA3000SampleTransmitterMIDI::BeginTransmission(const SampleInfo& info, int32_t& wordsPerFrame, int32_t)
{
    const SWaveParameters parameters = WaveParametersFromInfo(info, half_);
    name_ = parameters.name;
    if (sampler_.ObjectList(true).Contains(kSampleObject, name_))
        throw XA3000SampleNameNotUnique();
    CSysexConnection& connection = sampler_.Connection();
    writer_ = std::make_unique<CA3000DumpWriter>(
        sampler_.Device(), kWaveDataType, name_,
        [&connection](const uint8_t* data, size_t count) { connection.Send(data, static_cast<int32_t>(count)); });
    parameters_ = EncodeWaveParameters(parameters);
    writer_->Append(parameters_.data(), parameters_.size());
    wordsPerFrame = 1;
    Activate(kChunkFrames);
}

void CA3000SampleTransmitterMIDI::TransmitChunk(uint32_t frames, SSampleWords samples)
{
    bytes_.resize(2 * static_cast<size_t>(frames));
    for (uint32_t i = 0; i < frames; ++i) {
        const auto word = static_cast<uint16_t>(samples.narrow[i]);
        bytes_[2 * i] = static_cast<uint8_t>(word >> 8);
        bytes_[2 * i + 1] = static_cast<uint8_t>(word & 0xFF);
    }
    writer_->Append(bytes_.data(), bytes_.size());
    AdvanceDone(frames);
    if (FramesDone() < FramesTotal())
        return;
    writer_->Finish();
    writer_.reset();
    FinishTransmission();
    // The sample's parameters as their own dump too, for whoever asks for
    // them without the wave.
    sampler_.SendDump(kSampleType, name_, parameters_);
    const int32_t number = sampler_.SampleNumber(name_);
    if (number < 0)
        throw XSampleDoesNotExist();
    SetResultSampleNumber(number);
}

void CA3000SampleTransmitterMIDI::AbortTransmission()
{
    const std::unique_ptr<CA3000DumpWriter> writer = std::move(writer_);
    FinishTransmission();
    if (writer)
        writer->Abandon();
}

CA3000SampleReceiverMIDI::CA3000SampleReceiverMIDI(CABCA3000Interface& sampler, std::string name)
    : sampler_(sampler), name_(std::move(name))
{
}

CA3000SampleReceiverMIDI::~CA3000SampleReceiverMIDI() { StopQuietly(); }

void CA3000SampleReceiverMIDI::Read(size_t count, uint8_t* destination)
{
    // Everything that has arrived is taken out of the input at once: a long
    // dump from a fast source must not lap the input's ring while this side
    // is busy between two chunks.
    CSysexMIDIInput& input = sampler_.Connection().Input();
    const uint64_t deadline = MIDIClock().Milliseconds() + kReplyTimeoutMs;
    while (held_.size() - taken_ < count) {
        if (std::find(held_.begin() + static_cast<std::ptrdiff_t>(taken_), held_.end(), 0xF7) != held_.end())
            throw XA3000ReceivedInvalidSysex(); // the dump ended early
        const bool gone = input.InputGone();
        const uint32_t available = input.Available();
        if (available == 0) {
            if (gone)
                throw XMIDIInputGone();
            if (MIDIClock().Milliseconds() >= deadline)
                throw XSysexTimedOut();
            ServiceAllMIDIInputs();
            continue;
        }
        const size_t at = held_.size();
        held_.resize(at + available);
        input.ReadBytes(static_cast<int32_t>(available), held_.data() + at);
    }
    std::copy_n(held_.begin() + static_cast<std::ptrdiff_t>(taken_), count, destination);
    taken_ += count;
    if (taken_ == held_.size()) {
        held_.clear();
        taken_ = 0;
    }
}

void CA3000SampleReceiverMIDI::BeginReception(SampleInfo& info, int32_t, int32_t& wordsPerFrame)
{
    CSysexConnection& connection = sampler_.Connection();
    held_.clear();
    taken_ = 0;
    connection.SendFlushed(A3000Request(sampler_.Device(), kWaveDataType, name_));
    connection.Input().WaitForStart(MIDIClock().Milliseconds() + kReplyTimeoutMs);
    uint8_t head[kWaveHead];
    Read(kWaveHead, head);
    const uint32_t count = DecodeBigEndian7(2, head + 4);
    const bool ours = head[1] == kYamaha && head[3] == kBulkModel && head[2] == (sampler_.Device() & 0x0F) &&
                      std::equal(kSignature.begin(), kSignature.end(), head + 6) &&
                      std::equal(kWaveDataType.begin(), kWaveDataType.end(), head + 14) &&
                      NameFromBytes(head + 16) == SamplerName(name_);
    if (!ours || count < kWaveHeadCount || count > kMaxBlock || count % 2 != 0)
        throw XA3000ReceivedInvalidSysex();
    xor_ = XorOf(head + 6, kWaveHeadCount);
    remaining_ = count - kWaveHeadCount;
    std::vector<uint8_t> block(kWaveParameterBytes);
    PackNibblePairs(static_cast<int32_t>(kWaveParameterBytes), block.data(), head + kHeaderLength);
    const SWaveParameters parameters = DecodeWaveParameters(block);
    info = InfoFromWaveParameters(parameters);
    wordsPerFrame = 1;
    SetChunkSize(kChunkFrames);
    StartReception(parameters.length);
    if (parameters.length == 0)
        End();
}

void CA3000SampleReceiverMIDI::CloseBlock()
{
    uint8_t checksum = 0;
    Read(1, &checksum);
    if (checksum != xor_)
        throw XA3000ChecksumIncorrect();
}

void CA3000SampleReceiverMIDI::OpenBlock()
{
    CloseBlock();
    uint8_t count[2];
    Read(2, count);
    if (count[0] == 0xF7)
        throw XA3000ReceivedInvalidSysex(); // fewer words than announced
    const uint32_t n = DecodeBigEndian7(2, count);
    if (n == 0 || n > kMaxBlock || n % 2 != 0)
        throw XA3000ReceivedInvalidSysex();
    remaining_ = n;
    xor_ = 0;
}

void CA3000SampleReceiverMIDI::End()
{
    if (remaining_ != 0)
        throw XA3000ReceivedInvalidSysex(); // more words than announced
    CloseBlock();
    uint8_t end = 0;
    Read(1, &end);
    if (end != 0xF7)
        throw XA3000ReceivedInvalidSysex();
    FinishReception();
}

SSampleWords CA3000SampleReceiverMIDI::ReceiveChunk(uint32_t frames)
{
    try {
        wire_.resize(kWireBytesPerWord * frames);
        size_t got = 0;
        while (got < wire_.size()) {
            if (remaining_ == 0)
                OpenBlock();
            const size_t take = std::min<size_t>(remaining_, wire_.size() - got);
            Read(take, wire_.data() + got);
            xor_ = XorOf(wire_.data() + got, take, xor_);
            remaining_ -= static_cast<uint32_t>(take);
            got += take;
        }
        words_.resize(frames);
        for (uint32_t i = 0; i < frames; ++i) {
            const uint8_t* w = wire_.data() + kWireBytesPerWord * i;
            words_[i] = static_cast<int16_t>((w[0] & 0x0F) << 12 | (w[1] & 0x0F) << 8 | (w[2] & 0x0F) << 4 |
                                             (w[3] & 0x0F));
        }
        AddDone(frames);
        if (FramesDone() >= FramesTotal())
            End();
    } catch (const XExternalDeviceRejected&) {
        FinishReception();
        throw;
    }
    return SSampleWords(words_.data());
}

void CA3000SampleReceiverMIDI::AbortReception()
{
    // Whatever is still coming is of no use; the next request flushes it.
    const bool ended = std::find(held_.begin() + static_cast<std::ptrdiff_t>(taken_), held_.end(), 0xF7) != held_.end();
    try {
        if (!ended)
            sampler_.Connection().Input().WaitForEnd(MIDIClock().Milliseconds() + kReplyTimeoutMs);
    } catch (...) {
    }
    sampler_.Connection().Input().Flush();
    held_.clear();
    taken_ = 0;
    FinishReception();
}

} // namespace quorvel
