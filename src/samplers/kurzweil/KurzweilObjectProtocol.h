#pragma once
// The object operations of a Kurzweil sampler over its system-exclusive
// connection: describe, delete, rename, list, write and read. Each is one
// transaction with up to three attempts on a time-out.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "samplers/kurzweil/KurzweilObject.h"

namespace quorvel {

enum class EKurzweilWriteMode : uint8_t {
    AsIs = 0,         // the object's own id
    SamplerChooses = 1, // id 0 on the wire: the sampler picks one
    NewObject = 2,    // the object's id as a hint, marked as new (byte 12 = 1)
};

class CABCKurzweilObjectProtocol {
public:
    virtual ~CABCKurzweilObjectProtocol() = default;

    static constexpr size_t kListLimit = 100;
    static constexpr int kObjectTimeoutMs = 4000;
    static constexpr int kSoundBlockDeleteTimeoutMs = 20000;

    // XKurzweilUnexpectedMessage when the sampler answers with anything but a description.
    virtual SKurzweilObjectRecord Describe(uint16_t type, uint16_t id) = 0;
    virtual void Delete(uint16_t type, uint16_t id, int timeoutMs) = 0;
    virtual void Rename(uint16_t type, uint16_t id, uint16_t newId, const std::string& name, int timeoutMs) = 0;
    // The objects of `type` in `bank`, at most `maximum` kept (the listing is read to its end);
    // `progress` gets (index, maximum) for each.
    virtual std::vector<SKurzweilObjectRecord> List(uint16_t type, uint8_t bank, uint8_t option, size_t maximum,
                                                    const std::function<void(size_t, size_t)>& progress = {}) = 0;
    // Writes the object and answers the id the sampler gave it (also stored in the object). An id above
    // `highestId` is deleted again and throws XKurzweilIDOutOfRange.
    virtual uint16_t Write(CKurzweilObject& object, EKurzweilWriteMode mode, uint16_t highestId, int timeoutMs) = 0;
    // Reads the object of the object's type and id into it.
    virtual void Read(CKurzweilObject& object, int timeoutMs) = 0;
};

} // namespace quorvel
