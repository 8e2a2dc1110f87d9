#pragma once
// The exchange with one sampler: every request is answered by a response
// carrying a status, or by the data asked for. A sampler that needs time
// says so with status 1, which is acknowledged and extends the wait.
#include <cstdint>
#include <memory>
#include <vector>

#include "devices/midi/SysexConnection.h"
#include "samplers/ensoniq/EnsoniqMessages.h"

namespace quorvel {

class CEnsoniqParameters;

class CEnsoniqLink {
public:
    static constexpr uint32_t kResponseTimeoutMs = 6000;
    static constexpr uint32_t kWaitExtensionMs = 30000;
    static constexpr uint32_t kReadHoldMs = 600;
    static constexpr uint32_t kWaveWriteHoldMs = 900;

    // On open ports (not owned), for the sampler on MIDI channel `channel`.
    CEnsoniqLink(CSysexMIDIInput& input, CMIDIOutput& output, uint8_t channel);

    const ensoniq::SHeader& Header() const { return header_; }
    CSysexConnection& Connection() { return connection_; }

    // Waits up to `timeoutMs` (extended by every status 1) for the answer
    // to the last request: null for status 0, or the message that is not a
    // response. A message of exactly `dataLength` bytes is taken as data
    // whatever its first byte. The status exceptions, XEnsoniqCancelled,
    // XEnsoniqInvalidSize for a response of the wrong length, XSysexTimedOut.
    std::unique_ptr<CRawSysex> AwaitReply(uint32_t timeoutMs, int32_t dataLength = 0);

    // A request answered by status 0; XEnsoniqUnexpectedResponse when data comes instead.
    void Command(uint8_t command, const ensoniq::SAddress& address);
    // Reads a parameter block: the sampler names it with an address message
    // (`replyCommand`, the same address), this side acknowledges, the block
    // follows. The next send waits 600 ms.
    void ReadParameters(uint8_t command, uint8_t replyCommand, const ensoniq::SAddress& address,
                        CEnsoniqParameters& block);
    // Names the block with `command`, then sends it; each is answered by status 0.
    void WriteParameters(uint8_t command, const ensoniq::SAddress& address, const CEnsoniqParameters& block);
    // `frames` frames of `wordsPerFrame` words from frame `start` of a wave;
    // the next send waits 900 ms.
    void WriteWaveData(uint32_t instrument, uint32_t wave, uint32_t start, uint32_t frames, uint32_t wordsPerFrame,
                       const int16_t* words);
    std::vector<int16_t> ReadWaveData(const ensoniq::SAddress& address, uint32_t start, uint32_t frames,
                                      uint32_t wordsPerFrame);
    void SendCancel();
    void DelayNextSend(uint32_t ms) { connection_.DelayNextSend(ms); }

private:
    void Send(const CRawSysex& message) { connection_.Send(message); }
    void ExpectDone(std::unique_ptr<CRawSysex> reply);

    CSysexConnection connection_;
    ensoniq::SHeader header_;
};

} // namespace quorvel
