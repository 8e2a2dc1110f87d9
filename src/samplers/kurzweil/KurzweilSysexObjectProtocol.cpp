#include "samplers/kurzweil/KurzweilSysexObjectProtocol.h"

#include <vector>

#include "devices/midi/MIDIExceptions.h"
#include "samplers/kurzweil/KurzweilExceptions.h"
#include "samplers/kurzweil/KurzweilMessages.h"

namespace quorvel {

using namespace kurzweil;

CSysexConnection MakeKurzweilConnection(CSysexMIDIInput& input, CMIDIOutput& output, uint8_t device)
{
    return CSysexConnection(input, output, kManufacturer, device, kModel);
}

int CKurzweilObjectProtocol::DeleteTimeoutFor(uint16_t type)
{
    return type == static_cast<uint16_t>(EKurzweilObjectType::SoundBlock) ? kSoundBlockDeleteTimeoutMs
                                                                           : kObjectTimeoutMs;
}

SKurzweilObjectRecord CKurzweilObjectProtocol::AwaitDescription(const CRawSysex& request, int timeoutMs)
{
    const std::unique_ptr<CRawSysex> reply =
        connection_.Transact(request, static_cast<uint32_t>(timeoutMs), kTransactionAttempts);
    reply->RequireLength(kShortestReply);
    if (MessageNumber(*reply) != kDescription)
        throw XKurzweilUnexpectedMessage();
    return ParseDescription(*reply);
}

SKurzweilObjectRecord CKurzweilObjectProtocol::Describe(uint16_t type, uint16_t id)
{
    return AwaitDescription(BuildDescribe(Device(), type, id), kObjectTimeoutMs);
}

void CKurzweilObjectProtocol::Delete(uint16_t type, uint16_t id, int timeoutMs)
{
    AwaitDescription(BuildDelete(Device(), type, id), timeoutMs);
}

void CKurzweilObjectProtocol::Rename(uint16_t type, uint16_t id, uint16_t newId, const std::string& name,
                                     int timeoutMs)
{
    AwaitDescription(BuildRename(Device(), type, id, newId, name), timeoutMs);
}

std::vector<SKurzweilObjectRecord> CKurzweilObjectProtocol::List(uint16_t type, uint8_t bank, uint8_t option,
                                                                 size_t maximum,
                                                                 const std::function<void(size_t, size_t)>& progress)
{
    std::vector<SKurzweilObjectRecord> records;
    std::unique_ptr<CRawSysex> reply =
        connection_.Transact(BuildList(Device(), type, bank, option), kObjectTimeoutMs, kTransactionAttempts);
    // Read to the end even past the maximum, so that nothing of the listing
    // is left to be taken for the answer to the next request.
    for (size_t index = 0;; ++index) {
        const uint8_t number = MessageNumber(*reply);
        if (number == kEndOfList)
            break;
        if (number != kDescription)
            throw XKurzweilUnexpectedMessage();
        if (records.size() < maximum)
            records.push_back(ParseDescription(*reply));
        if (progress)
            progress(index, maximum);
        reply = connection_.Receive(kObjectTimeoutMs);
    }
    return records;
}

uint16_t CKurzweilObjectProtocol::Write(CKurzweilObject& object, EKurzweilWriteMode mode, uint16_t highestId,
                                        int timeoutMs)
{
    std::vector<uint8_t> body(object.BodySize());
    body.resize(object.WriteBody(body));
    const uint16_t id = mode == EKurzweilWriteMode::SamplerChooses ? 0 : object.Id();
    const uint8_t flag = mode == EKurzweilWriteMode::NewObject ? 1 : 0;
    const CRawSysex request = BuildWrite(Device(), object.Type(), id, static_cast<uint32_t>(body.size()), flag,
                                         object.Name(), body);
    const std::unique_ptr<CRawSysex> reply =
        connection_.Transact(request, static_cast<uint32_t>(timeoutMs), kTransactionAttempts);
    reply->RequireLength(kShortestReply);
    switch (MessageNumber(*reply)) {
    case kAcknowledge:
        break;
    case kRefuse:
        ThrowRefusal(*reply);
    default:
        throw XKurzweilUnexpectedMessage();
    }
    const SKurzweilAcknowledge ack = ParseAcknowledge(*reply);
    object.SetSize(static_cast<uint32_t>(body.size()));
    if (ack.id > highestId) {
        // The sampler put it where the program cannot use it: take it away
        // again. The id is what failed, whether or not the delete goes through.
        try {
            Delete(object.Type(), ack.id, DeleteTimeoutFor(object.Type()));
        } catch (const XExternalDeviceException&) {
        }
        throw XKurzweilIDOutOfRange();
    }
    object.SetId(ack.id);
    return ack.id;
}

void CKurzweilObjectProtocol::Read(CKurzweilObject& object, int timeoutMs)
{
    const std::unique_ptr<CRawSysex> reply = connection_.Transact(
        BuildRead(Device(), object.Type(), object.Id()), static_cast<uint32_t>(timeoutMs), kTransactionAttempts);
    reply->RequireLength(kShortestReply);
    const uint8_t number = MessageNumber(*reply);
    if (number == kRefuse)
        ThrowRefusal(*reply);
    reply->RequireLength(kShortestWrite);
    if (number != kWrite)
        throw XKurzweilUnexpectedMessage();
    SKurzweilWrittenObject written = ParseWrite(*reply);
    object.ReadBody(written.body);
    object.SetSize(written.record.size);
    object.SetName(written.record.name);
    object.SetFlag(written.record.flag);
    connection_.Send(BuildAcknowledge(Device(), object.Type(), object.Id(), 0, written.record.size));
}

} // namespace quorvel
