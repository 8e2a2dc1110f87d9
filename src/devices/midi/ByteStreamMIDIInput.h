#pragma once
// An input whose driver hands over a raw MIDI byte stream (ALSA raw MIDI,
// Loopback). The driver's thread splits the stream: system-exclusive bytes go
// out as long data at once, everything else as short messages (running
// status followed, real-time bytes taken out wherever they fall). What the
// parser wants later is queued and handed over by Poll() on the
// user-interface thread.
#include <atomic>
#include <cstdint>

#include "devices/midi/MIDIInput.h"
#include "devices/midi/ShortMessageQueue.h"

namespace quorvel {

class CByteStreamMIDIInput : public CMIDIInput {
public:
    static constexpr int32_t kBlockSize = 2048;
    static constexpr uint32_t kBlockCount = 16;

    CByteStreamMIDIInput(const CRegisteredMIDIInput& port, CMIDIInputParser& parser);

    void Poll() override;

    // Driver's thread. Ignored unless delivery has started.
    void DeliverBytes(const uint8_t* data, size_t length);

protected:
    // Delivery runs between these two; a derived destructor must stop it
    // before its driver goes away.
    void StartDelivery();
    void StopDelivery();

private:
    struct LongBlock {
        uint32_t time = 0;
        int32_t length = 0;
        uint8_t data[kBlockSize];
    };

    uint32_t Now() const;
    void EmitShort(uint8_t status, uint8_t data1, uint8_t data2);
    void FlushLong();

    std::atomic<bool> started_{false};

    // Stream state (driver's thread only).
    bool inSysex_ = false;
    uint8_t status_ = 0;
    int needed_ = 0;
    int have_ = 0;
    uint8_t data_[2] = {0, 0};
    uint8_t pending_[kBlockSize];
    int32_t pendingLength_ = 0;

    CShortMessageQueue shortQueue_;
    // Long data kept for later: one producer, one consumer; full drops.
    LongBlock blocks_[kBlockCount];
    std::atomic<uint32_t> blockWrite_{0};
    std::atomic<uint32_t> blockRead_{0};
};

} // namespace quorvel
