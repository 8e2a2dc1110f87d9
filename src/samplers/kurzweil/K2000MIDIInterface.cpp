#include "samplers/kurzweil/K2000MIDIInterface.h"

#include "samplers/kurzweil/K2000SoundBlock.h"

namespace quorvel {

void TakeSoundBlockParameters(const SampleInfo& block, SampleInfo& info)
{
    info.SetName(block.Name());
    info.rate = block.rate;
    info.rootKey = block.rootKey;
    info.sustainLoop = block.sustainLoop;
}

CK2000MIDITransmitter::CK2000MIDITransmitter(const CSysexConnection& connection,
                                             CABCKurzweilObjectProtocol& objects, uint16_t id)
    : CSDSTransmitter(connection, static_cast<uint16_t>(id - 1), kReplyTimeoutMs), reservation_(objects, id)
{
    SetResultSampleNumber(id);
}

CK2000MIDITransmitter::~CK2000MIDITransmitter() { StopQuietly(); }

void CK2000MIDITransmitter::NameWhenDone()
{
    if (!IsActive() && FramesDone() >= FramesTotal() && !reservation_.Completed())
        reservation_.Complete(name_);
}

void CK2000MIDITransmitter::BeginTransmission(const SampleInfo& info, int32_t& wordsPerFrame, int32_t argument)
{
    name_ = std::string(info.Name());
    CSDSTransmitter::BeginTransmission(WithLoopEndAsLastFrame(info), wordsPerFrame, argument);
    NameWhenDone();
}

void CK2000MIDITransmitter::TransmitChunk(uint32_t frames, SSampleWords samples)
{
    CSDSTransmitter::TransmitChunk(frames, samples);
    NameWhenDone();
}

CK2000MIDIReceiver::CK2000MIDIReceiver(const CSysexConnection& connection, CABCKurzweilObjectProtocol& objects,
                                       uint16_t id)
    : CSDSReceiver(connection, static_cast<uint16_t>(id - 1), kReplyTimeoutMs), objects_(objects), id_(id)
{
}

CK2000MIDIReceiver::~CK2000MIDIReceiver() { StopQuietly(); }

void CK2000MIDIReceiver::BeginReception(SampleInfo& info, int32_t argument, int32_t& wordsPerFrame)
{
    CK2000SoundBlock block(id_);
    objects_.Read(block, CABCKurzweilObjectProtocol::kObjectTimeoutMs);
    CSDSReceiver::BeginReception(info, argument, wordsPerFrame);
    TakeSoundBlockParameters(block.ToSampleInfo(), info);
}

std::unique_ptr<CABCSampleTransmitter> CK2000MIDIInterface::MakeTransmitter(uint16_t id)
{
    return std::make_unique<CK2000MIDITransmitter>(Connection(), Objects(), id);
}

std::unique_ptr<CABCSampleReceiver> CK2000MIDIInterface::MakeReceiver(uint16_t id)
{
    return std::make_unique<CK2000MIDIReceiver>(Connection(), Objects(), id);
}

} // namespace quorvel
