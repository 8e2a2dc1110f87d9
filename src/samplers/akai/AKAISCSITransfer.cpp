#include "samplers/akai/AKAISCSITransfer.h"

#include <algorithm>
#include <chrono>

#include "devices/scsi/SCSIClock.h"
#include "samplers/akai/AKAICharacters.h"
#include "samplers/akai/AKAIExceptions.h"
#include "samplers/akai/AKAIMessages.h"
#include "samplers/akai/AKAISCSICom.h"

namespace quorvel {

using namespace akai;

namespace akai {

void EncodeSCSIWords(const int16_t* words, uint32_t count, uint8_t* bytes)
{
    for (uint32_t i = 0; i < count; ++i) {
        const uint16_t level = static_cast<uint16_t>(static_cast<uint16_t>(words[i]) ^ 0x8000u);
        bytes[2 * i] = static_cast<uint8_t>(level >> 8);
        bytes[2 * i + 1] = static_cast<uint8_t>(level);
    }
}

void DecodeSCSIWords(const uint8_t* bytes, uint32_t count, int16_t* words)
{
    for (uint32_t i = 0; i < count; ++i) {
        const uint16_t level = static_cast<uint16_t>(bytes[2 * i] << 8 | bytes[2 * i + 1]);
        words[i] = static_cast<int16_t>(level ^ 0x8000u);
    }
}

} // namespace akai

namespace {

int32_t FindName(const std::vector<std::string>& names, const std::string& name)
{
    const auto at = std::find(names.begin(), names.end(), name);
    return at == names.end() ? -1 : static_cast<int32_t>(at - names.begin());
}

// The answer to a packet must be an AKAI reply of 0.
void CheckReply(const CRawSysex& answer)
{
    if (!IsAKAI(answer) || Operation(answer) != kReply || answer.GetLength() != kReplyLength)
        throw XAKAIUnexpectedCommand();
    if (answer.GetData()[5] != 0)
        throw XAKAIReceivedError();
}

} // namespace

CAKAISampleTransmitterSCSI::CAKAISampleTransmitterSCSI(const SAKAITransferContext& context, CAKAISCSICom& com)
    : context_(context), com_(com)
{
}

CAKAISampleTransmitterSCSI::~CAKAISampleTransmitterSCSI() { StopQuietly(); }

void CAKAISampleTransmitterSCSI::BeginTransmission(const SampleInfo& info, int32_t& wordsPerFrame, int32_t)
{
    name_ = AKAIName(info.Name());
    const std::vector<std::string> names = context_.sampleNames();
    if (FindName(names, name_) >= 0)
        throw XAKAINameIsNotUnique();
    number_ = static_cast<uint16_t>(names.size());
    const std::unique_ptr<CABCAKAISampleHeader> header = MakeSampleHeader(context_.generation);
    header->SetNumber(number_);
    header->SetFromInfo(info);
    com_.Command(header->ToMessage(com_.Channel()));
    wordsPerFrame = 1; // the sampler holds 16-bit words
    Activate(kSCSIPacketWords);
    if (info.length == 0)
        Complete();
}

void CAKAISampleTransmitterSCSI::TransmitChunk(uint32_t frames, SSampleWords samples)
{
    if (frames > 0) {
        bytes_.resize(size_t{frames} * 2);
        EncodeSCSIWords(samples.narrow, frames, bytes_.data());
        com_.Flush();
        com_.Send(AcceptPackets(com_.Channel(), number_, FramesDone(), frames));
        com_.SendData(bytes_.data(), static_cast<uint32_t>(bytes_.size()));
        CheckReply(*com_.WaitForReply());
        AdvanceDone(frames);
    }
    if (FramesDone() >= FramesTotal())
        Complete();
}

void CAKAISampleTransmitterSCSI::Complete()
{
    FinishTransmission();
    const int32_t number = FindName(context_.sampleNames(), name_);
    if (number < 0)
        throw XAKAITransmittedSampleLost();
    SetResultSampleNumber(number);
}

void CAKAISampleTransmitterSCSI::AbortTransmission()
{
    FinishTransmission();
    SCSIClock().Sleep(std::chrono::milliseconds(kAbortPauseMs));
}

CAKAISampleReceiverSCSI::CAKAISampleReceiverSCSI(const SAKAITransferContext& context, CAKAISCSICom& com,
                                                 uint16_t sampleNumber)
    : context_(context), com_(com), sampleNumber_(sampleNumber)
{
}

CAKAISampleReceiverSCSI::~CAKAISampleReceiverSCSI() { StopQuietly(); }

void CAKAISampleReceiverSCSI::BeginReception(SampleInfo& info, int32_t, int32_t& wordsPerFrame)
{
    const std::unique_ptr<CABCAKAISampleHeader> header = context_.sampleHeader(sampleNumber_);
    info = header->ToInfo();
    info.channelCount = 1;
    info.bits = 16;
    info.length = header->Length();
    info.playEnd = std::min(info.playEnd, info.length);
    info.playStart = std::min(info.playStart, info.playEnd);
    wordsPerFrame = 1;
    SetChunkSize(kSCSIPacketWords);
    StartReception(info.length);
    if (info.length == 0)
        FinishReception();
}

SSampleWords CAKAISampleReceiverSCSI::ReceiveChunk(uint32_t frames)
{
    com_.Flush();
    com_.Send(SamplePacketRequest(com_.Channel(), sampleNumber_, FramesDone(), frames));
    std::vector<uint8_t> bytes;
    try {
        bytes = com_.ReceiveData(frames * 2, kDumpTimeoutMs);
    } catch (...) {
        FinishReception();
        throw;
    }
    words_.resize(frames);
    DecodeSCSIWords(bytes.data(), frames, words_.data());
    AddDone(frames);
    if (FramesDone() >= FramesTotal())
        FinishReception();
    return words_.data();
}

} // namespace quorvel
