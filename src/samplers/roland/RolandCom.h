#pragma once
// The four ways parameters and lists move between the program and a Roland
// sampler: one-way data sets (with a pause after each, for the sampler to
// store them), one data set read back, and the handshake write and read in
// which every data message is acknowledged. Each exchange is a single
// attempt; the pauses run on the MIDI clock.
#include <cstdint>
#include <span>

#include "devices/midi/SysexConnection.h"
#include "samplers/roland/RolandMessages.h"

namespace quorvel::roland {

// The pause after each one-way data set.
constexpr uint32_t kOneWayPauseMs = 50;

class CRolandCom {
public:
    // On open ports (not owned), talking to device byte `device` of `model`.
    CRolandCom(CSysexMIDIInput& input, CMIDIOutput& output, uint8_t device, uint8_t model = kS760Model);

    // Data sets of at most 256 bytes at address + offset, 50 ms apart.
    void WriteOneWay(uint32_t address, std::span<const uint8_t> data);
    // One data set for `address`, copied to `destination`; returns its size.
    int32_t ReadDataSet(uint32_t address, std::span<uint8_t> destination, uint32_t timeoutMs);
    // Want to send, the data in acknowledged pieces of at most 256 bytes,
    // end of data.
    void HandshakeWrite(uint32_t address, std::span<const uint8_t> data, uint32_t timeoutMs);
    // Request data, then data messages for each next address, each
    // acknowledged, until `destination` is full; then the end of data.
    void HandshakeRead(uint32_t address, std::span<uint8_t> destination, uint32_t timeoutMs);

    uint8_t Device() const { return to_.device; }
    CSysexConnection& Connection() { return connection_; }

private:
    void AwaitAcknowledge(uint32_t timeoutMs);
    void Acknowledge();

    SRolandDevice to_;
    CSysexConnection connection_;
};

} // namespace quorvel::roland
