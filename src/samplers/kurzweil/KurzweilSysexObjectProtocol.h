#pragma once
// The object operations over a Kurzweil system-exclusive connection (0x07,
// the sampler's device byte, 0x78). Every request is a transaction with up to
// three attempts on a time-out; a listing reads replies until its end.
#include "devices/midi/SysexConnection.h"
#include "samplers/kurzweil/KurzweilObjectProtocol.h"

namespace quorvel {

class CKurzweilObjectProtocol final : public CABCKurzweilObjectProtocol {
public:
    // On a connection filtered for the Kurzweil bytes (see MakeKurzweilConnection); not owned.
    explicit CKurzweilObjectProtocol(CSysexConnection& connection) : connection_(connection) {}

    SKurzweilObjectRecord Describe(uint16_t type, uint16_t id) override;
    void Delete(uint16_t type, uint16_t id, int timeoutMs) override;
    void Rename(uint16_t type, uint16_t id, uint16_t newId, const std::string& name, int timeoutMs) override;
    std::vector<SKurzweilObjectRecord> List(uint16_t type, uint8_t bank, uint8_t option, size_t maximum,
                                            const std::function<void(size_t, size_t)>& progress = {}) override;
    uint16_t Write(CKurzweilObject& object, EKurzweilWriteMode mode, uint16_t highestId, int timeoutMs) override;
    // A refusal throws by its error code, as for a write.
    void Read(CKurzweilObject& object, int timeoutMs) override;

    // How long a delete of `type` may take: sound blocks free their sample memory.
    static int DeleteTimeoutFor(uint16_t type);

private:
    // The description an operation answers with; XKurzweilUnexpectedMessage for anything else.
    SKurzweilObjectRecord AwaitDescription(const CRawSysex& request, int timeoutMs);
    uint8_t Device() const { return connection_.GetDeviceID(); }

    CSysexConnection& connection_;
};

// The connection the object protocol needs on two open ports.
CSysexConnection MakeKurzweilConnection(CSysexMIDIInput& input, CMIDIOutput& output, uint8_t device);

} // namespace quorvel
