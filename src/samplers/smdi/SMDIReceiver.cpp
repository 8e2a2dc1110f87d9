#include "samplers/smdi/SMDIReceiver.h"

#include <algorithm>

namespace quorvel {

using namespace smdi;

CSMDIReceiver::CSMDIReceiver(const SCSIDevice& device, int32_t sampleNumber)
    : smdi_(device), sampleNumber_(static_cast<uint32_t>(sampleNumber) & 0xFFFFFF)
{
}

CSMDIReceiver::~CSMDIReceiver() { StopQuietly(); }

CSMDISampleHeader CSMDIReceiver::ReadHeader() { return smdi_.GetSampleHeader(sampleNumber_); }

void CSMDIReceiver::HeaderToInfo(const CSMDISampleHeader& header, SampleInfo& info) const
{
    header.ToSampleInfo(info);
}

void CSMDIReceiver::BeginReception(SampleInfo& info, int32_t argument, int32_t& wordsPerFrame)
{
    const CSMDISampleHeader header = ReadHeader();
    // Words wider than 32 bits or frames without channels cannot be carried.
    if (header.bits == 0 || header.bits > 32 || header.channels == 0)
        throw XSMDIUnexpectedMessage();
    bits_ = header.bits;
    channels_ = header.channels;
    wordsPerFrame = WordsPerFrameOut(bits_);
    HeaderToInfo(header, info);
    nextPacket_ = 0;
    StartReception(header.length);

    const uint32_t wanted = std::clamp<uint32_t>(argument < 0 ? 0 : uint32_t(argument), kMinFramesPerPacket,
                                                 kMaxFramesPerPacket);
    const uint32_t frameBytes = WordBytes(bits_) * channels_;
    try {
        const uint32_t accepted = smdi_.BeginTransfer(sampleNumber_, frameBytes * wanted);
        if (header.length == 0) {
            FinishReception();
            return;
        }
        if (accepted == 0 || accepted % frameBytes != 0)
            throw XSMDIUnsupportedPacketLength();
        const uint32_t frames = accepted / frameBytes;
        SetChunkSize(frames);
        if (bits_ <= 16)
            narrow_.assign(size_t(frames) * channels_, 0);
        else
            wide_.assign(size_t(frames) * channels_, 0);
    } catch (...) {
        FinishReception();
        throw;
    }
}

SSampleWords CSMDIReceiver::ReceiveChunk(uint32_t frames)
{
    if (frames == 0) {
        FinishReception();
        return {};
    }
    try {
        frames = std::min(frames, ChunkSize());
        const size_t words = size_t(frames) * channels_;
        const size_t bytes = words * WordBytes(bits_);
        smdi_.Send(BuildNumberMessage(kSendNextPacket, nextPacket_));
        const CSMDIMessage answer = smdi_.ReceiveMessage(kHeaderSize + kPacketNumberSize + bytes);
        CSMDI::ThrowIfRefused<XSMDIPacketRejected>(answer);
        if (!answer.Is(kDataPacket))
            throw XSMDIUnexpectedMessage();
        if (answer.DataLength() != kPacketNumberSize + bytes || !answer.IsComplete())
            throw XSMDIInvalidPacketLength();
        if (PacketNumber(answer) != nextPacket_)
            throw XSMDIUnexpectedPacketIndex();
        AddDone(frames);
        const uint8_t* data = answer.Data().data() + kPacketNumberSize;
        DecodeWords(bits_, data, words, narrow_.data(), wide_.data());
        nextPacket_ = (nextPacket_ + 1) & 0xFFFFFF;
        if (FramesDone() >= FramesTotal())
            FinishReception();
    } catch (const XExternalDeviceRejected&) {
        FinishReception();
        throw;
    }
    if (bits_ <= 16)
        return SSampleWords(narrow_.data());
    return SSampleWords(wide_.data());
}

void CSMDIReceiver::AbortReception()
{
    try {
        smdi_.SendAbort();
    } catch (...) {
        FinishReception();
        throw;
    }
    try {
        smdi_.ExpectEndOfProcedure();
    } catch (...) {
        // The transfer is over whatever the sampler answers.
    }
    FinishReception();
}

} // namespace quorvel
