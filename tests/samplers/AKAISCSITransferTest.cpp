// Sample words to and from an AKAI sampler over SCSI, against a scripted
// sampler that keeps samples as the packet exchange describes them.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "MonoSliceTransfer.h"
#include "devices/midi/MIDIService.h"
#include "devices/scsi/LoopbackSCSI.h"
#include "devices/scsi/SCSIBusRegistry.h"
#include "devices/scsi/SCSIClock.h"
#include "devices/scsi/SCSICommandBlock.h"
#include "devices/scsi/SCSIExceptions.h"
#include "samplers/SamplerBrands.h"
#include "samplers/akai/AKAIExceptions.h"
#include "samplers/akai/AKAIMessages.h"
#include "samplers/akai/AKAISCSICom.h"
#include "samplers/akai/AKAISCSIInterface.h"
#include "samplers/akai/AKAISCSITransfer.h"
#include "../devices/MIDITestDoubles.h"

namespace quorvel {
namespace {

using test::Bytes;

uint32_t Get28(const uint8_t* p) { return p[0] | p[1] << 7 | p[2] << 14 | uint32_t{p[3]} << 21; }

// An S3000-generation sampler on SCSI: headers it is sent become samples,
// accept-packet messages announce the raw words of the next data command,
// packet requests leave raw words waiting. `refuse` answers the next
// message of that operation with an error reply.
class ScriptedAKAISampler : public ISCSITarget {
public:
    struct Sample {
        Bytes header; // the header message as sent
        Bytes words;  // two bytes per word, as they travelled
    };

    SCSIResult Command(const uint8_t* block, ESCSIDirection, uint8_t* data, size_t length) override
    {
        switch (block[0]) {
        case kSCSITestUnitReady:
            return notReady ? CheckCondition(2, 0x04) : SCSIResult{};
        case akai::kSCSISendExclusive:
            if (expectedData > 0) {
                EXPECT_EQ(length, expectedData);
                samples[packetSample].words.insert(samples[packetSample].words.end(), data, data + length);
                expectedData = 0;
                Answer(0);
            } else {
                Message(Bytes(data, data + length));
            }
            return {};
        case akai::kSCSIWaitingCount:
            data[0] = static_cast<uint8_t>(waiting.size() >> 16);
            data[1] = static_cast<uint8_t>(waiting.size() >> 8);
            data[2] = static_cast<uint8_t>(waiting.size());
            return {};
        case akai::kSCSIReadWaiting:
            std::copy(waiting.begin(), waiting.begin() + static_cast<long>(length), data);
            waiting.erase(waiting.begin(), waiting.begin() + static_cast<long>(length));
            return {};
        default:
            return CheckCondition(5, 0x20);
        }
    }

    std::vector<Sample> samples;
    Bytes waiting;
    int refuse = -1;
    bool notReady = false;
    bool silent = false; // asks for words are not answered
    std::vector<uint8_t> operations;

private:
    void Answer(uint8_t result)
    {
        const Bytes reply{0xF0, 0x47, 0, akai::kReply, 0x48, result, 0xF7};
        waiting.insert(waiting.end(), reply.begin(), reply.end());
    }

    void Message(const Bytes& m)
    {
        const uint8_t op = m[3];
        operations.push_back(op);
        if (op == refuse) {
            refuse = -1;
            Answer(1);
            return;
        }
        switch (op) {
        case akai::kRequestSampleList: {
            Bytes list{0xF0, 0x47, 0, akai::kSampleList, 0x48, static_cast<uint8_t>(samples.size()), 0};
            for (const Sample& s : samples)
                for (int i = 0; i < 12; ++i) // name codes from the nibbles at data offset 3
                    list.push_back(static_cast<uint8_t>(s.header[12 + 2 * (3 + i)] | s.header[13 + 2 * (3 + i)] << 4));
            list.push_back(0xF7);
            waiting.insert(waiting.end(), list.begin(), list.end());
            break;
        }
        case akai::kSampleHeader:
            samples.push_back({m, {}});
            Answer(0);
            break;
        case akai::kRequestStatus: { // version 2.05, the rest unused here
            const Bytes status{0xF0, 0x47, 0, akai::kStatus, 0x48, 5, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xF7};
            waiting.insert(waiting.end(), status.begin(), status.end());
            break;
        }
        case akai::kRequestSampleHeader:
            waiting.insert(waiting.end(), samples.at(m[5]).header.begin(), samples.at(m[5]).header.end());
            break;
        case akai::kAcceptSamplePackets:
            packetSample = m[5];
            EXPECT_EQ(Get28(&m[7]), samples.at(packetSample).words.size() / 2); // packets in order
            expectedData = 2 * size_t{Get28(&m[11])};
            break;
        case akai::kRequestSamplePackets: {
            if (m[5] >= samples.size()) {
                Answer(1);
                break;
            }
            if (silent)
                break;
            const Bytes& words = samples[m[5]].words;
            const auto from = words.begin() + 2 * static_cast<long>(Get28(&m[7]));
            waiting.insert(waiting.end(), from, from + 2 * static_cast<long>(Get28(&m[11])));
            break;
        }
        default:
            Answer(1);
        }
    }

    size_t packetSample = 0;
    size_t expectedData = 0;
};

class AKAISCSITransfer : public ::testing::Test {
protected:
    test::FakeClock clock;
    CScopedMIDIClock midiClock{clock};
    CScopedSCSIClock scsiClock{clock};
    CSCSIBusRegistry buses;
    std::shared_ptr<ScriptedAKAISampler> target = std::make_shared<ScriptedAKAISampler>();
    CLoopbackSCSIBus* bus = LoopbackSCSIBus(buses);
    uint8_t id = bus->AddTarget(target);
    CAKAISCSIInterface sampler{SCSIDevice{bus, id, 1000}, 0};

    static SampleInfo Slice(const char* name, uint32_t length) { return test::MonoSlice(name, length); }

    // A ramp across the whole range, so that every byte value travels.
    static std::vector<int16_t> Words(uint32_t length)
    {
        std::vector<int16_t> words(length);
        for (uint32_t i = 0; i < length; ++i)
            words[i] = static_cast<int16_t>(-32768 + static_cast<int32_t>(i * 65535ull / (length - 1)));
        return words;
    }

    int32_t Transmit(const SampleInfo& info, const std::vector<int16_t>& words)
    {
        std::unique_ptr<CABCSampleTransmitter> tx = sampler.CreateMonoTransmitter(0);
        int32_t wordsPerFrame = 0;
        tx->StartTransmission(info, wordsPerFrame, 0);
        EXPECT_EQ(wordsPerFrame, 1);
        while (tx->IsActive())
            tx->TransmitNext(words.data() + tx->FramesDone());
        return tx->GetResultSampleNumber();
    }

    std::vector<int16_t> Receive(int32_t number, SampleInfo& info)
    {
        std::unique_ptr<CABCSampleReceiver> rx = sampler.CreateReceiver(number);
        int32_t wordsPerFrame = 0;
        rx->BeginReception(info, 0, wordsPerFrame);
        EXPECT_EQ(wordsPerFrame, 1);
        std::vector<int16_t> words;
        uint32_t frames = 0;
        SSampleWords chunk;
        while (rx->ReceiveNext(frames, chunk))
            words.insert(words.end(), chunk.narrow, chunk.narrow + frames);
        return words;
    }
};

TEST_F(AKAISCSITransfer, WordsTravelAsStraightBinaryMostSignificantByteFirst)
{
    const int16_t words[] = {-32768, -1, 0, 1, 32767, 0x1234};
    uint8_t bytes[12];
    akai::EncodeSCSIWords(words, 6, bytes);
    EXPECT_EQ(Bytes(bytes, bytes + 12),
              (Bytes{0x00, 0x00, 0x7F, 0xFF, 0x80, 0x00, 0x80, 0x01, 0xFF, 0xFF, 0x92, 0x34}));
    int16_t back[6];
    akai::DecodeSCSIWords(bytes, 6, back);
    EXPECT_EQ(std::vector<int16_t>(back, back + 6), std::vector<int16_t>(words, words + 6));
}

TEST_F(AKAISCSITransfer, SlicesGoOutAndComeBackBitExactly)
{
    // More than one packet, and a last packet that is not full.
    const uint32_t length = 2 * akai::kSCSIPacketWords + 77;
    const std::vector<int16_t> kick = Words(length);
    EXPECT_EQ(Transmit(Slice("kick-1", length), kick), 0);
    const std::vector<int16_t> snare(100, -12345);
    EXPECT_EQ(Transmit(Slice("snare_2", 100), snare), 1);
    EXPECT_EQ(target->samples[0].words.size(), 2u * length);

    SampleInfo info;
    EXPECT_EQ(Receive(0, info), kick);
    EXPECT_EQ(info.Name(), "KICK-1");
    EXPECT_EQ(info.length, length);
    EXPECT_EQ(info.rate, 44100u);
    EXPECT_EQ(info.rootKey, 36);
    EXPECT_EQ(Receive(1, info), snare);
    EXPECT_EQ(info.Name(), "SNARE 2");
}

TEST_F(AKAISCSITransfer, AnEmptySampleMovesNoWords)
{
    EXPECT_EQ(Transmit(Slice("EMPTY", 0), {}), 0);
    SampleInfo info;
    EXPECT_TRUE(Receive(0, info).empty());
    EXPECT_EQ(std::count(target->operations.begin(), target->operations.end(), akai::kAcceptSamplePackets), 0);
    EXPECT_EQ(std::count(target->operations.begin(), target->operations.end(), akai::kRequestSamplePackets), 0);
}

TEST_F(AKAISCSITransfer, RefusalsAndSilenceBecomeTheAKAIExceptions)
{
    const std::vector<int16_t> words = Words(10);
    Transmit(Slice("KICK", 10), words);
    // The name exists already: nothing is sent.
    const size_t before = target->operations.size();
    EXPECT_THROW(Transmit(Slice("kick", 10), words), XAKAINameIsNotUnique);
    EXPECT_EQ(target->operations.size(), before + 1); // only the name list
    // The sampler refuses the header, then a packet.
    target->refuse = akai::kSampleHeader;
    EXPECT_THROW(Transmit(Slice("HAT", 10), words), XAKAIReceivedError);
    target->refuse = akai::kAcceptSamplePackets;
    EXPECT_THROW(Transmit(Slice("HAT", 10), words), XAKAIReceivedError);

    // A request for words of a sample that is not there, and one the sampler
    // never answers (after the dump time-out, not at once).
    SampleInfo info;
    std::unique_ptr<CABCSampleReceiver> rx = sampler.CreateReceiver(0);
    int32_t wordsPerFrame = 0;
    rx->BeginReception(info, 0, wordsPerFrame);
    target->samples.clear();
    uint32_t frames = 0;
    SSampleWords chunk;
    EXPECT_THROW(rx->ReceiveNext(frames, chunk), XAKAIReceivedError);
    EXPECT_FALSE(rx->IsActive());

    Transmit(Slice("KICK", 10), words);
    rx = sampler.CreateReceiver(0);
    rx->BeginReception(info, 0, wordsPerFrame);
    target->silent = true;
    const uint64_t start = clock.now;
    EXPECT_THROW(rx->ReceiveNext(frames, chunk), XAKAISCSINoUnreadData);
    EXPECT_GE(clock.now - start, akai::kDumpTimeoutMs);

    // A sampler that stays busy.
    target->notReady = true;
    EXPECT_THROW(Transmit(Slice("TOM", 10), words), XAKAISCSITimedOut);
}

TEST_F(AKAISCSITransfer, ASampleThatIsNotListedAfterwardsIsLost)
{
    const uint32_t length = akai::kSCSIPacketWords + 1;
    const std::vector<int16_t> words = Words(length);
    std::unique_ptr<CABCSampleTransmitter> tx = sampler.CreateMonoTransmitter(0);
    int32_t wordsPerFrame = 0;
    tx->StartTransmission(Slice("KICK", length), wordsPerFrame, 0);
    tx->TransmitNext(words.data());
    // The sampler renames it (first character K becomes L) before the last packet.
    target->samples.at(0).header[12 + 6] = 22 & 0x0F;
    target->samples.at(0).header[12 + 7] = 22 >> 4;
    EXPECT_THROW(tx->TransmitNext(words.data() + tx->FramesDone()), XAKAITransmittedSampleLost);
    EXPECT_EQ(tx->GetResultSampleNumber(), -1);
}

TEST_F(AKAISCSITransfer, AnAbortStopsThePacketsAndPauses)
{
    const std::vector<int16_t> words = Words(3 * akai::kSCSIPacketWords);
    std::unique_ptr<CABCSampleTransmitter> tx = sampler.CreateMonoTransmitter(0);
    int32_t wordsPerFrame = 0;
    tx->StartTransmission(Slice("LONG", 3 * akai::kSCSIPacketWords), wordsPerFrame, 0);
    tx->TransmitNext(words.data());
    const uint64_t start = clock.now;
    tx->AbortTransmission();
    EXPECT_FALSE(tx->IsActive());
    EXPECT_GE(clock.now - start, akai::kAbortPauseMs);
    tx.reset();
    EXPECT_EQ(target->samples.at(0).words.size(), 2u * akai::kSCSIPacketWords);
    EXPECT_EQ(std::count(target->operations.begin(), target->operations.end(), akai::kAcceptSamplePackets), 1);
}

TEST_F(AKAISCSITransfer, AnInstalledSCSIModelIsReachedOnItsBusAndTarget)
{
    CMIDIPortLists ports;
    const SSamplerDevices devices{ports, buses};
    CPersistentInstalledSampler s3000xl;
    s3000xl.modelTypeId = 4151;
    s3000xl.sysexId = 0;
    s3000xl.scsiBus = {kLoopbackSCSIBusName, kLoopbackSCSIDriverName};
    s3000xl.scsiId = id;
    CVersion version;
    EXPECT_TRUE(ReadOSVersion(s3000xl, devices, version));
    EXPECT_EQ(version, (CVersion{2, 5, 0}));

    const std::unique_ptr<CABCSamplerInterface> installed = CreateSamplerInterface(s3000xl, devices);
    auto* akai = dynamic_cast<CAKAISCSIInterface*>(installed.get());
    ASSERT_NE(akai, nullptr);
    EXPECT_EQ(akai->Generation(), akai::EGeneration::S3000);
    EXPECT_NE(installed->CreateMonoTransmitter(0), nullptr);

    // Nobody at another target.
    s3000xl.scsiId = static_cast<uint8_t>(id + 1);
    EXPECT_THROW(ReadOSVersion(s3000xl, devices, version), XSCSICommunicationException);
}

} // namespace
} // namespace quorvel
