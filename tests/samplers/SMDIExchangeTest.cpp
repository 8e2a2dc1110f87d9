#include "FakeSMDISampler.h"

#include "samplers/SamplerExceptions.h"
#include "samplers/smdi/SMDI.h"
#include "samplers/smdi/SMDIExceptions.h"

using namespace quorvel;
using namespace quorvel::test;
using namespace quorvel::smdi;

namespace {

SCSIResult Kind(int32_t kind)
{
    SCSIResult result;
    result.kind = kind;
    return result;
}

class SMDIExchangeTest : public SMDIFixture {
protected:
    CSMDI smdi{device};
};

} // namespace

TEST_F(SMDIExchangeTest, SendRetriesABusyTargetFourTimesThenThrows)
{
    for (int i = 0; i < 4; ++i)
        sampler.forced.push_back(Kind(kSCSIBusy));
    smdi.Send(BuildMessage(kAck));
    EXPECT_EQ(sampler.commandCount, 5);
    ASSERT_EQ(sampler.sent.size(), 1u);

    // Five busy answers: the message never went out, and the caller hears it.
    sampler.commandCount = 0;
    for (int i = 0; i < 5; ++i)
        sampler.forced.push_back(Kind(kSCSIBusy));
    EXPECT_THROW(smdi.Send(BuildMessage(kAck)), XSMDISCSICommunicationException);
    EXPECT_EQ(sampler.commandCount, 5);
    EXPECT_EQ(sampler.sent.size(), 1u);

    // A failure that another attempt cannot mend ends at once.
    sampler.commandCount = 0;
    sampler.forced.push_back(CheckCondition(0x05));
    EXPECT_THROW(smdi.Send(BuildMessage(kAck)), XSMDISCSICommunicationException);
    EXPECT_EQ(sampler.commandCount, 1);
    sampler.forced.clear();

    // The SEND block carries the message length.
    sampler.commandCount = 0;
    smdi.Send(BuildNumberMessage(kDeleteSample, 2));
    EXPECT_EQ(sampler.sent.back().size(), 14u);
}

TEST_F(SMDIExchangeTest, ReceiveFailuresHaveTheirOwnExceptions)
{
    for (int i = 0; i < 5; ++i)
        sampler.forced.push_back(Kind(kSCSIAdapterFailure));
    EXPECT_THROW(smdi.Receive(11), XSCSI);
    EXPECT_EQ(sampler.commandCount, 5);

    sampler.forced.push_back(CheckCondition(0x0B));
    EXPECT_THROW(smdi.Receive(11), XSMDISCSIErrorSenseKeyAborted);
    sampler.forced.push_back(CheckCondition(0x0B));
    EXPECT_THROW(smdi.Receive(11), XSMDISCSICommunicationException);
    sampler.forced.push_back(CheckCondition(0x03));
    EXPECT_THROW(smdi.Receive(11), XSCSI);
    sampler.forced.push_back(Kind(kSCSITimeOut));
    EXPECT_THROW(smdi.Receive(11), XSCSI);

    Bytes wrongTag = BuildMessage(kAck);
    wrongTag[3] = 'X';
    sampler.answers.push_back(wrongTag);
    EXPECT_THROW(smdi.Receive(11), XSMDIMessageInvalid);

    sampler.forced.push_back(Kind(kSCSIBusy));
    sampler.answers.push_back(BuildMessage(kAck));
    EXPECT_TRUE(smdi.Receive(11).Is(kAck));
}

TEST_F(SMDIExchangeTest, AWaitIsSatOutOnTheSCSIClock)
{
    sampler.waits = 1;
    sampler.notReadyPolls = 2; // ready at the third poll
    sampler.answers.push_back(BuildMessage(kEndOfProcedure));
    EXPECT_TRUE(smdi.ReceiveMessage(11).Is(kEndOfProcedure));
    EXPECT_EQ(sampler.polls, 3);
    EXPECT_EQ(clock.now, 375u);
}

TEST_F(SMDIExchangeTest, AWaitThatNeverEndsTimesOutAfter160Polls)
{
    sampler.waits = 1;
    sampler.notReadyPolls = 1000;
    EXPECT_THROW(smdi.ReceiveMessage(11), XSMDIWaitTimedOut);
    EXPECT_EQ(sampler.polls, 160);
    EXPECT_EQ(clock.now, 20000u);

    // WAIT after WAIT shares the one budget.
    sampler.polls = 0;
    sampler.notReadyPolls = 0;
    sampler.waits = 1000;
    EXPECT_THROW(smdi.ReceiveMessage(11), XSMDIWaitTimedOut);
    EXPECT_EQ(sampler.polls, 160);

    // A target that disappears while busy is not waited for.
    sampler.polls = 0;
    sampler.waits = 1;
    sampler.answers.clear();
    sampler.pollResult = Kind(kSCSINoDevice);
    EXPECT_THROW(smdi.ReceiveMessage(11), XSCSI);
    EXPECT_EQ(sampler.polls, 1);
}

TEST_F(SMDIExchangeTest, TheClosingAnswerIsAckOrEndOfProcedure)
{
    sampler.answers = {BuildMessage(kAck), BuildMessage(kEndOfProcedure)};
    smdi.ExpectEndOfProcedure();
    smdi.ExpectEndOfProcedure();

    sampler.answers = {BuildMessageReject(0x0020, 0x0002)};
    EXPECT_THROW(smdi.ExpectEndOfProcedure(), XSMDIEOPRejected);
    sampler.answers = {BuildMessage(kAbortProcedure)};
    EXPECT_THROW(smdi.ExpectEndOfProcedure(), XSMDIAborted);
    sampler.answers = {BuildMessage(kNak)};
    EXPECT_THROW(smdi.ExpectEndOfProcedure(), XSMDIUnexpectedMessage);
    sampler.answers = {BuildNumberMessage(kSendNextPacket, 0)};
    EXPECT_THROW(smdi.ExpectEndOfProcedure(), XSMDIUnexpectedMessage);
    // The rejections are rejections, not link failures.
    sampler.answers = {BuildMessage(kAbortProcedure)};
    EXPECT_THROW(smdi.ExpectEndOfProcedure(), XExternalDeviceRejected);
}

TEST_F(SMDIExchangeTest, ProceduresSendTheirMessagesAndCheckTheAnswer)
{
    EXPECT_THROW(smdi.GetSampleHeader(9), XSampleDoesNotExist);
    ASSERT_EQ(sampler.sent.size(), 1u);
    EXPECT_EQ(sampler.sent[0], BuildNumberMessage(kSampleHeaderRequest, 9));

    EXPECT_THROW(smdi.DeleteSample(9), XSMDIEOPRejected);
    EXPECT_EQ(sampler.sent.back(), BuildNumberMessage(kDeleteSample, 9));

    smdi.Abort();
    EXPECT_EQ(sampler.sent.back(), BuildMessage(kAbortProcedure));

    EXPECT_THROW(smdi.BeginTransfer(9, 64), XSMDITransferRejected);
    EXPECT_EQ(sampler.sent.back(), BuildBeginTransfer(kBeginSampleTransfer, 9, 64));

    sampler.tamper = [](Bytes& answer) { answer = BuildMessage(kAck); };
    EXPECT_THROW(smdi.GetSampleHeader(9), XSMDIUnexpectedMessage);
    EXPECT_THROW(smdi.BeginTransfer(9, 64), XSMDIUnexpectedMessage);
    sampler.tamper = [](Bytes& answer) { answer = BuildMessage(kAbortProcedure); };
    EXPECT_THROW(smdi.BeginTransfer(9, 64), XSMDIAborted);
}
