// The emulated AKAI SCSI samplers driven with raw command blocks built here
// from AKAI's published SCSI command layout: 6-byte vendor commands, bytes 2
// to 4 a big-endian count, the exclusive messages as data.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>
#include <sstream>

#include "AKAITestBench.h"
#include "devices/emulated/AKAISCSIEmulator.h"
#include "devices/emulated/EmulatedSamplers.h"
#include "devices/scsi/LoopbackSCSI.h"
#include "devices/scsi/SCSIBusRegistry.h"
#include "devices/scsi/SCSITargetListing.h"
#include "framework/EmbeddedResources.h"

namespace quorvel::test {
namespace {

Bytes Block(uint8_t op, uint32_t count)
{
    return {op, 0, uint8_t(count >> 16), uint8_t(count >> 8), uint8_t(count), 0};
}

class AKAISCSIHost {
public:
    explicit AKAISCSIHost(const std::string& id, const std::vector<SEmulatorFault>& faults = {},
                          const std::string& folder = {})
        : target(*FindAKAISCSIEmulatorModel(id), clock, faults, folder)
    {
    }

    SCSIResult Run(const Bytes& block, ESCSIDirection direction, Bytes& data)
    {
        return target.Command(block.data(), direction, data.empty() ? nullptr : data.data(), data.size());
    }
    SCSIResult Put(const Bytes& message)
    {
        Bytes data = message;
        return Run(Block(0x0C, static_cast<uint32_t>(data.size())), ESCSIDirection::kOut, data);
    }
    uint32_t Waiting()
    {
        Bytes count(3);
        EXPECT_TRUE(Run(Block(0x0D, 3), ESCSIDirection::kIn, count).Good());
        return uint32_t{count[0]} << 16 | uint32_t{count[1]} << 8 | count[2];
    }
    Bytes Take(uint32_t count)
    {
        Bytes data(count);
        EXPECT_TRUE(Run(Block(0x0E, count), ESCSIDirection::kIn, data).Good());
        return data;
    }
    // Everything waiting, which after one message is its whole answer.
    Bytes Ask(const Bytes& message)
    {
        EXPECT_TRUE(Put(message).Good());
        return Take(Waiting());
    }
    bool Ready()
    {
        Bytes none;
        return Run(Block(0x00, 0), ESCSIDirection::kNone, none).Good();
    }

    ManualEmulatorClock clock;
    CAKAISCSIEmulator target;
};

std::vector<uint32_t> Words16(size_t count, uint32_t seed) { return TestWords(16, count, seed); }

// Inquiry: processor type, "AKAI EMI", the product the recognizer takes.
TEST(AKAISCSIEmulator, EverySCSIModelStartsOnTheLoopbackBusAndAnswersInquiry)
{
    std::ostringstream warnings;
    const SEmulatorSettings settings = ParseEmulatorSettings("4151,4131,4161,4171", nullptr, nullptr, warnings);
    EXPECT_EQ(warnings.str(), "");
    CMIDIPortLists ports;
    CEmulatedSamplers samplers(ports, settings, SteadyEmulatorClock(), 0, warnings);
    ASSERT_EQ(samplers.AKAISCSIEmulators().size(), 4u);
    EXPECT_TRUE(samplers.MIDIEmulators().empty());
    CSCSIBus* bus = samplers.OwnBuses()->Find("Loopback");
    ASSERT_NE(bus, nullptr);
    const std::vector<std::string> lines = ListTargets(*bus, BuiltInTextResources());
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[0], "0: \"AKAI EMI\" \"S3000XL SAMPLER\"");
    EXPECT_EQ(lines[1], "1: \"AKAI EMI\" \"S2000 SAMPLER\"");
    EXPECT_EQ(lines[2], "2: \"AKAI EMI\" \"S3200XL SAMPLER\"");
    EXPECT_EQ(lines[3], "3: \"AKAI EMI\" \"CD3000XL SAMPLER\"");

    AKAISCSIHost host("4151");
    Bytes answer(36);
    const Bytes inquiry = {0x12, 0, 0, 0, 36, 0};
    ASSERT_TRUE(host.Run(inquiry, ESCSIDirection::kIn, answer).Good());
    EXPECT_EQ(answer[0], 0x03);
    EXPECT_EQ(std::string(answer.begin() + 8, answer.begin() + 16), "AKAI EMI");
    EXPECT_EQ(std::string(answer.begin() + 16, answer.begin() + 32), "S3000XL SAMPLER ");
    EXPECT_TRUE(host.Ready());
    EXPECT_FALSE(host.target.Sampler().Model().olderGeneration);
}

TEST(AKAISCSIEmulator, StatusAndNameListsTravelInsideTheVendorCommands)
{
    AKAISCSIHost host("4151");
    EXPECT_EQ(host.Waiting(), 0u);
    Bytes none;
    EXPECT_TRUE(host.Run({0x09, 0, 1, 0, 0, 0}, ESCSIDirection::kNone, none).Good());
    EXPECT_EQ(host.target.Mode(), 1);
    // The same status report as the MIDI model of that generation.
    EXPECT_EQ(host.Ask(AKAIMessage(0x00, {})),
              (Bytes{0xF0, 0x47, 0x00, 0x01, 0x48, 0, 2, 0x60, 0x03, 0x60, 0x03, 0, 0, 0, 8, 0, 0, 0, 8, 0, 0xF7}));
    EXPECT_EQ(host.Waiting(), 0u);
    // Empty lists: count 0.
    EXPECT_EQ(host.Ask(AKAIMessage(0x04, {})), AKAIMessage(0x05, {0, 0}));
    EXPECT_EQ(host.Ask(AKAIMessage(0x02, {})), AKAIMessage(0x03, {0, 0}));
    // Bytes may be read in parts; asking for more than waits is refused and
    // leaves them waiting.
    ASSERT_TRUE(host.Put(AKAIMessage(0x04, {})).Good());
    ASSERT_EQ(host.Waiting(), 8u);
    Bytes tooMany(9);
    const SCSIResult refused = host.Run(Block(0x0E, 9), ESCSIDirection::kIn, tooMany);
    EXPECT_EQ(refused.kind, kSCSICheckCondition);
    EXPECT_EQ(refused.sense[12], kAKAISenseNotWaiting);
    EXPECT_EQ(host.Take(3), (Bytes{0xF0, 0x47, 0x00}));
    EXPECT_EQ(host.Take(5), (Bytes{0x05, 0x48, 0, 0, 0xF7}));
    EXPECT_EQ(host.Waiting(), 0u);
}

TEST(AKAISCSIEmulator, ASampleHeaderThenItsWordsComeBackBitExactly)
{
    AKAISCSIHost host("4151");
    const std::vector<uint32_t> words = Words16(203, 5); // the last packet part-filled
    const Bytes header = SampleBlock(192, "KICK-1", 203, 44100);
    EXPECT_EQ(host.Ask(NewData(0x0B, 0, header)), Reply(0));
    // The words as Sample Dump Standard packets, each acknowledged.
    const std::vector<Bytes> packets = DumpPackets(16, words);
    ASSERT_EQ(packets.size(), 6u);
    for (size_t n = 0; n < packets.size(); ++n)
        EXPECT_EQ(host.Ask(packets[n]), Ack(static_cast<uint8_t>(n))) << "packet " << n;

    const Bytes names = host.Ask(AKAIMessage(0x04, {}));
    EXPECT_EQ(names, AKAIMessage(0x05, Concat({{1, 0}, NameCodes("KICK-1")})));
    EXPECT_EQ(host.Ask(Numbered(0x0A, 0)), NewData(0x0B, 0, header));

    // Sample packets: sample 0, first word 0, 203 words, interval 1, 0.
    const Bytes request = AKAIMessage(0x0C, Concat({Number14(0), {0, 0, 0, 0}, {203 % 128, 203 / 128, 0, 0}, {1, 0}}));
    ASSERT_EQ(request.size(), 18u);
    const Bytes dumpHeader = host.Ask(request);
    EXPECT_EQ(dumpHeader, HeaderMessage(0, 16, 22675, 203, 203, 203, 0x7F));
    std::vector<uint32_t> back;
    ASSERT_TRUE(host.Put(Ack(0)).Good());
    for (uint8_t n = 0; back.size() < words.size(); ++n) {
        const Bytes packet = host.Take(host.Waiting());
        ASSERT_EQ(packet.size(), 127u) << "packet " << int(n);
        ASSERT_EQ(packet[4], n);
        const std::vector<uint32_t> part = Decode16(packet, std::min<size_t>(40, words.size() - back.size()));
        back.insert(back.end(), part.begin(), part.end());
        ASSERT_TRUE(host.Put(Ack(n)).Good());
    }
    EXPECT_EQ(back, words);
    EXPECT_EQ(host.Waiting(), 0u);

    // Deleted by the exclusive message, as over MIDI.
    EXPECT_EQ(host.Ask(Numbered(0x14, 0)), Reply(0));
    EXPECT_EQ(host.Ask(AKAIMessage(0x04, {})), AKAIMessage(0x05, {0, 0}));
}

TEST(AKAISCSIEmulator, MalformedCommandsAreRefusedWithSense)
{
    AKAISCSIHost host("4131");
    Bytes data = {0xF0, 0x47, 0x00, 0x00, 0x48, 0xF7};
    // A count that disagrees with the data.
    SCSIResult result = host.Run(Block(0x0C, 5), ESCSIDirection::kOut, data);
    EXPECT_EQ(result.kind, kSCSICheckCondition);
    EXPECT_EQ(result.sense[12], kAKAISenseInvalidField);
    // Not one whole message.
    EXPECT_EQ(host.Put({0xF0, 0x47, 0x00, 0x00, 0x48}).sense[12], kAKAISenseNotAMessage);
    EXPECT_EQ(host.Put({0xF0, 0x47, 0x80, 0x00, 0x48, 0xF7}).sense[12], kAKAISenseNotAMessage);
    // A command it does not know.
    Bytes none;
    result = host.Run({0x0A, 0, 0, 0, 0, 0}, ESCSIDirection::kNone, none);
    EXPECT_EQ(result.kind, kSCSICheckCondition);
    EXPECT_EQ(result.sense[12], kAKAISenseInvalidOpcode);
    EXPECT_EQ(host.Waiting(), 0u); // nothing reached the sampler
}

TEST(AKAISCSIEmulator, FaultsSilentBusyAndCheckCondition)
{
    AKAISCSIHost silent("4151", {{"silent", false, 0}});
    Bytes answer(36);
    EXPECT_EQ(silent.Run({0x12, 0, 0, 0, 36, 0}, ESCSIDirection::kIn, answer).kind, kSCSINoDevice);

    AKAISCSIHost busy("4151", {{"busy", true, 2}});
    EXPECT_FALSE(busy.Ready());
    EXPECT_FALSE(busy.Ready());
    EXPECT_TRUE(busy.Ready());

    AKAISCSIHost failing("4151", {{"check-condition", false, 0}});
    EXPECT_TRUE(failing.Ready());
    const SCSIResult result = failing.Put(AKAIMessage(0x00, {}));
    EXPECT_EQ(result.kind, kSCSICheckCondition);
    EXPECT_EQ(result.sense[2] & 0x0F, 0x0B);

    // The sampler's own faults pass through: a refused header.
    AKAISCSIHost refusing("4151", {{"reject-header", false, 0}});
    EXPECT_EQ(refusing.Ask(NewData(0x0B, 0, SampleBlock(192, "A", 10, 44100))), Reply(1));
}

// A held answer: the WAIT is waiting at once, the reply only once the
// sampler's clock has moved on (its alarm runs on its own thread).
TEST(AKAISCSIEmulator, AHeldReplyIsAWaitThenTheReply)
{
    AKAISCSIHost host("4151", {{"wait", true, 2500}});
    EXPECT_EQ(host.Ask(NewData(0x0B, 0, SampleBlock(192, "HELD", 10, 44100))), Wait(0));
    EXPECT_EQ(host.Waiting(), 0u);
    host.clock.Advance(2500);
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (host.Waiting() == 0 && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    const Bytes rest = host.Take(host.Waiting());
    // Perhaps a repeated WAIT first; the reply last.
    ASSERT_GE(rest.size(), 7u);
    EXPECT_EQ(Bytes(rest.end() - 7, rest.end()), Reply(0));
}

TEST(AKAISCSIEmulator, ItsMemoryOutlivesTheTargetInTheFolder)
{
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("akai-scsi-memory-" + std::to_string(::getpid()));
    std::filesystem::remove_all(folder);
    const std::vector<uint32_t> words = Words16(40, 9);
    {
        AKAISCSIHost host("4171", {}, folder.string());
        EXPECT_EQ(host.Ask(NewData(0x0B, 0, SampleBlock(192, "LOOP", 40, 22050))), Reply(0));
        EXPECT_EQ(host.Ask(DumpPackets(16, words).front()), Ack(0));
    }
    {
        AKAISCSIHost host("4171", {}, folder.string());
        EXPECT_EQ(host.Ask(AKAIMessage(0x04, {})), AKAIMessage(0x05, Concat({{1, 0}, NameCodes("LOOP")})));
    }
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace quorvel::test
