#pragma once
// A K2000 reached over MIDI alone: the objects as Kurzweil messages, the
// sample data as a MIDI sample dump to and from sample number id - 1.
#include <cstdint>
#include <memory>
#include <string>

#include "samplers/kurzweil/K2000Interface.h"
#include "samplers/kurzweil/K2000SoundBlockReservation.h"
#include "samplers/sds/SDSReceiver.h"
#include "samplers/sds/SDSTransmitter.h"

namespace quorvel {

// Fills a reserved sound block with a sample dump, then names it.
class CK2000MIDITransmitter : public CSDSTransmitter {
public:
    static constexpr uint32_t kReplyTimeoutMs = 4000;

    // The result is the block's id.
    CK2000MIDITransmitter(const CSysexConnection& connection, CABCKurzweilObjectProtocol& objects, uint16_t id);
    // Stops a dump still running; the block goes too unless it was named.
    ~CK2000MIDITransmitter() override;

    void BeginTransmission(const SampleInfo& info, int32_t& wordsPerFrame, int32_t argument) override;
    void TransmitChunk(uint32_t frames, SSampleWords samples) override;

private:
    void NameWhenDone();

    CK2000SoundBlockReservation reservation_;
    std::string name_;
};

// The sound block first (name, rate, loop), then its sample data as a dump.
class CK2000MIDIReceiver : public CSDSReceiver {
public:
    static constexpr uint32_t kReplyTimeoutMs = 2000;

    CK2000MIDIReceiver(const CSysexConnection& connection, CABCKurzweilObjectProtocol& objects, uint16_t id);
    ~CK2000MIDIReceiver() override;

    void BeginReception(SampleInfo& info, int32_t argument, int32_t& wordsPerFrame) override;

private:
    CABCKurzweilObjectProtocol& objects_;
    uint16_t id_;
};

class CK2000MIDIInterface : public CABCK2000Interface {
public:
    using CABCK2000Interface::CABCK2000Interface;

protected:
    std::unique_ptr<CABCSampleTransmitter> MakeTransmitter(uint16_t id) override;
    std::unique_ptr<CABCSampleReceiver> MakeReceiver(uint16_t id) override;
};

// What a read sound block tells about its sample, over what the data path
// reported: name, rate, root key and sustain loop. Length and channels stay
// those of the sample data that actually arrives.
void TakeSoundBlockParameters(const SampleInfo& block, SampleInfo& info);

} // namespace quorvel
