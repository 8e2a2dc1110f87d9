#pragma once
// An open MIDI output. Streams leave in long messages of at most 2048 bytes,
// each awaited before the next while the inputs keep being serviced, so that
// memory stays bounded and incoming data keeps flowing during a long send.
#include <cstdint>

namespace quorvel {

class CRegisteredMIDIOutput;

class CMIDIOutput {
public:
    static constexpr int32_t kChunkSize = 2048;

    explicit CMIDIOutput(const CRegisteredMIDIOutput& port) : port_(port) {}
    virtual ~CMIDIOutput() = default;
    CMIDIOutput(const CMIDIOutput&) = delete;
    CMIDIOutput& operator=(const CMIDIOutput&) = delete;

    // Sends the bytes as they stand; nothing for a length of 0 or less.
    // XMIDIWriteFailed when the device refuses a piece (nothing more is sent).
    void SendBytes(const uint8_t* data, int32_t length);
    // Sends status, data1, data2 (as many data bytes as the status takes).
    // Returns the device's result: 0 for success.
    int32_t SendShortMessage(uint8_t status, uint8_t data1, uint8_t data2);

    const CRegisteredMIDIOutput& Port() const { return port_; }

    // How many data bytes follow a status byte (0 for real-time, sysex and
    // undefined ones).
    static int DataBytesAfter(uint8_t status);

protected:
    // Hands one piece to the device; XMIDIWriteFailed when refused.
    virtual void StartChunk(const uint8_t* data, int32_t length) = 0;
    // True once the piece handed over last has left.
    virtual bool ChunkDone() = 0;
    virtual int32_t WriteShort(const uint8_t* data, int32_t length) = 0;

private:
    const CRegisteredMIDIOutput& port_;
};

} // namespace quorvel
