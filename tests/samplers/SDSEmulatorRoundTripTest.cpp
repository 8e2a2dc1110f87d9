// The program's sample dump against the emulated sampler over Loopback ports,
// in every word size and against every scripted fault: the emulator was
// written from the standard and answers on a thread of its own, as a
// sampler on a cable would. Time-outs pass on a MIDI clock that jumps ahead
// once the emulator has gone quiet, so no test sits through one.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <sstream>
#include <thread>
#include <typeinfo>
#include <vector>

#include "../common/TempFolder.h"
#include "SDSFixture.h"
#include "devices/emulated/EmulatedSamplers.h"
#include "devices/emulated/SDSEmulator.h"
#include "devices/midi/LoopbackMIDI.h"
#include "devices/midi/MIDIExceptions.h"
#include "devices/midi/MIDIService.h"
#include "devices/midi/SysexMIDIInput.h"
#include "loopgen/DrumLoopGenerator.h"
#include "samplers/SampleTransfer.h"
#include "samplers/sds/SDSExceptions.h"
#include "samplers/sds/SDSReceiver.h"
#include "samplers/sds/SDSTransmitter.h"

using namespace quorvel;

namespace {

constexpr uint8_t kChannel = 0;
constexpr uint16_t kNumber = 3;
constexpr uint32_t kReplyTimeout = 5000;

class NoProgress : public CABCTransferProgress {
public:
    void SetPercent(int32_t) override {}
    bool CancelRequested() override { return false; }
};

// Real time while anything moves; once `activity` has stood still for 20 ms
// (the emulator took no byte from the program), each yield of about a real
// millisecond moves the clock 100 ms ahead, so that a 5 s limit passes in
// some 50 real milliseconds. The clock never runs behind real time, and a
// message the program has just sent still has tens of real milliseconds to
// reach the emulator before its reply time-out is over. The emulator may
// keep the same time, so that its own waits pass as quickly.
class FastForwardClock : public CABCClock, public CABCEmulatorClock {
public:
    explicit FastForwardClock(std::function<uint64_t()> activity)
        : activity_(std::move(activity)), lastActivity_(activity_()), quietSince_(Clock::now())
    {
    }
    uint64_t Milliseconds() const override
    {
        const auto real = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch());
        return static_cast<uint64_t>(real.count()) + ahead_.load();
    }
    void WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& wake, uint64_t) override
    {
        wake.wait_for(lock, std::chrono::milliseconds(1));
    }
    void Sleep(std::chrono::milliseconds) override
    {
        const uint64_t seen = activity_();
        const auto now = Clock::now();
        if (seen != lastActivity_) {
            lastActivity_ = seen;
            quietSince_ = now;
        }
        if (now - quietSince_ < kGrace) {
            std::this_thread::sleep_for(std::chrono::microseconds(50));
            return;
        }
        ahead_ += 100;
        ++jumps;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    int jumps = 0;

private:
    using Clock = std::chrono::steady_clock;
    static constexpr auto kGrace = std::chrono::milliseconds(20);
    std::function<uint64_t()> activity_;
    uint64_t lastActivity_;
    Clock::time_point quietSince_;
    std::atomic<uint64_t> ahead_{0};
};

// The emulated `sds` sampler with `faults`, keeping its memory in `folder`
// when one is given, and the program's ends of its ports.
class EmulatedSDS {
public:
    explicit EmulatedSDS(const char* faults = "", const std::string& folder = "",
                         CABCEmulatorClock* clock = nullptr)
        : emulated_(lists_, ParseEmulatorSettings("sds", folder.c_str(), faults, warnings_),
                    clock ? *clock : steady_, 0, warnings_),
          input_(lists_.FindInput(CSDSEmulator::kPortName)->Open(parser)),
          output_(lists_.FindOutput(CSDSEmulator::kPortName)->Open())
    {
    }
    CSDSEmulator& Emulator() { return static_cast<CSDSEmulator&>(*emulated_.MIDIEmulators().front()); }
    CMIDIOutput& Output() { return *output_; }
    std::string Warnings() const { return warnings_.str(); }
    uint64_t Activity() { return Emulator().BytesTaken(); }
    bool Holds(uint16_t number) { return Emulator().Samples().Find(number).has_value(); }
    std::vector<uint32_t> StoredWords(uint16_t number) { return Emulator().Samples().Find(number)->words; }

    CSysexMIDIInput parser;

private:
    CMIDIPortLists lists_;
    std::ostringstream warnings_;
    CSteadyEmulatorClock steady_;
    CEmulatedSamplers emulated_;
    std::unique_ptr<CMIDIInput> input_;
    std::unique_ptr<CMIDIOutput> output_;
};

// 4000 frames from the second hit of a drum loop with room hiss: the attack,
// the decay and the noise floor, and more than 128 packets in the widest
// formats, so that the packet numbers wrap.
const std::vector<int16_t>& Slice()
{
    static const std::vector<int16_t> slice = [] {
        loopgen::LoopSpec recipe;
        recipe.hiss = 40;
        const loopgen::GeneratedLoop loop = loopgen::GenerateDrumLoop(recipe);
        const auto first = loop.samples.begin() + loop.hits.at(1).frame;
        return std::vector<int16_t>(first, first + 4000);
    }();
    return slice;
}

// Wide words from the slice: its 16 bits on top, and below them the bits of
// another frame scrambled, so that every bit of a 28-bit word takes both values.
std::vector<int32_t> WideSlice()
{
    const std::vector<int16_t>& slice = Slice();
    std::vector<int32_t> words(slice.size());
    for (size_t i = 0; i < slice.size(); ++i) {
        const uint16_t low = static_cast<uint16_t>(static_cast<uint16_t>(slice[(i * 7 + 3) % slice.size()]) * 0x9E37u);
        words[i] = static_cast<int32_t>((static_cast<uint32_t>(static_cast<uint16_t>(slice[i])) << 16) | low);
    }
    return words;
}

SampleInfo Info(uint8_t bits, uint32_t length)
{
    SampleInfo info;
    info.channelCount = 1;
    info.bits = bits;
    info.rate = 44100;
    info.length = length;
    return info;
}

void Transmit(EmulatedSDS& sampler, const std::vector<int16_t>& slice)
{
    NoProgress progress;
    CSDSTransmitter transmitter(sampler.Output(), sampler.parser, kChannel, kNumber, kReplyTimeout);
    TransmitSample(transmitter, Info(16, static_cast<uint32_t>(slice.size())), 0, slice, progress);
}

SReceivedSample Receive(EmulatedSDS& sampler)
{
    NoProgress progress;
    CSDSReceiver receiver(sampler.Output(), sampler.parser, kChannel, kNumber, kReplyTimeout);
    return ReceiveSample(receiver, 0, progress);
}

// Every bit of the top `bits` takes both values somewhere in `words`.
template <class Word>
bool EveryBitVaries(const std::vector<Word>& words, int bits)
{
    using Unsigned = std::make_unsigned_t<Word>;
    constexpr int width = sizeof(Word) * 8;
    Unsigned ones = 0, zeros = 0;
    for (Word word : words) {
        ones |= static_cast<Unsigned>(word);
        zeros |= static_cast<Unsigned>(~static_cast<Unsigned>(word));
    }
    const Unsigned top = static_cast<Unsigned>(~Unsigned(0) << (width - bits));
    return (ones & top) == top && (zeros & top) == top;
}

class SDSEmulatorFormatTest : public ::testing::TestWithParam<int> {};

} // namespace

// The sampler keeps the format's bits and no more; the program gets back
// exactly those, left-justified, whether they travel in 2, 3 or 4 bytes.
TEST_P(SDSEmulatorFormatTest, ASliceGoesOutAndComesBackWithTheFormatsBits)
{
    const int bits = GetParam();
    EmulatedSDS sampler;
    ASSERT_EQ(sampler.Warnings(), "");
    NoProgress progress;
    if (bits <= 16) {
        const std::vector<int16_t>& slice = Slice();
        ASSERT_TRUE(EveryBitVaries(slice, bits));
        {
            CSDSTransmitter transmitter(sampler.Output(), sampler.parser, kChannel, kNumber, kReplyTimeout);
            TransmitSample(transmitter, Info(static_cast<uint8_t>(bits), 4000), 0, slice, progress);
            EXPECT_FALSE(transmitter.IsActive());
        }
        const uint16_t mask = static_cast<uint16_t>(0xFFFFu << (16 - bits));
        std::vector<uint32_t> stored(slice.size());
        std::vector<int16_t> kept(slice.size());
        for (size_t i = 0; i < slice.size(); ++i) {
            stored[i] = (static_cast<uint16_t>(slice[i]) ^ 0x8000u) >> (16 - bits);
            kept[i] = static_cast<int16_t>(static_cast<uint16_t>(slice[i]) & mask);
        }
        ASSERT_TRUE(sampler.Holds(kNumber));
        EXPECT_EQ(sampler.StoredWords(kNumber), stored);
        const SReceivedSample received = Receive(sampler);
        EXPECT_EQ(received.info.bits, bits);
        EXPECT_EQ(received.info.length, 4000u);
        EXPECT_EQ(received.info.rate, 44100u);
        EXPECT_TRUE(received.wide.empty());
        EXPECT_EQ(received.narrow, kept);
    } else {
        const std::vector<int32_t> words = WideSlice();
        ASSERT_TRUE(EveryBitVaries(words, bits));
        {
            CSDSTransmitter transmitter(sampler.Output(), sampler.parser, kChannel, kNumber, kReplyTimeout);
            test::SendWideWords(transmitter, Info(static_cast<uint8_t>(bits), 4000), words);
            EXPECT_FALSE(transmitter.IsActive());
        }
        const uint32_t mask = 0xFFFFFFFFu << (32 - bits);
        std::vector<uint32_t> stored(words.size());
        std::vector<int32_t> kept(words.size());
        for (size_t i = 0; i < words.size(); ++i) {
            stored[i] = (static_cast<uint32_t>(words[i]) ^ 0x80000000u) >> (32 - bits);
            kept[i] = static_cast<int32_t>(static_cast<uint32_t>(words[i]) & mask);
        }
        ASSERT_TRUE(sampler.Holds(kNumber));
        EXPECT_EQ(sampler.StoredWords(kNumber), stored);
        const SReceivedSample received = Receive(sampler);
        EXPECT_EQ(received.info.bits, bits);
        EXPECT_EQ(received.info.length, 4000u);
        EXPECT_TRUE(received.narrow.empty());
        EXPECT_EQ(received.wide, kept);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryWordSize, SDSEmulatorFormatTest, ::testing::Values(8, 12, 14, 16, 20, 24, 28),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::to_string(info.param) + "Bits";
                         });

// Faults the sampler plays while it receives: one NAK is mended by the
// resend; anything else stops the transmission with its own failure, leaves
// the transmitter inactive and the sampler without the sample.
TEST(SDSEmulatorFaultTest, TransmittingMeetsEachFaultOfTheSampler)
{
    const std::vector<int16_t>& slice = Slice();
    {
        EmulatedSDS sampler("nak-once:3");
        ASSERT_EQ(sampler.Warnings(), "");
        FastForwardClock clock([&sampler] { return sampler.Activity(); });
        CScopedMIDIClock scoped(clock);
        Transmit(sampler, slice);
        ASSERT_TRUE(sampler.Holds(kNumber));
        EXPECT_EQ(Receive(sampler).narrow, slice);
    }
    const auto fails = [&slice](const char* fault, auto expected) {
        SCOPED_TRACE(fault);
        EmulatedSDS sampler(fault);
        ASSERT_EQ(sampler.Warnings(), "");
        // A transmitter left active by a failure waits for a last answer
        // when it is destroyed.
        FastForwardClock clock([&sampler] { return sampler.Activity(); });
        CScopedMIDIClock scoped(clock);
        NoProgress progress;
        {
            CSDSTransmitter transmitter(sampler.Output(), sampler.parser, kChannel, kNumber, kReplyTimeout);
            try {
                TransmitSample(transmitter, Info(16, 4000), 0, slice, progress);
                ADD_FAILURE() << "the transmission went through";
            } catch (const decltype(expected)&) {
            } catch (const XBase& other) {
                ADD_FAILURE() << "another failure: " << typeid(other).name();
            }
        }
        EXPECT_FALSE(sampler.Holds(kNumber));
    };
    fails("nak-twice:3", XSDSNotAcknowledged());
    fails("wrong-packet:3", XSDSInvalidPacketIndex());
    fails("cancel:3", XSDSCancelled());
    fails("reject-header", XSDSUnexpectedSysex());
    fails("cancel-header", XSDSCancelled());
}

// A sampler that never answers, or loses a packet, ends a transmission with
// the reply time-out: the program never falls back to sending without
// answers.
TEST(SDSEmulatorFaultTest, TransmittingToASamplerThatStopsAnsweringTimesOut)
{
    for (const char* fault : {"silent", "drop:3"}) {
        SCOPED_TRACE(fault);
        EmulatedSDS sampler(fault);
        FastForwardClock clock([&sampler] { return sampler.Activity(); });
        CScopedMIDIClock scoped(clock);
        NoProgress progress;
        CSDSTransmitter transmitter(sampler.Output(), sampler.parser, kChannel, kNumber, kReplyTimeout);
        EXPECT_THROW(TransmitSample(transmitter, Info(16, 4000), 0, Slice(), progress), XSysexTimedOut);
        EXPECT_GT(clock.jumps, 0) << "the time-out came before the clock was moved on";
    }
}

// A sampler that answers the header with WAITs for 20 s holds the
// transmission past the reply time-out without failing it; WAITs past 30 s
// end it. The emulator keeps the program's clock here.
TEST(SDSEmulatorFaultTest, WaitsHoldATransmissionForUpTo30Seconds)
{
    const std::vector<int16_t>& slice = Slice();
    for (const char* fault : {"wait:20000", "wait:40000"}) {
        SCOPED_TRACE(fault);
        EmulatedSDS* sampler = nullptr;
        FastForwardClock clock([&sampler] { return sampler ? sampler->Activity() : 0; });
        CScopedMIDIClock scoped(clock);
        EmulatedSDS emulated(fault, "", &clock);
        sampler = &emulated;
        ASSERT_EQ(emulated.Warnings(), "");
        NoProgress progress;
        CSDSTransmitter transmitter(emulated.Output(), emulated.parser, kChannel, kNumber, kReplyTimeout);
        const uint64_t start = clock.Milliseconds();
        if (std::string(fault) == "wait:20000") {
            EXPECT_NO_THROW(TransmitSample(transmitter, Info(16, 4000), 0, slice, progress));
            EXPECT_GE(clock.Milliseconds() - start, 20000u);
            ASSERT_TRUE(emulated.Holds(kNumber));
            EXPECT_EQ(Receive(emulated).narrow, slice);
        } else {
            EXPECT_THROW(TransmitSample(transmitter, Info(16, 4000), 0, slice, progress), XSysexTimedOut);
            EXPECT_GE(clock.Milliseconds() - start, 30000u);
            EXPECT_LT(clock.Milliseconds() - start, 40000u);
            EXPECT_FALSE(emulated.Holds(kNumber));
        }
    }
}

// Faults the sampler plays while it dumps. The sample is stored first by a
// faultless sampler; the faulty one reads it from the same memory folder.
TEST(SDSEmulatorFaultTest, ReceivingMeetsEachFaultOfTheSampler)
{
    const std::vector<int16_t>& slice = Slice();
    const test::TempFolder folder;
    {
        EmulatedSDS sampler("", folder.Path());
        Transmit(sampler, slice);
        ASSERT_TRUE(sampler.Holds(kNumber));
    }
    for (const char* fault : {"bad-checksum-once:3", "drop:3"}) {
        SCOPED_TRACE(fault);
        EmulatedSDS sampler(fault, folder.Path());
        ASSERT_EQ(sampler.Warnings(), "");
        // A lost packet is asked for again once the reply time-out has passed.
        FastForwardClock clock([&sampler] { return sampler.Activity(); });
        CScopedMIDIClock scoped(clock);
        SReceivedSample received;
        EXPECT_NO_THROW(received = Receive(sampler));
        EXPECT_EQ(received.narrow, slice);
    }
    const auto fails = [&folder](const char* fault, auto expected) {
        SCOPED_TRACE(fault);
        EmulatedSDS sampler(fault, folder.Path());
        ASSERT_EQ(sampler.Warnings(), "");
        FastForwardClock clock([&sampler] { return sampler.Activity(); });
        CScopedMIDIClock scoped(clock);
        NoProgress progress;
        CSDSReceiver receiver(sampler.Output(), sampler.parser, kChannel, kNumber, kReplyTimeout);
        try {
            ReceiveSample(receiver, 0, progress);
            ADD_FAILURE() << "the reception went through";
        } catch (const decltype(expected)&) {
        } catch (const XBase& other) {
            ADD_FAILURE() << "another failure: " << typeid(other).name();
        }
    };
    fails("bad-checksum:3", XSDSChecksumError());
    fails("wrong-packet:3", XSDSInvalidPacketIndex());
    fails("cancel:3", XSDSCancelled());
    fails("silent", XSysexTimedOut());
}
