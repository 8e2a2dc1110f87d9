#include "samplers/smdi/SMDITransmitter.h"

#include <algorithm>

namespace quorvel {

using namespace smdi;

CSMDITransmitter::CSMDITransmitter(const SCSIDevice& device, int32_t sampleNumber)
    : smdi_(device), sampleNumber_(static_cast<uint32_t>(sampleNumber) & 0xFFFFFF)
{
    SetResultSampleNumber(static_cast<int32_t>(sampleNumber_));
}

CSMDITransmitter::~CSMDITransmitter() { StopQuietly(); }

void CSMDITransmitter::SendSampleHeader(const SampleInfo& info)
{
    smdi_.Send(CSMDISampleHeader(info, sampleNumber_).Message());
}

void CSMDITransmitter::BeginTransmission(const SampleInfo& info, int32_t& wordsPerFrame, int32_t)
{
    if (info.bits == 0 || info.bits > 32 || info.channelCount == 0)
        throw XSMDIUnexpectedMessage();
    bits_ = info.bits;
    channels_ = info.channelCount;
    wordsPerFrame = WordsPerFrameOut(bits_);
    nextPacket_ = 0;

    SendSampleHeader(info);
    const CSMDIMessage answer = smdi_.ReceiveMessage(kBeginTransferMessageSize);
    CSMDI::ThrowIfRefused<XSMDIHeaderRejected>(answer);
    if (!answer.Is(kBeginSampleTransferAck))
        throw XSMDIUnexpectedMessage();
    const uint32_t accepted = ParseBeginTransfer(answer).packetLength;
    const uint32_t frameBytes = WordBytes(bits_) * channels_;
    const uint32_t chunk = accepted / frameBytes;
    if (chunk == 0)
        throw XSMDIUnsupportedPacketLength();
    Activate(chunk);
    packet_.assign(kHeaderSize + kPacketNumberSize + size_t(chunk) * frameBytes, 0);
    try {
        smdi_.Send(BuildBeginTransfer(kBeginSampleTransfer, sampleNumber_, chunk * frameBytes));
        if (info.length == 0)
            Close();
    } catch (const XExternalDeviceRejected&) {
        FinishTransmission();
        throw;
    }
}

void CSMDITransmitter::AwaitPacketRequest()
{
    const CSMDIMessage request = smdi_.ReceiveMessage(kHeaderSize + kPacketNumberSize);
    CSMDI::ThrowIfRefused<XSMDIPacketRejected>(request);
    if (!request.Is(kSendNextPacket))
        throw XSMDIUnexpectedMessage();
    if (PacketNumber(request) != nextPacket_)
        throw XSMDIUnexpectedPacketIndex();
}

void CSMDITransmitter::Close()
{
    smdi_.ExpectEndOfProcedure();
    FinishTransmission();
}

void CSMDITransmitter::TransmitChunk(uint32_t frames, SSampleWords samples)
{
    try {
        if (frames > 0) {
            frames = std::min(frames, ChunkSize());
            const size_t words = size_t(frames) * channels_;
            const uint32_t dataLength = static_cast<uint32_t>(kPacketNumberSize + words * WordBytes(bits_));
            if (bits_ <= 16 ? !samples.narrow : !samples.wide)
                throw XExternalDeviceException();
            AwaitPacketRequest();
            PutHeader(packet_.data(), kDataPacket, dataLength);
            PutBigEndian(packet_.data() + kHeaderSize, nextPacket_, kPacketNumberSize);
            EncodeWords(bits_, samples.narrow, samples.wide, words,
                        packet_.data() + kHeaderSize + kPacketNumberSize);
            smdi_.Send(kHeaderSize + dataLength, packet_.data());
            AdvanceDone(frames);
            nextPacket_ = (nextPacket_ + 1) & 0xFFFFFF;
        }
        if (FramesDone() >= FramesTotal())
            Close();
    } catch (const XExternalDeviceRejected&) {
        FinishTransmission();
        throw;
    }
}

void CSMDITransmitter::AbortTransmission()
{
    try {
        smdi_.SendAbort();
    } catch (...) {
        FinishTransmission();
        throw;
    }
    try {
        smdi_.ExpectEndOfProcedure();
    } catch (...) {
        // The transfer is over whatever the sampler answers.
    }
    FinishTransmission();
}

} // namespace quorvel
