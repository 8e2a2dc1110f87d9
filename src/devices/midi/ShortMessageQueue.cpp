#include "devices/midi/ShortMessageQueue.h"

namespace quorvel {

bool CShortMessageQueue::Push(const SShortMessage& record)
{
    if (flag_.exchange(1, std::memory_order_acquire) == 0) {
        producerRead_ = read_.load(std::memory_order_relaxed);
        flag_.store(0, std::memory_order_release);
    }
    const uint32_t write = write_.load(std::memory_order_relaxed);
    if (write - producerRead_ >= kCapacity)
        return false;
    records_[write & (kCapacity - 1)] = record;
    write_.store(write + 1, std::memory_order_release);
    return true;
}

bool CShortMessageQueue::Pop(SShortMessage& record)
{
    if (flag_.exchange(1, std::memory_order_acquire) != 0)
        return false;
    const uint32_t read = read_.load(std::memory_order_relaxed);
    const bool any = read != write_.load(std::memory_order_acquire);
    if (any) {
        record = records_[read & (kCapacity - 1)];
        read_.store(read + 1, std::memory_order_relaxed);
    }
    flag_.store(0, std::memory_order_release);
    return any;
}

} // namespace quorvel
