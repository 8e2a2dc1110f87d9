#pragma once
// What an emulated Kurzweil sampler keeps: objects by type and id, each
// with a name, a flag and its body as written, and sample data by sample
// number (sound block n plays sample n - 1). The sample data lives in an
// SMDI sample store, shared with the SCSI target of the MIDI+SCSI models,
// so that data arriving over MIDI or over SCSI lands in the one memory.
// Any thread.
//
// With a folder, the objects live in `<folder>/objects.k2` (replaced safely
// after every change); the samples in the store's own folder.
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "devices/emulated/SMDISampleStore.h"

namespace quorvel {

namespace kurzweil {
constexpr uint16_t kProgram = 132;
constexpr uint16_t kKeymap = 133;
constexpr uint16_t kSoundBlock = 134;
// The ids a write may take; a bank is a hundred of them (bank 0: 1 to 99).
constexpr uint16_t kFirstId = 1;
constexpr uint16_t kLastId = 999;
} // namespace kurzweil

struct SKurzweilObject {
    uint16_t type = 0;
    uint16_t id = 0;
    uint8_t flag = 1;
    std::string name;
    std::vector<uint8_t> body;

    bool operator==(const SKurzweilObject&) const = default;
};

class CKurzweilMemory {
public:
    // `samples` outlives the memory. Objects already in the folder are read
    // now; a file that does not hold together is ignored.
    CKurzweilMemory(std::string folder, CSMDISampleStore& samples);

    std::optional<SKurzweilObject> Find(uint16_t type, uint16_t id) const;
    // Replaces any object of that type and id. A sound block whose sample
    // is held takes the sample's fields at once.
    void Put(SKurzweilObject object);
    // Deletes the object (and a sound block's sample); false when none.
    bool Remove(uint16_t type, uint16_t id);
    // Renames (a non-empty name) and renumbers (a new id other than 0 and
    // the old one, replacing what was there) an object; a sound block takes
    // its sample along. The object as it is now, or none.
    std::optional<SKurzweilObject> Change(uint16_t type, uint16_t id, uint16_t newId, const std::string& name);
    // The first id from `from` upward that holds no object of `type`, up to
    // `last`; 0 when none is free.
    uint16_t FirstFree(uint16_t type, uint32_t from, uint32_t last) const;
    // Objects of `type` in id order, all of them for bank 127, else those
    // whose id / 100 is `bank`.
    std::vector<SKurzweilObject> List(uint16_t type, uint8_t bank) const;

    // Keeps sample data under its number and fits sound block number + 1 to
    // it, making the block when there is none.
    void PutSample(SSMDISample sample);
    std::shared_ptr<const SSMDISample> Sample(uint32_t number) const { return samples_.Shared(number); }
    // Fits the sound blocks to samples that arrived behind the memory's back
    // (over SCSI): a new sample makes or refits its block, a sample deleted
    // there deletes it.
    void Sync();

    // A sound block body with one default sound header.
    static std::vector<uint8_t> EmptySoundBlock();
    // The first sound header of `body` (made when missing) and the block's
    // stereo bit set from `sample`.
    static void FitSoundBlock(std::vector<uint8_t>& body, const SSMDISample& sample);

private:
    using Key = std::pair<uint16_t, uint16_t>;
    void SaveLocked();
    void Load();
    void FitLocked(uint16_t id, const SSMDISample& sample, const std::string& nameIfNew);

    std::string folder_;
    CSMDISampleStore& samples_;
    mutable std::mutex mutex_;
    std::map<Key, SKurzweilObject> objects_;
    // The samples the blocks were last fitted to, to find what changed.
    std::map<uint32_t, std::shared_ptr<const SSMDISample>> fitted_;
};

} // namespace quorvel
