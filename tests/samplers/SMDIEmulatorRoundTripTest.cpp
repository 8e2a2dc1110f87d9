// The program's SMDI classes against the emulated SMDI samplers on the
// Loopback bus: the emulators were written from the protocol, so a
// misreading on either side shows here. One manual clock serves both sides:
// the program's WAIT polls move it, and the emulator holds its WAIT by it.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "devices/emulated/SMDIEmulator.h"
#include "devices/emulated/SMDIEmulatorModel.h"
#include "devices/scsi/LoopbackSCSI.h"
#include "devices/scsi/SCSIClock.h"
#include "loopgen/DrumLoopGenerator.h"
#include "samplers/SampleTransfer.h"
#include "samplers/SamplerExceptions.h"
#include "samplers/emu/EMUSCSIInterface.h"
#include "samplers/smdi/SMDIExceptions.h"
#include "samplers/smdi/SMDISamplerInterface.h"

using namespace quorvel;

namespace {

class SharedClock final : public CABCClock, public CABCEmulatorClock {
public:
    uint64_t Milliseconds() const override { return now; }
    void Sleep(std::chrono::milliseconds duration) override { now += static_cast<uint64_t>(duration.count()); }
    void WaitUntil(std::unique_lock<std::mutex>&, std::condition_variable&, uint64_t until) override
    {
        now = std::max(now, until);
    }
    uint64_t now = 1;
};

class NoProgress : public CABCTransferProgress {
public:
    void SetPercent(int32_t) override {}
    bool CancelRequested() override { return false; }
};

// A stretch of a generated drum loop: real audio, not a ramp.
std::vector<int16_t> Slice(size_t frames)
{
    static const loopgen::GeneratedLoop loop = loopgen::GenerateDrumLoop(loopgen::LoopSpec{});
    const auto first = loop.samples.begin() + loop.hits.at(1).frame;
    return std::vector<int16_t>(first, first + static_cast<std::ptrdiff_t>(frames));
}

SampleInfo Info(uint8_t bits, uint8_t channels, uint32_t frames, uint32_t rate = 44100)
{
    SampleInfo info;
    info.SetName("SNARE 2");
    info.bits = bits;
    info.channelCount = channels;
    info.rate = rate;
    info.length = info.playEnd = frames;
    info.rootKey = 62;
    info.sustainLoop = {static_cast<uint32_t>(SampleLoopType::Forward), 100, frames - 1};
    return info;
}

struct Rig {
    explicit Rig(const char* model, std::vector<SEmulatorFault> faults = {})
        : emulator(std::make_shared<CSMDIEmulator>(*FindSMDIEmulatorModel(model), clock, faults))
    {
        device = SCSIDevice{&bus, bus.AddTarget(emulator), 1000};
    }
    SharedClock clock;
    CScopedSCSIClock scoped{clock};
    CLoopbackSCSIBus bus;
    std::shared_ptr<CSMDIEmulator> emulator;
    SCSIDevice device;
    NoProgress progress;
};

template <class Word>
SReceivedSample RoundTrip(Rig& rig, CABCSamplerInterface& sampler, int32_t number, SampleInfo info,
                          const std::vector<Word>& words)
{
    sampler.AdaptSampleInfo(info);
    TransmitSample(*sampler.CreateTransmitter(number), info, 0, std::span<const Word>(words), rig.progress);
    return ReceiveSample(*sampler.CreateReceiver(number), 0, rig.progress);
}

} // namespace

TEST(SMDIEmulatorRoundTrip, EveryWordSizeAndStereoComeBackBitExactly)
{
    Rig rig("smdi");
    CSMDISamplerInterface smdi(rig.device);
    const std::vector<int16_t> slice = Slice(3000);

    // 16 bits, mono.
    SReceivedSample back = RoundTrip(rig, smdi, 7, Info(16, 1, 3000), slice);
    EXPECT_EQ(back.narrow, slice);
    EXPECT_EQ(back.info.Name(), "SNARE 2");
    EXPECT_EQ(back.info.rootKey, 62);
    EXPECT_EQ(back.info.sustainLoop.start, 100u);

    // 8 bits travel in the top byte of 16-bit words.
    std::vector<int16_t> eight(slice);
    for (int16_t& word : eight)
        word = static_cast<int16_t>(word & 0xFF00);
    back = RoundTrip(rig, smdi, 8, Info(8, 1, 3000), eight);
    EXPECT_EQ(back.narrow, eight);

    // 24 bits: left-justified 32-bit words, the low byte of each word used.
    std::vector<int32_t> wide(slice.size());
    for (size_t i = 0; i < slice.size(); ++i)
        wide[i] = static_cast<int32_t>((uint32_t(uint16_t(slice[i])) << 16) | ((i * 37) & 0xFF) << 8);
    back = RoundTrip(rig, smdi, 24, Info(24, 1, 3000), wide);
    EXPECT_EQ(back.wide, wide);
    EXPECT_EQ(back.info.bits, 24);

    // 16-bit stereo, interleaved.
    std::vector<int16_t> stereo;
    for (int16_t word : slice) {
        stereo.push_back(word);
        stereo.push_back(static_cast<int16_t>(-(word / 2)));
    }
    back = RoundTrip(rig, smdi, 2, Info(16, 2, 3000), stereo);
    EXPECT_EQ(back.info.channelCount, 2);
    EXPECT_EQ(back.narrow, stereo);

    // What the sampler holds is what the header said.
    SampleInfo held;
    smdi.GetSampleInfo(held, 24);
    EXPECT_EQ(held.length, 3000u);
    EXPECT_EQ(held.bits, 24);
    smdi.DeleteSample(24);
    EXPECT_THROW(smdi.GetSampleInfo(held, 24), XSampleDoesNotExist);
}

TEST(SMDIEmulatorRoundTrip, AnEmuTakesWhatItsInterfaceAdaptedAndKeepsTheExtendedFields)
{
    Rig rig("5011");
    CEMUSCSIInterface emu(rig.device);
    const std::vector<int16_t> slice = Slice(2000);

    SampleInfo info = Info(16, 1, 2000, 40000);
    info.playEnd = 1500;
    info.releaseLoop = {static_cast<uint32_t>(SampleLoopType::Alternating), 1200, 1400};
    SReceivedSample back = RoundTrip(rig, emu, 12, info, slice);
    EXPECT_EQ(back.narrow, slice);
    EXPECT_EQ(back.info.rate, 44100u) << "the rate the sampler plays";
    EXPECT_EQ(back.info.playEnd, 1500u);
    EXPECT_EQ(back.info.releaseLoop.type, static_cast<uint32_t>(SampleLoopType::Alternating));
    EXPECT_EQ(back.info.releaseLoop.start, 1200u);

    std::vector<int16_t> stereo;
    for (int16_t word : slice) {
        stereo.push_back(static_cast<int16_t>(-word));
        stereo.push_back(word);
    }
    back = RoundTrip(rig, emu, 13, Info(16, 2, 2000), stereo);
    EXPECT_EQ(back.narrow, stereo);

    // A 5-frame sample goes out padded to the 10 the sampler holds.
    const std::vector<int16_t> tiny{1, 2, 3, 4, 5};
    back = RoundTrip(rig, emu, 14, Info(16, 1, 5), tiny);
    EXPECT_EQ(back.narrow, (std::vector<int16_t>{1, 2, 3, 4, 5, 0, 0, 0, 0, 0}));

    // Unadapted, the sampler refuses what it cannot play.
    CSMDISamplerInterface plain(rig.device);
    EXPECT_THROW(TransmitSample(*plain.CreateTransmitter(15), Info(16, 1, 2000, 40000), 0,
                                std::span<const int16_t>(slice), rig.progress),
                 XSMDIHeaderRejected);
    EXPECT_THROW(TransmitSample(*plain.CreateTransmitter(1000), Info(16, 1, 2000), 0,
                                std::span<const int16_t>(slice), rig.progress),
                 XSMDIRejected);
}

TEST(SMDIEmulatorRoundTrip, WaitsBusyAnswersAndRefusalsOfTheSampler)
{
    const std::vector<int16_t> slice = Slice(500);
    {
        // The sampler asks for 375 ms: three polls, then the transfer goes on.
        Rig rig("smdi", {{"wait", true, 375}});
        CSMDISamplerInterface smdi(rig.device);
        const uint64_t before = rig.clock.now;
        const SReceivedSample back = RoundTrip(rig, smdi, 1, Info(16, 1, 500), slice);
        EXPECT_EQ(back.narrow, slice);
        EXPECT_GE(rig.clock.now - before, 375u);
        EXPECT_LT(rig.clock.now - before, 20000u);
    }
    {
        // Longer than the 160 polls the program sits out.
        Rig rig("smdi", {{"wait", true, 30000}});
        CSMDISamplerInterface smdi(rig.device);
        EXPECT_THROW(RoundTrip(rig, smdi, 1, Info(16, 1, 500), slice), XSMDIWaitTimedOut);
    }
    {
        Rig rig("smdi", {{"busy", true, 4}});
        CSMDISamplerInterface smdi(rig.device);
        EXPECT_EQ(RoundTrip(rig, smdi, 1, Info(16, 1, 500), slice).narrow, slice);
    }
    {
        Rig rig("smdi", {{"busy", true, 5}});
        CSMDISamplerInterface smdi(rig.device);
        EXPECT_THROW(RoundTrip(rig, smdi, 1, Info(16, 1, 500), slice), XSMDISCSICommunicationException);
    }
    {
        Rig rig("smdi", {{"abort", true, 0}});
        CSMDISamplerInterface smdi(rig.device);
        SampleInfo info = Info(16, 1, 500);
        smdi.AdaptSampleInfo(info);
        auto transmitter = smdi.CreateTransmitter(1);
        EXPECT_THROW(TransmitSample(*transmitter, info, 0, std::span<const int16_t>(slice), rig.progress),
                     XSMDIRejected);
        EXPECT_FALSE(transmitter->IsActive());
    }
    {
        // Aborted commands: the request cannot even go out.
        Rig rig("smdi", {{"check-condition", false, 0}});
        CSMDISamplerInterface smdi(rig.device);
        SampleInfo info;
        EXPECT_THROW(smdi.GetSampleInfo(info, 1), XSMDISCSICommunicationException);
    }
    {
        Rig rig("smdi", {{"bad-tag", false, 0}});
        CSMDISamplerInterface smdi(rig.device);
        SampleInfo info;
        EXPECT_THROW(smdi.GetSampleInfo(info, 1), XSMDIMessageInvalid);
    }
}
