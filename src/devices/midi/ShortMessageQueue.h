#pragma once
// Short messages from the driver's thread to the user-interface thread: 256
// records, one producer, one consumer. Neither side ever waits: the flag
// guarding the consumer's counter is only tried once. A producer that misses
// it works from its older copy of the counter; a consumer that misses it
// reports the queue empty for now. A full queue drops the record.
#include <atomic>
#include <cstdint>

#include "devices/midi/MIDIInput.h"

namespace quorvel {

class CShortMessageQueue {
public:
    static constexpr uint32_t kCapacity = 256;

    // Producer. False when the record was dropped.
    bool Push(const SShortMessage& record);
    // Consumer. False when nothing could be taken now.
    bool Pop(SShortMessage& record);

private:
    SShortMessage records_[kCapacity];
    std::atomic<uint32_t> write_{0};
    std::atomic<uint32_t> read_{0};
    uint32_t producerRead_ = 0;
    std::atomic<int> flag_{0};
};

} // namespace quorvel
