#pragma once
// JACK MIDI ports (driver kind "JACK"): the MIDI ports of the other clients
// of a running JACK server (jackd, or PipeWire's JACK). Another client's
// output is one of our inputs and its input one of our outputs. Opening one
// registers a port of our own on the process's one JACK MIDI client
// ("Quorvel") and connects it to the peer. Input is handed to the parser as
// soon as the callback has it; output counts a piece sent once the callback
// has put all of it in the port's buffer, except the start of a sysex the
// piece ends inside, which waits for the pieces that finish it so that the
// message leaves as one event. When the server goes away, sends fail with
// XMIDIWriteFailed and input stops.
#include <memory>
#include <string>
#include <vector>

#include "devices/midi/ByteStreamMIDIInput.h"
#include "devices/midi/MIDIOutput.h"
#include "devices/midi/RegisteredMIDIPorts.h"

namespace quorvel {

class CJackMIDIClient;
class CJackMIDIReceiver;
class CJackMIDISender;

class CRegisteredJackMIDIInput : public CRegisteredMIDIInput {
public:
    static constexpr const char* kDriverKind = "JACK";
    // `peer` is the other client's output port, "client:port" in full.
    explicit CRegisteredJackMIDIInput(const std::string& peer);
    std::unique_ptr<CMIDIInput> Open(CMIDIInputParser& parser) const override;
    const std::string& Peer() const { return peer_; }

private:
    std::string peer_;
};

class CRegisteredJackMIDIOutput : public CRegisteredMIDIOutput {
public:
    static constexpr const char* kDriverKind = "JACK";
    explicit CRegisteredJackMIDIOutput(const std::string& peer);
    std::unique_ptr<CMIDIOutput> Open() const override;
    const std::string& Peer() const { return peer_; }

private:
    std::string peer_;
};

// Appends the other clients' MIDI ports when a server answers; nothing
// without one.
void RegisterJackMIDIPorts(CMIDIPortLists& lists);

// The process's JACK MIDI client, opened on first use and shared by every
// open JACK port; a new one once the server that served the last has gone.
// XJackUnavailable without a server.
std::shared_ptr<CJackMIDIClient> SharedJackMIDIClient();

class CJackMIDIInput : public CByteStreamMIDIInput {
public:
    // XFailedOpeningMIDIPort when there is no server or no such peer.
    CJackMIDIInput(const CRegisteredJackMIDIInput& port, CMIDIInputParser& parser);
    ~CJackMIDIInput() override;

    bool Gone() const override;

private:
    std::shared_ptr<CJackMIDIClient> client_;
    CJackMIDIReceiver* receiver_ = nullptr;
};

class CJackMIDIOutput : public CMIDIOutput {
public:
    explicit CJackMIDIOutput(const CRegisteredJackMIDIOutput& port);
    ~CJackMIDIOutput() override;

protected:
    void StartChunk(const uint8_t* data, int32_t length) override;
    bool ChunkDone() override;
    int32_t WriteShort(const uint8_t* data, int32_t length) override;

private:
    // The sysex a piece ends in the middle of waits for the pieces that
    // finish it, so that it can leave as one event; up to this length.
    static constexpr size_t kWholeMessage = size_t{32} << 10;

    // Queues the bytes, waiting for room; XMIDIWriteFailed once the server is gone.
    void Queue(const uint8_t* data, size_t length);

    std::shared_ptr<CJackMIDIClient> client_;
    CJackMIDISender* sender_ = nullptr;
    uint64_t awaited_ = 0;
    std::vector<uint8_t> unfinished_;
};

} // namespace quorvel
