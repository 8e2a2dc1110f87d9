#pragma once
// One SMDI conversation with a target: messages travel in the data phase of
// SEND (out) and RECEIVE (in) commands. Sends and receives retry a busy
// target; a WAIT is sat out by polling with TEST UNIT READY on SCSIClock().
#include <cstddef>
#include <cstdint>
#include <vector>

#include "devices/scsi/SCSIBus.h"
#include "samplers/smdi/SMDIExceptions.h"
#include "samplers/smdi/SMDIMessages.h"
#include "samplers/smdi/SMDISampleHeader.h"

namespace quorvel {

class CSMDI {
public:
    static constexpr int kAttempts = 5;
    static constexpr int kWaitPolls = 160;
    static constexpr int kWaitPollMs = 125;
    static constexpr uint8_t kSendOpcode = 0x0A;
    static constexpr uint8_t kReceiveOpcode = 0x08;
    // Room for an answer without data; a Message Reject's codes are cut off,
    // which still tells what it is.
    static constexpr size_t kAnswerSize = smdi::kHeaderSize;

    explicit CSMDI(const SCSIDevice& device);

    // Sends one message. A target that stays busy (or absent) through five
    // attempts, or any other failure, throws XSMDISCSICommunicationException.
    void Send(size_t length, const uint8_t* message);
    void Send(const std::vector<uint8_t>& message) { Send(message.size(), message.data()); }
    // Reads one message into a buffer of `length` bytes. XSMDIMessageInvalid
    // without the tag; XSMDISCSIErrorSenseKeyAborted for CHECK CONDITION with
    // sense key ABORTED COMMAND; XSCSI for any other failure, and for a
    // target still busy after five attempts.
    smdi::CSMDIMessage Receive(size_t length);
    // Receive, sitting out WAITs: TEST UNIT READY every 125 ms until the
    // target is ready, then the next message. One call waits at most 160
    // polls in all (20 s), then XSMDIWaitTimedOut.
    smdi::CSMDIMessage ReceiveMessage(size_t length);

    // XSampleDoesNotExist for a Message Reject, XSMDIUnexpectedMessage for
    // anything but a Sample Header. `bufferSize` leaves room for bytes a
    // sampler appends.
    CSMDISampleHeader GetSampleHeader(uint32_t sampleNumber, size_t bufferSize = CSMDISampleHeader::kMaxMessage);
    // Delete Sample, then the closing answer.
    void DeleteSample(uint32_t sampleNumber);
    // Abort Procedure, then the closing answer.
    void Abort();
    void SendAbort();
    // Begin Sample Transfer; returns the packet length the acknowledge gives.
    // XSMDITransferRejected for a Message Reject.
    uint32_t BeginTransfer(uint32_t sampleNumber, uint32_t packetLength);
    // The answer that ends a procedure: ACK or End of Procedure.
    // XSMDIEOPRejected for a Message Reject, XSMDIAborted for Abort
    // Procedure, XSMDIUnexpectedMessage otherwise.
    void ExpectEndOfProcedure();
    // XSMDIAborted for Abort Procedure, `Rejected` for a Message Reject;
    // other messages pass.
    template <class Rejected>
    static void ThrowIfRefused(const smdi::CSMDIMessage& message);

    const SCSIDevice& Device() const { return device_; }

private:
    SCSIDevice device_;
};

template <class Rejected>
void CSMDI::ThrowIfRefused(const smdi::CSMDIMessage& message)
{
    if (message.Is(smdi::kMessageReject))
        throw Rejected();
    if (message.Is(smdi::kAbortProcedure))
        throw XSMDIAborted();
}

} // namespace quorvel
