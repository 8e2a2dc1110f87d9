#pragma once
// The sample memory of an emulated SMDI sampler, by sample number. With a
// folder it lives there, one file per sample, and outlives the process;
// without one it lasts as long as the store. Any thread.
//
// File `<folder>/sample-NNNNNNNN.smdi` (NNNNNNNN: the sample number in 8
// decimal digits): the Sample Header message exactly as the sampler answers
// a Sample Header Request, then the data bytes as the data packets carried
// them.
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "devices/emulated/SMDISample.h"

namespace quorvel {

class CSMDISampleStore {
public:
    // An empty folder keeps the samples in memory only. Samples already in
    // the folder are read now; files that are not whole samples are skipped.
    explicit CSMDISampleStore(std::string folder = {});

    // Replaces any sample of that number. With a folder the file is written
    // safely (a complete new file or the old one); a failure propagates.
    void Put(SSMDISample sample);
    // False when there was no such sample. A file that cannot be removed
    // throws and the sample stays.
    bool Remove(uint32_t number);
    std::optional<SSMDISample> Find(uint32_t number) const;
    // The sample itself, for reading while the store goes on; null when
    // there is none. A later Put or Remove leaves it as it is.
    std::shared_ptr<const SSMDISample> Shared(uint32_t number) const;
    bool Contains(uint32_t number) const;
    std::vector<uint32_t> Numbers() const;

    static std::string FileName(uint32_t number);

private:
    void Load();

    std::string folder_;
    mutable std::mutex mutex_;
    std::map<uint32_t, std::shared_ptr<const SSMDISample>> samples_;
};

} // namespace quorvel
