#include "samplers/roland/S760Transfer.h"

#include "samplers/roland/RolandExceptions.h"
#include "samplers/roland/S760Interface.h"

namespace quorvel {

using namespace s760;

CS760MIDITransmitter::CS760MIDITransmitter(CABCS760Interface& sampler, ESide side)
    : CSDSTransmitter(sampler.Com().Connection().Output(), sampler.Com().Connection().Input(), sampler.Com().Device(),
                      0, kReplyTimeoutMs),
      sampler_(sampler), side_(side)
{
}

CS760MIDITransmitter::~CS760MIDITransmitter() { StopQuietly(); }

void CS760MIDITransmitter::BeginTransmission(const SampleInfo& info, int32_t& wordsPerFrame, int32_t argument)
{
    CS760FileList& list = sampler_.Samples();
    const uint16_t number = sampler_.FreeSampleNumber();
    const std::string plain(PaddedName(info.Name()).data(), kNameLength);
    const std::string left(StereoHalfName(info.Name(), false).data(), kNameLength);
    const std::string right(StereoHalfName(info.Name(), true).data(), kNameLength);
    std::vector<std::string> taken;
    switch (side_) {
    case ESide::Mono:
        taken = {plain};
        name_ = plain;
        break;
    case ESide::Left:
        taken = {plain, left, right};
        name_ = left;
        break;
    case ESide::Right:
        taken = {right};
        name_ = right;
        break;
    }
    for (const std::string& name : taken)
        if (list.Named(kSampleCategory, name))
            throw XS760SampleNameAlreadyExists();
    info_ = info;
    info_.bits = 16; // the sampler holds 16-bit words
    SetSampleNumber(number);
    SetResultSampleNumber(number);
    CSDSTransmitter::BeginTransmission(info_, wordsPerFrame, argument);
}

void CS760MIDITransmitter::TransmitChunk(uint32_t frames, SSampleWords samples)
{
    CSDSTransmitter::TransmitChunk(frames, samples);
    if (!IsActive())
        CompleteParameters();
}

void CS760MIDITransmitter::CompleteParameters()
{
    const auto number = static_cast<uint16_t>(GetResultSampleNumber());
    // The sampler placed the dump in its memory: its block says where.
    SS760SampleParameters parameters = sampler_.ReadSampleParameters(number);
    if (parameters.blocks == 0)
        throw XS760SampleLostInSpace();
    parameters.SetFromInfo(info_);
    parameters.name = PaddedName(name_);
    sampler_.WriteSampleParameters(number, parameters);
    sampler_.Samples().Add({kSampleCategory, number, name_});
}

CS760MIDIReceiver::CS760MIDIReceiver(CABCS760Interface& sampler, uint16_t sampleNumber)
    : CSDSReceiver(sampler.Com().Connection().Output(), sampler.Com().Connection().Input(), sampler.Com().Device(),
                   sampleNumber, kReplyTimeoutMs),
      sampler_(sampler), sampleNumber_(sampleNumber)
{
}

CS760MIDIReceiver::~CS760MIDIReceiver() { StopQuietly(); }

void CS760MIDIReceiver::BeginReception(SampleInfo& info, int32_t argument, int32_t& wordsPerFrame)
{
    SampleInfo described = sampler_.ReadSampleParameters(sampleNumber_).ToInfo();
    SampleInfo dumped;
    CSDSReceiver::BeginReception(dumped, argument, wordsPerFrame);
    // The dump says what actually came; the block says the rest.
    described.bits = dumped.bits;
    described.length = dumped.length;
    described.playEnd = std::min(described.playEnd, dumped.length);
    described.playStart = std::min(described.playStart, described.playEnd);
    const auto clamp = [&](SSampleLoop& loop) {
        loop.start = std::min(loop.start, dumped.length);
        loop.end = std::min(loop.end, dumped.length);
    };
    clamp(described.sustainLoop);
    clamp(described.releaseLoop);
    info = described;
}

} // namespace quorvel
