#include "devices/midi/MIDIOutput.h"

#include <algorithm>

#include "devices/DeviceTrace.h"
#include "devices/midi/MIDIService.h"
#include "devices/midi/RegisteredMIDIPorts.h"

namespace quorvel {

void CMIDIOutput::SendBytes(const uint8_t* data, int32_t length)
{
    if (length <= 0)
        return;
    TraceMIDI("midi-out", port_.Name(), data, static_cast<size_t>(length));
    while (length > 0) {
        const int32_t chunk = std::min(length, kChunkSize);
        StartChunk(data, chunk);
        data += chunk;
        length -= chunk;
        while (!ChunkDone())
            ServiceAllMIDIInputs();
    }
}

int32_t CMIDIOutput::SendShortMessage(uint8_t status, uint8_t data1, uint8_t data2)
{
    const uint8_t bytes[3] = {status, data1, data2};
    const int32_t length = 1 + DataBytesAfter(status);
    TraceMIDI("midi-out", port_.Name(), bytes, static_cast<size_t>(length));
    return WriteShort(bytes, length);
}

int CMIDIOutput::DataBytesAfter(uint8_t status)
{
    if (status < 0x80)
        return 0;
    if (status < 0xF0) {
        const uint8_t kind = status & 0xF0;
        return kind == 0xC0 || kind == 0xD0 ? 1 : 2;
    }
    switch (status) {
    case 0xF1:
    case 0xF3:
        return 1;
    case 0xF2:
        return 2;
    default:
        return 0;
    }
}

} // namespace quorvel
