#pragma once
// A sound block written empty to reserve its id while its sample data is
// still on the way. The transmitter that holds it names the block once the
// data is in; a transmitter that goes away before that deletes the block, so
// that no nameless empty block is left in the sampler.
#include <cstdint>
#include <string>

#include "samplers/SampleInfo.h"
#include "samplers/kurzweil/KurzweilObjectProtocol.h"

namespace quorvel {

class CK2000SoundBlockReservation {
public:
    static constexpr uint16_t kHighestSoundBlockId = 1000;
    static constexpr uint16_t kIdsPerBank = 100;

    // Writes an empty sound block at the first free id from `bank` x 100 on;
    // XKurzweilIDOutOfRange (the block deleted again) when the sampler puts it above 1000.
    static uint16_t Reserve(CABCKurzweilObjectProtocol& objects, int32_t bank);

    CK2000SoundBlockReservation(CABCKurzweilObjectProtocol& objects, uint16_t id) : objects_(objects), id_(id) {}
    // Deletes the block unless it was named; a failure of that delete is dropped.
    ~CK2000SoundBlockReservation();
    CK2000SoundBlockReservation(const CK2000SoundBlockReservation&) = delete;
    CK2000SoundBlockReservation& operator=(const CK2000SoundBlockReservation&) = delete;

    // Renames the block (same id) and keeps it.
    void Complete(const std::string& name);

    uint16_t Id() const { return id_; }
    // The sample number the sample data travels to: the block's id less one.
    uint16_t DataNumber() const { return static_cast<uint16_t>(id_ - 1); }
    bool Completed() const { return completed_; }

private:
    CABCKurzweilObjectProtocol& objects_;
    uint16_t id_;
    bool completed_ = false;
};

// The sampler counts a sustain loop's end as its last frame: one before the record's.
SampleInfo WithLoopEndAsLastFrame(const SampleInfo& info);

} // namespace quorvel
