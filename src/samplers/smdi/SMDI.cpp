#include "samplers/smdi/SMDI.h"

#include "devices/scsi/SCSIClock.h"
#include "devices/scsi/SCSICommandBlock.h"
#include "samplers/SamplerExceptions.h"

namespace quorvel {

using namespace smdi;

namespace {

constexpr uint8_t kSenseKeyAbortedCommand = 0x0B;
// Some adapters report a good command with a short transfer this way.
constexpr int32_t kGoodWithResidue = 261;

bool WorthAnotherAttempt(int32_t kind)
{
    return kind == kSCSIBusy || kind == kSCSINoDevice || kind == kSCSIAdapterFailure;
}

SixByteBlock TransferBlock(uint8_t opcode, size_t length)
{
    SixByteBlock block = MakeCommandBlock(opcode);
    SetBlockAddress(block, static_cast<uint32_t>(length));
    return block;
}

} // namespace

CSMDI::CSMDI(const SCSIDevice& device) : device_(device) {}

void CSMDI::Send(size_t length, const uint8_t* message)
{
    if (!device_.bus || length > 0xFFFFFF)
        throw XSMDISCSICommunicationException();
    const SixByteBlock block = TransferBlock(kSendOpcode, length);
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        const SCSIResult result = device_.bus->ExecuteOut(device_, block.data(), length, message);
        if (result.Good())
            return;
        if (!WorthAnotherAttempt(result.kind))
            break;
    }
    // The message did not go out: the procedure cannot go on as if it had.
    throw XSMDISCSICommunicationException();
}

CSMDIMessage CSMDI::Receive(size_t length)
{
    if (!device_.bus || length > 0xFFFFFF)
        throw XSCSI();
    const SixByteBlock block = TransferBlock(kReceiveOpcode, length);
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        // Zeros past what the target fills: the message's own length field
        // then decides how much of it is real.
        std::vector<uint8_t> buffer(length, 0);
        const SCSIResult result = device_.bus->ExecuteIn(device_, block.data(), length, buffer.data());
        if (result.kind == kSCSIGood || result.kind == kGoodWithResidue)
            return CSMDIMessage(std::move(buffer));
        if (result.kind == kSCSICheckCondition && result.senseLength >= 3 &&
            (result.sense[2] & 0x0F) == kSenseKeyAbortedCommand)
            throw XSMDISCSIErrorSenseKeyAborted();
        if (!WorthAnotherAttempt(result.kind))
            break;
    }
    throw XSCSI();
}

CSMDIMessage CSMDI::ReceiveMessage(size_t length)
{
    int polls = 0;
    for (;;) {
        CSMDIMessage message = Receive(length);
        if (!message.Is(kWait))
            return message;
        const SixByteBlock testUnitReady = MakeCommandBlock(kSCSITestUnitReady);
        for (;;) {
            if (polls == kWaitPolls)
                throw XSMDIWaitTimedOut();
            SCSIClock().Sleep(std::chrono::milliseconds(kWaitPollMs));
            ++polls;
            const SCSIResult result = device_.bus->ExecuteNoData(device_, testUnitReady.data());
            if (result.Good())
                break;
            // CHECK CONDITION (not ready) and busy mean "still working";
            // anything else means the target or the adapter is gone.
            if (result.kind != kSCSICheckCondition && result.kind != kSCSIBusy)
                throw XSCSI();
        }
    }
}

CSMDISampleHeader CSMDI::GetSampleHeader(uint32_t sampleNumber, size_t bufferSize)
{
    Send(BuildNumberMessage(kSampleHeaderRequest, sampleNumber));
    const CSMDIMessage answer = ReceiveMessage(bufferSize);
    if (answer.Is(kMessageReject))
        throw XSampleDoesNotExist();
    return CSMDISampleHeader(answer);
}

void CSMDI::DeleteSample(uint32_t sampleNumber)
{
    Send(BuildNumberMessage(kDeleteSample, sampleNumber));
    ExpectEndOfProcedure();
}

void CSMDI::SendAbort() { Send(BuildMessage(kAbortProcedure)); }

void CSMDI::Abort()
{
    SendAbort();
    ExpectEndOfProcedure();
}

uint32_t CSMDI::BeginTransfer(uint32_t sampleNumber, uint32_t packetLength)
{
    Send(BuildBeginTransfer(kBeginSampleTransfer, sampleNumber, packetLength));
    const CSMDIMessage answer = ReceiveMessage(kBeginTransferMessageSize);
    ThrowIfRefused<XSMDITransferRejected>(answer);
    if (!answer.Is(kBeginSampleTransferAck))
        throw XSMDIUnexpectedMessage();
    return ParseBeginTransfer(answer).packetLength;
}

void CSMDI::ExpectEndOfProcedure()
{
    const CSMDIMessage answer = ReceiveMessage(kAnswerSize);
    ThrowIfRefused<XSMDIEOPRejected>(answer);
    if (!answer.Is(kAck) && !answer.Is(kEndOfProcedure))
        throw XSMDIUnexpectedMessage();
}

} // namespace quorvel
