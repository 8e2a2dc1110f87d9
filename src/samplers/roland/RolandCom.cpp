#include "samplers/roland/RolandCom.h"

#include <algorithm>
#include <cstring>

#include "devices/midi/MIDIExceptions.h"

namespace quorvel::roland {

CRolandCom::CRolandCom(CSysexMIDIInput& input, CMIDIOutput& output, uint8_t device, uint8_t model)
    : to_{device, model}, connection_(input, output, kManufacturer, device, model)
{
}

void CRolandCom::WriteOneWay(uint32_t address, std::span<const uint8_t> data)
{
    for (size_t offset = 0; offset < data.size(); offset += kMostDataPerMessage) {
        const size_t count = std::min(data.size() - offset, static_cast<size_t>(kMostDataPerMessage));
        connection_.Send(BuildAddressed(to_, kDataSet, address + static_cast<uint32_t>(offset),
                                        data.subspan(offset, count)));
        connection_.DelayNextSend(kOneWayPauseMs);
    }
}

int32_t CRolandCom::ReadDataSet(uint32_t address, std::span<uint8_t> destination, uint32_t timeoutMs)
{
    const std::unique_ptr<CRawSysex> reply = connection_.Receive(timeoutMs);
    const std::span<const uint8_t> data =
        AddressedData(*reply, kDataSet, address, static_cast<int32_t>(destination.size()));
    std::copy(data.begin(), data.end(), destination.begin());
    return static_cast<int32_t>(data.size());
}

void CRolandCom::AwaitAcknowledge(uint32_t timeoutMs)
{
    RequireCommand(*connection_.Receive(timeoutMs), kAcknowledge);
}

void CRolandCom::Acknowledge() { connection_.Send(BuildBare(to_, kAcknowledge)); }

void CRolandCom::HandshakeWrite(uint32_t address, std::span<const uint8_t> data, uint32_t timeoutMs)
{
    const auto size = static_cast<uint32_t>(data.size());
    connection_.SendFlushed(BuildSized(to_, kWantToSend, address, size));
    AwaitAcknowledge(timeoutMs);
    for (size_t offset = 0; offset < data.size(); offset += kMostDataPerMessage) {
        const size_t count = std::min(data.size() - offset, static_cast<size_t>(kMostDataPerMessage));
        connection_.Send(BuildAddressed(to_, kData, address + static_cast<uint32_t>(offset),
                                        data.subspan(offset, count)));
        AwaitAcknowledge(timeoutMs);
    }
    connection_.Send(BuildSized(to_, kEndOfData, address, size));
    AwaitAcknowledge(timeoutMs);
}

void CRolandCom::HandshakeRead(uint32_t address, std::span<uint8_t> destination, uint32_t timeoutMs)
{
    connection_.SendFlushed(BuildSized(to_, kRequestData, address, static_cast<uint32_t>(destination.size())));
    size_t received = 0;
    while (received < destination.size()) {
        const std::unique_ptr<CRawSysex> reply = connection_.Receive(timeoutMs);
        const std::span<const uint8_t> data =
            AddressedData(*reply, kData, address + static_cast<uint32_t>(received),
                          static_cast<int32_t>(destination.size() - received));
        // An empty data message would never fill the destination.
        if (data.empty())
            throw XSysexTooSmall();
        std::copy(data.begin(), data.end(), destination.begin() + static_cast<std::ptrdiff_t>(received));
        received += data.size();
        Acknowledge();
    }
    RequireCommand(*connection_.Receive(timeoutMs), kEndOfData);
    Acknowledge();
}

} // namespace quorvel::roland
