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

// Words over SCSI: two bytes each, most significant first, straight binary
// (0 the most negative), as laid down in the AKAI layouts document.
Bytes WordBytes(const std::vector<uint32_t>& words, size_t from, size_t count)
{
    Bytes bytes;
    for (size_t i = from; i < from + count; ++i) {
        bytes.push_back(uint8_t(words[i] >> 8));
        bytes.push_back(uint8_t(words[i]));
    }
    return bytes;
}

Bytes Seven4(uint32_t n) { return {uint8_t(n & 0x7F), uint8_t(n >> 7 & 0x7F), uint8_t(n >> 14 & 0x7F), uint8_t(n >> 21 & 0x7F)}; }

// ASPACK: sample number, first word, word count.
Bytes AcceptPackets(uint32_t sample, uint32_t first, uint32_t count)
{
    return AKAIMessage(0x0D, Concat({Number14(sample), Seven4(first), Seven4(count)}));
}

// RSPACK: sample number, first word, word count, interval, function.
Bytes RequestPackets(uint32_t sample, uint32_t first, uint32_t count, uint8_t interval = 1, uint8_t function = 0)
{
    return AKAIMessage(0x0C, Concat({Number14(sample), Seven4(first), Seven4(count), {interval, function}}));
}

TEST(AKAISCSIEmulator, ASampleHeaderThenItsWordsAsBytesComeBackBitExactly)
{
    AKAISCSIHost host("4151");
    const std::vector<uint32_t> words = Words16(20000, 5); // three packets, the last part-filled
    const Bytes header = SampleBlock(192, "KICK-1", 20000, 44100);
    EXPECT_EQ(host.Ask(NewData(0x0B, 0, header)), Reply(0));
    ASSERT_EQ(AcceptPackets(0, 0, 8192).size(), 16u);
    for (uint32_t first = 0; first < words.size(); first += 8192) {
        const uint32_t count = std::min<uint32_t>(8192, uint32_t(words.size()) - first);
        // The message itself is not answered; its words are, once.
        ASSERT_TRUE(host.Put(AcceptPackets(0, first, count)).Good());
        EXPECT_EQ(host.Waiting(), 0u);
        ASSERT_TRUE(host.Put(WordBytes(words, first, count)).Good());
        EXPECT_EQ(host.Take(host.Waiting()), Reply(0)) << "packet at " << first;
    }
    EXPECT_EQ(host.Ask(AKAIMessage(0x04, {})), AKAIMessage(0x05, Concat({{1, 0}, NameCodes("KICK-1")})));
    EXPECT_EQ(host.Ask(Numbered(0x0A, 0)), NewData(0x0B, 0, header));
    const std::optional<SAKAISample> kept = host.target.Sampler().Memory().Sample(0);
    ASSERT_TRUE(kept);
    EXPECT_EQ(std::vector<uint32_t>(kept->words.begin(), kept->words.end()), words);

    // Back in two requests, read in parts: exactly two bytes per word.
    const Bytes request = RequestPackets(0, 0, 12000);
    ASSERT_EQ(request.size(), 18u);
    ASSERT_TRUE(host.Put(request).Good());
    ASSERT_EQ(host.Waiting(), 24000u);
    Bytes back = host.Take(1001);
    const Bytes rest = host.Take(24000 - 1001);
    back.insert(back.end(), rest.begin(), rest.end());
    EXPECT_EQ(back, WordBytes(words, 0, 12000));
    EXPECT_EQ(host.Ask(RequestPackets(0, 12000, 8000)), WordBytes(words, 12000, 8000));
    // A count past the end is cut to the sample; an interval picks every nth.
    EXPECT_EQ(host.Ask(RequestPackets(0, 19998, 10)), WordBytes(words, 19998, 2));
    EXPECT_EQ(host.Ask(RequestPackets(0, 0, 6, 3)), Concat({WordBytes(words, 0, 1), WordBytes(words, 3, 1)}));

    // Deleted by the exclusive message, as over MIDI.
    EXPECT_EQ(host.Ask(Numbered(0x14, 0)), Reply(0));
    EXPECT_EQ(host.Ask(AKAIMessage(0x04, {})), AKAIMessage(0x05, {0, 0}));
}

TEST(AKAISCSIEmulator, WordsForNoSampleOrOfTheWrongSizeAreRefusedWithOneReply)
{
    AKAISCSIHost host("4161");
    const std::vector<uint32_t> words = Words16(100, 3);
    EXPECT_EQ(host.Ask(NewData(0x0B, 0, SampleBlock(192, "SNARE", 100, 44100))), Reply(0));
    // No sample 1; past the end of sample 0; fewer bytes than announced;
    // an odd byte count. Each takes its bytes (no F0 ... F7 check) and
    // answers reply 1, changing nothing.
    const struct {
        Bytes accept;
        Bytes bytes;
    } refused[] = {
        {AcceptPackets(1, 0, 10), WordBytes(words, 0, 10)},
        {AcceptPackets(0, 95, 10), WordBytes(words, 0, 10)},
        {AcceptPackets(0, 0, 10), WordBytes(words, 0, 9)},
        {AcceptPackets(0, 0, 10), Concat({WordBytes(words, 0, 10), {0}})},
        {AKAIMessage(0x0D, {0, 0}), WordBytes(words, 0, 10)},
    };
    for (const auto& c : refused) {
        ASSERT_TRUE(host.Put(c.accept).Good());
        ASSERT_TRUE(host.Put(c.bytes).Good());
        EXPECT_EQ(host.Take(host.Waiting()), Reply(1));
    }
    EXPECT_EQ(host.target.Sampler().Memory().Sample(0)->words, std::vector<uint16_t>(100, 0x8000));
    // After the words the target hears messages again.
    EXPECT_EQ(host.Put(WordBytes(words, 0, 3)).sense[12], kAKAISenseNotAMessage);
    // A part in the middle lands where it was announced.
    ASSERT_TRUE(host.Put(AcceptPackets(0, 50, 50)).Good());
    ASSERT_TRUE(host.Put(WordBytes(words, 50, 50)).Good());
    EXPECT_EQ(host.Take(host.Waiting()), Reply(0));
    EXPECT_EQ(host.Ask(RequestPackets(0, 49, 2)), Concat({{0x80, 0x00}, WordBytes(words, 50, 1)}));
    // Requests for no sample, of the wrong length or an unknown function:
    // one reply 1, seven bytes, which no run of words can be.
    EXPECT_EQ(host.Ask(RequestPackets(4, 0, 10)), Reply(1));
    EXPECT_EQ(host.Ask(RequestPackets(0, 0, 10, 1, 3)), Reply(1));
    EXPECT_EQ(host.Ask(AKAIMessage(0x0C, Number14(0))), Reply(1));
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
        ASSERT_TRUE(host.Put(AcceptPackets(0, 0, 40)).Good());
        ASSERT_TRUE(host.Put(WordBytes(words, 0, 40)).Good());
        EXPECT_EQ(host.Take(host.Waiting()), Reply(0));
    }
    {
        AKAISCSIHost host("4171", {}, folder.string());
        EXPECT_EQ(host.Ask(AKAIMessage(0x04, {})), AKAIMessage(0x05, Concat({{1, 0}, NameCodes("LOOP")})));
        EXPECT_EQ(host.Ask(RequestPackets(0, 0, 40)), WordBytes(words, 0, 40));
    }
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace quorvel::test
