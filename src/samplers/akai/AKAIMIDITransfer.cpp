#include "samplers/akai/AKAIMIDITransfer.h"

#include <algorithm>

#include "samplers/akai/AKAICharacters.h"
#include "samplers/akai/AKAIExceptions.h"
#include "samplers/akai/AKAIMessages.h"

namespace quorvel {

using namespace akai;

namespace {

int32_t FindName(const std::vector<std::string>& names, const std::string& name)
{
    const auto at = std::find(names.begin(), names.end(), name);
    return at == names.end() ? -1 : static_cast<int32_t>(at - names.begin());
}

} // namespace

CAKAISampleTransmitterMIDI::CAKAISampleTransmitterMIDI(const SAKAITransferContext& context,
                                                       CSysexConnection& connection)
    : CSDSTransmitter(connection.Output(), connection.Input(), context.com.Channel(), 0, kDumpTimeoutMs),
      context_(context)
{
}

CAKAISampleTransmitterMIDI::~CAKAISampleTransmitterMIDI() { StopQuietly(); }

void CAKAISampleTransmitterMIDI::BeginTransmission(const SampleInfo& info, int32_t& wordsPerFrame, int32_t argument)
{
    name_ = AKAIName(info.Name());
    const std::vector<std::string> names = context_.sampleNames();
    if (FindName(names, name_) >= 0)
        throw XAKAINameIsNotUnique();
    const uint16_t number = static_cast<uint16_t>(names.size());
    const std::unique_ptr<CABCAKAISampleHeader> header = MakeSampleHeader(context_.generation);
    header->SetNumber(number);
    header->SetFromInfo(info);
    context_.com.Flush();
    context_.com.Send(header->ToMessage(context_.com.Channel()));
    SetSampleNumber(number);
    SampleInfo words = info;
    words.bits = 16; // the sampler holds 16-bit words
    CSDSTransmitter::BeginTransmission(words, wordsPerFrame, argument);
}

void CAKAISampleTransmitterMIDI::TransmitChunk(uint32_t frames, SSampleWords samples)
{
    CSDSTransmitter::TransmitChunk(frames, samples);
    if (IsActive())
        return;
    const int32_t number = FindName(context_.sampleNames(), name_);
    if (number < 0)
        throw XAKAITransmittedSampleLost();
    SetResultSampleNumber(number);
}

void CAKAISampleTransmitterMIDI::AbortTransmission()
{
    CSDSTransmitter::AbortTransmission();
    Connection().DelayNextSend(kAbortPauseMs);
    Connection().WaitUntilSendAllowed();
}

CAKAISampleReceiverMIDI::CAKAISampleReceiverMIDI(const SAKAITransferContext& context, CSysexConnection& connection,
                                                 uint16_t sampleNumber)
    : CSDSReceiver(connection.Output(), connection.Input(), context.com.Channel(), sampleNumber, kDumpTimeoutMs),
      context_(context), sampleNumber_(sampleNumber)
{
}

CAKAISampleReceiverMIDI::~CAKAISampleReceiverMIDI() { StopQuietly(); }

void CAKAISampleReceiverMIDI::BeginReception(SampleInfo& info, int32_t argument, int32_t& wordsPerFrame)
{
    const std::unique_ptr<CABCAKAISampleHeader> header = context_.sampleHeader(sampleNumber_);
    SampleInfo described = header->ToInfo();
    words_ = header->Length();
    SampleInfo dumped;
    CSDSReceiver::BeginReception(dumped, argument, wordsPerFrame);
    // The dump says what actually came; the header says the rest.
    described.bits = dumped.bits;
    described.length = dumped.length;
    described.playEnd = std::min(described.playEnd, dumped.length);
    described.playStart = std::min(described.playStart, described.playEnd);
    info = described;
}

void CAKAISampleReceiverMIDI::RequestDump()
{
    Connection().SendFlushed(SamplePacketRequest(Channel(), sampleNumber_, 0, words_));
}

} // namespace quorvel
