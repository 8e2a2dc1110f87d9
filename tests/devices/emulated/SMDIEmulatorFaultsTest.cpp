// The faults an emulated SMDI sampler plays, each as the master meets it.
#include "SMDITestMaster.h"

namespace quorvel::test {
namespace {

SHeaderFields Header(uint32_t frames)
{
    SHeaderFields header;
    header.length = frames;
    return header;
}

// A sample already in the sampler's memory, for the faults of giving.
void Preload(CSMDIMaster& master, uint32_t frames)
{
    SSMDISample sample;
    sample.number = Header(frames).number;
    sample.length = frames;
    sample.periodNs = 22675;
    sample.data = PatternData(2, frames);
    master.emulator->Samples().Put(sample);
}

TEST(SMDIEmulatorFaults, BusyAnswersTheFirstCommandsThenGoesOn)
{
    CSMDIMaster master("smdi", "busy:3");
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(master.Send(HeaderRequest(1)).kind, kSCSIBusy) << i;
    EXPECT_TRUE(master.Send(HeaderRequest(1)).Good());
    EXPECT_EQ(RejectOf(master.Receive()), 0x00200002u);
}

TEST(SMDIEmulatorFaults, WaitHoldsTheAnswerAndTheUnitIsNotReadyMeanwhile)
{
    CSMDIMaster master("smdi", "wait:500");
    ASSERT_TRUE(master.Send(HeaderMessage(Header(100))).Good());
    EXPECT_EQ(CodeOf(master.Receive()), kWait);
    SCSIResult ready = master.TestUnitReady();
    EXPECT_EQ(ready.kind, kSCSICheckCondition);
    EXPECT_EQ(ready.sense[2] & 0x0F, 0x02); // not ready
    EXPECT_EQ(CodeOf(master.Receive()), kWait);
    master.clock.Advance(499);
    EXPECT_EQ(master.TestUnitReady().kind, kSCSICheckCondition);
    master.clock.Advance(1);
    EXPECT_TRUE(master.TestUnitReady().Good());
    EXPECT_EQ(CodeOf(master.Receive()), kTransferAck);
    // The transfer itself goes on without waits.
    EXPECT_EQ(CodeOf(master.Exchange(BeginTransfer(5, 200))), kSendNext);
}

TEST(SMDIEmulatorFaults, RejectionsOfTheHeaderTheTransferAndOnePacket)
{
    CSMDIMaster header("smdi", "reject-header");
    EXPECT_EQ(RejectOf(header.Exchange(HeaderMessage(Header(100)))), 0x00200001u);

    CSMDIMaster transfer("smdi", "reject-transfer");
    ASSERT_EQ(CodeOf(transfer.Exchange(HeaderMessage(Header(100)))), kTransferAck);
    EXPECT_EQ(RejectOf(transfer.Exchange(BeginTransfer(5, 200))), 0x00220000u);
    Preload(transfer, 100);
    EXPECT_EQ(RejectOf(transfer.Exchange(BeginTransfer(5, 200))), 0x00220000u);

    CSMDIMaster packet("smdi", "reject-packet:1");
    const Bytes data = PatternData(2, 300);
    ASSERT_EQ(CodeOf(packet.Exchange(HeaderMessage(Header(300)))), kTransferAck);
    ASSERT_EQ(CodeOf(packet.Exchange(BeginTransfer(5, 200))), kSendNext);
    ASSERT_EQ(CodeOf(packet.Exchange(DataPacket(0, Bytes(data.begin(), data.begin() + 200)))), kSendNext);
    EXPECT_EQ(RejectOf(packet.Exchange(DataPacket(1, Bytes(data.begin() + 200, data.begin() + 400)))), 0x00020000u);
    EXPECT_FALSE(packet.emulator->Samples().Find(5).has_value());
    Preload(packet, 300);
    ASSERT_EQ(CodeOf(packet.Exchange(BeginTransfer(5, 200))), kTransferAck);
    ASSERT_EQ(CodeOf(packet.Exchange(SendNextPacket(0))), kData);
    EXPECT_EQ(RejectOf(packet.Exchange(SendNextPacket(1))), 0x00020000u);
}

TEST(SMDIEmulatorFaults, AbortAnswersThePacketWithAbortProcedure)
{
    CSMDIMaster master("smdi", "abort:2");
    const Bytes data = PatternData(2, 300);
    ASSERT_EQ(CodeOf(master.Exchange(HeaderMessage(Header(300)))), kTransferAck);
    ASSERT_EQ(CodeOf(master.Exchange(BeginTransfer(5, 100))), kSendNext);
    for (uint32_t n = 0; n < 2; ++n)
        ASSERT_EQ(CodeOf(master.Exchange(DataPacket(n, Bytes(data.begin() + n * 100, data.begin() + n * 100 + 100)))),
                  kSendNext);
    EXPECT_EQ(CodeOf(master.Exchange(DataPacket(2, Bytes(data.begin() + 200, data.begin() + 300)))), kAbort);
    EXPECT_FALSE(master.emulator->Samples().Find(5).has_value());

    Preload(master, 300);
    EXPECT_FALSE(master.ReceiveSample(5, 100, 600).has_value());
}

TEST(SMDIEmulatorFaults, BadTagCheckConditionAndSilence)
{
    CSMDIMaster tag("smdi", "bad-tag");
    ASSERT_TRUE(tag.Send(HeaderRequest(1)).Good());
    const Bytes answer = tag.Receive();
    ASSERT_GE(answer.size(), 4u);
    EXPECT_NE(Bytes(answer.begin(), answer.begin() + 4), (Bytes{'S', 'M', 'D', 'I'}));

    CSMDIMaster aborted("smdi", "check-condition");
    SCSIResult result = aborted.Send(HeaderRequest(1));
    EXPECT_EQ(result.kind, kSCSICheckCondition);
    EXPECT_EQ(result.sense[2] & 0x0F, 0x0B);
    aborted.Receive(1024, &result);
    EXPECT_EQ(result.sense[2] & 0x0F, 0x0B);
    EXPECT_EQ(aborted.Inquiry()[0], 0x03); // it is there, and says so

    CSMDIMaster silent("smdi", "silent");
    EXPECT_EQ(silent.Send(HeaderRequest(1)).kind, kSCSINoDevice);
    EXPECT_EQ(silent.TestUnitReady().kind, kSCSINoDevice);
}

} // namespace
} // namespace quorvel::test
