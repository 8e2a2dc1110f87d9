#pragma once
// The sample memory of the emulated Sample Dump Standard sampler, by sample
// number. With a folder it lives there, one file per sample, and outlives
// the process; without one it lasts as long as the store. Any thread.
//
// File `<folder>/sample-NNNNN.sds` (NNNNN: the sample number in 5 decimal
// digits): the 21-byte dump header as the sampler would send it on device 0,
// then the words, 4 bytes each, least significant byte first.
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "devices/emulated/SDSSample.h"

namespace quorvel {

class CSDSSampleStore {
public:
    // An empty folder keeps the samples in memory only. Samples already in
    // the folder are read now; files that are not whole samples are skipped.
    explicit CSDSSampleStore(std::string folder = {});

    // Replaces any sample of that number. With a folder the file is written
    // safely (a complete new file or the old one); a failure propagates.
    void Put(const SSDSSample& sample);
    // Forgets the sample of that number (and its file); false when none.
    bool Remove(uint16_t number);
    std::optional<SSDSSample> Find(uint16_t number) const;
    std::vector<uint16_t> Numbers() const;

    static std::string FileName(uint16_t number);

private:
    void Load();

    std::string folder_;
    mutable std::mutex mutex_;
    std::map<uint16_t, SSDSSample> samples_;
};

} // namespace quorvel
