#pragma once
// A small SMDI sampler for the program-side tests, written from the
// protocol's procedures: it keeps the samples it is sent (their header
// message verbatim and their data bytes) and gives them back. Tests script
// faults: forced SCSI results, WAITs with a number of not-ready polls, and a
// hook that may replace any answer before it is read.
#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "devices/scsi/LoopbackSCSI.h"
#include "devices/scsi/SCSIClock.h"
#include "devices/scsi/SCSICommandBlock.h"
#include "samplers/smdi/SMDIMessages.h"

namespace quorvel::test {

using Bytes = std::vector<uint8_t>;

class FakeSCSIClock final : public CABCClock {
public:
    uint64_t Milliseconds() const override { return now; }
    void Sleep(std::chrono::milliseconds duration) override
    {
        now += static_cast<uint64_t>(duration.count());
        ++sleeps;
    }
    uint64_t now = 0;
    int sleeps = 0;
};

class FakeSMDISampler final : public ISCSITarget {
public:
    struct Stored {
        Bytes header; // the whole Sample Header message as it came
        Bytes data;
    };

    SCSIResult Command(const uint8_t* block, ESCSIDirection direction, uint8_t* data, size_t length) override
    {
        const uint32_t allocation = (uint32_t(block[2]) << 16) | (uint32_t(block[3]) << 8) | block[4];
        ++commandCount;
        if (!forced.empty()) {
            const SCSIResult result = forced.front();
            forced.pop_front();
            return result;
        }
        if (block[0] == kSCSITestUnitReady) {
            ++polls;
            if (pollResult)
                return *pollResult;
            if (notReadyPolls > 0) {
                --notReadyPolls;
                return CheckCondition(0x02, 0x04);
            }
            return {};
        }
        if (block[0] == 0x0A && direction == ESCSIDirection::kOut) {
            EXPECT_EQ(allocation, length);
            sent.emplace_back(data, data + length);
            Handle(sent.back());
            return {};
        }
        if (block[0] == 0x08 && direction == ESCSIDirection::kIn) {
            EXPECT_EQ(allocation, length);
            if (waits > 0) {
                --waits;
                Fill(smdi::BuildMessage(smdi::kWait), data, length);
                return {};
            }
            if (answers.empty()) {
                ADD_FAILURE() << "RECEIVE without an answer";
                return {};
            }
            Bytes answer = std::move(answers.front());
            answers.pop_front();
            if (tamper)
                tamper(answer);
            Fill(answer, data, length);
            return {};
        }
        return CheckCondition(0x05, 0x20);
    }

    std::map<uint32_t, Stored> samples;
    uint32_t maxPacketBytes = 0xFFFFFF; // the longest packet it accepts
    std::deque<SCSIResult> forced;
    int waits = 0;
    int notReadyPolls = 0;
    int polls = 0;
    std::optional<SCSIResult> pollResult; // what TEST UNIT READY answers, when set
    int commandCount = 0;
    std::function<void(Bytes&)> tamper;
    std::vector<Bytes> sent;
    std::deque<Bytes> answers;

private:
    static void Fill(const Bytes& answer, uint8_t* data, size_t length)
    {
        std::memcpy(data, answer.data(), std::min(length, answer.size()));
    }

    static uint32_t Number(const Bytes& m, size_t at = 0) { return smdi::GetBigEndian(m.data() + 11 + at, 3); }

    // Packets go in multiples of whole frames of the sample's header.
    uint32_t FrameBytes(const Bytes& header) const
    {
        return smdi::WordBytes(header[14]) * std::max<uint32_t>(header[15], 1);
    }

    uint32_t Accept(uint32_t requested, const Bytes& header) const
    {
        if (requested <= maxPacketBytes)
            return requested;
        return maxPacketBytes / FrameBytes(header) * FrameBytes(header);
    }

    static uint32_t TotalBytes(const Bytes& header)
    {
        return smdi::GetBigEndian(header.data() + 19, 4) * smdi::WordBytes(header[14]) * header[15];
    }

    void Handle(const Bytes& m)
    {
        const uint32_t code = smdi::GetBigEndian(m.data() + 4, 4);
        switch (code) {
        case smdi::kSampleHeaderRequest: {
            const auto found = samples.find(Number(m));
            answers.push_back(found == samples.end() ? smdi::BuildMessageReject(0x0020, 0x0002)
                                                     : found->second.header);
            break;
        }
        case smdi::kSampleHeader:
            incoming = Stored{m, {}};
            incomingNumber = Number(m);
            answers.push_back(smdi::BuildBeginTransfer(smdi::kBeginSampleTransferAck, incomingNumber,
                                                       Accept(0xFFFFFF, m)));
            break;
        case smdi::kBeginSampleTransfer:
            packetBytes = Number(m, 3);
            nextPacket = 0;
            if (incoming) {
                if (TotalBytes(incoming->header) == 0)
                    Complete();
                else
                    answers.push_back(smdi::BuildNumberMessage(smdi::kSendNextPacket, 0));
            } else {
                outgoing = Number(m);
                const auto found = samples.find(outgoing);
                answers.push_back(found == samples.end()
                                      ? smdi::BuildMessageReject(0x0020, 0x0002)
                                      : smdi::BuildBeginTransfer(smdi::kBeginSampleTransferAck, outgoing,
                                                                 packetBytes = Accept(packetBytes,
                                                                                      found->second.header)));
            }
            break;
        case smdi::kDataPacket: {
            EXPECT_TRUE(incoming.has_value());
            EXPECT_EQ(Number(m), nextPacket);
            incoming->data.insert(incoming->data.end(), m.begin() + 14, m.end());
            ++nextPacket;
            if (incoming->data.size() >= TotalBytes(incoming->header))
                Complete();
            else
                answers.push_back(smdi::BuildNumberMessage(smdi::kSendNextPacket, nextPacket));
            break;
        }
        case smdi::kSendNextPacket: {
            const Stored& sample = samples.at(outgoing);
            const size_t first = size_t(Number(m)) * packetBytes;
            const size_t count = std::min<size_t>(packetBytes, sample.data.size() - std::min(first, sample.data.size()));
            Bytes packet(3 + count);
            smdi::PutBigEndian(packet.data(), Number(m), 3);
            std::copy_n(sample.data.begin() + first, count, packet.begin() + 3);
            answers.push_back(smdi::BuildMessage(smdi::kDataPacket, packet));
            break;
        }
        case smdi::kDeleteSample:
            answers.push_back(samples.erase(Number(m)) ? smdi::BuildMessage(smdi::kAck)
                                                       : smdi::BuildMessageReject(0x0020, 0x0002));
            break;
        case smdi::kAbortProcedure:
            incoming.reset();
            answers.push_back(smdi::BuildMessage(smdi::kAck));
            break;
        default:
            answers.push_back(smdi::BuildMessageReject(0x0000, 0x0000));
            break;
        }
    }

    void Complete()
    {
        samples[incomingNumber] = *incoming;
        incoming.reset();
        answers.push_back(smdi::BuildMessage(smdi::kEndOfProcedure));
    }

    std::optional<Stored> incoming;
    uint32_t incomingNumber = 0;
    uint32_t outgoing = 0;
    uint32_t packetBytes = 0;
    uint32_t nextPacket = 0;
};

// The sampler on a Loopback bus, and the program's clock for SCSI waits.
class SMDIFixture : public ::testing::Test {
protected:
    FakeSCSIClock clock;
    CScopedSCSIClock scopedClock{clock};
    CLoopbackSCSIBus bus;
    std::shared_ptr<FakeSMDISampler> owned = std::make_shared<FakeSMDISampler>();
    FakeSMDISampler& sampler = *owned;
    SCSIDevice device{&bus, bus.AddTarget(owned), 5000};
};

} // namespace quorvel::test
