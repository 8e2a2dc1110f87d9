#pragma once
// The system-exclusive link to one sampler: one input parser and one output
// port (neither owned), a filter on the manufacturer, device and model bytes
// of incoming messages, and a minimum pause before the next send.
#include <cstdint>
#include <memory>

#include "devices/midi/RawSysex.h"

namespace quorvel {

class CMIDIOutput;
class CSysexMIDIInput;

class CSysexConnection {
public:
    // Any system-exclusive message.
    CSysexConnection(CSysexMIDIInput& input, CMIDIOutput& output);
    // Byte 1 must be `manufacturer`.
    CSysexConnection(CSysexMIDIInput& input, CMIDIOutput& output, uint8_t manufacturer);
    // Bytes 1 and 2.
    CSysexConnection(CSysexMIDIInput& input, CMIDIOutput& output, uint8_t manufacturer, uint8_t device);
    // Bytes 1, 2 and 3.
    CSysexConnection(CSysexMIDIInput& input, CMIDIOutput& output, uint8_t manufacturer, uint8_t device,
                     uint8_t model);

    bool Matches(const CRawSysex& message) const;
    uint8_t GetDeviceID() const { return device_; }

    // Holds the next send back until `ms` from now, never earlier than a
    // delay already set.
    void DelayNextSend(uint32_t ms);
    void WaitUntilSendAllowed();

    void Send(const CRawSysex& message);
    void Send(const uint8_t* data, int32_t length);
    // Discards everything received so far, so that it is never taken for the
    // answer to this message.
    void SendFlushed(const CRawSysex& message);
    // The next matching message (the caller owns it); XSysexTimedOut when none
    // came within `timeoutMs`.
    std::unique_ptr<CRawSysex> Receive(uint32_t timeoutMs);
    // Sends and receives up to `attempts` times; only time-outs lead to another attempt.
    std::unique_ptr<CRawSysex> Transact(const CRawSysex& request, uint32_t timeoutMs, int32_t attempts);

    CSysexMIDIInput& Input() const { return input_; }
    CMIDIOutput& Output() const { return output_; }

private:
    CSysexMIDIInput& input_;
    CMIDIOutput& output_;
    bool filterActive_ = true;
    bool checkDevice_ = false;
    bool checkManufacturer_ = false;
    bool checkModel_ = false;
    uint8_t device_ = 0;
    uint8_t manufacturer_ = 0;
    uint8_t model_ = 0;
    uint64_t earliestSend_ = 0;
};

} // namespace quorvel
