// The Kurzweil object messages and operations against a scripted sampler on
// a simulated clock: the bit stream, listings, writes with the id rule,
// reads with their checks, and every refusal's failure.
#include <gtest/gtest.h>

#include <random>

#include "devices/midi/MIDIExceptions.h"
#include "devices/midi/SysexMIDIInput.h"
#include "samplers/kurzweil/K2000SoundBlock.h"
#include "samplers/kurzweil/KurzweilBitStream.h"
#include "samplers/kurzweil/KurzweilExceptions.h"
#include "samplers/kurzweil/KurzweilMessages.h"
#include "samplers/kurzweil/KurzweilSysexObjectProtocol.h"
#include "FakeKurzweilSampler.h"

namespace quorvel {
namespace {

using namespace test;
constexpr uint16_t kSoundBlock = 134;
constexpr uint16_t kProgram = 132;

// A body of given bytes, whatever they mean.
class CRawObject final : public CKurzweilObject {
public:
    CRawObject(uint16_t type, uint16_t id, Bytes body = {}, std::string name = "Raw")
        : CKurzweilObject(static_cast<EKurzweilObjectType>(type), id, std::move(name)), body_(std::move(body))
    {
    }
    size_t BodySize() const override { return body_.size(); }
    size_t WriteBody(std::span<uint8_t> buffer) const override
    {
        std::copy(body_.begin(), body_.end(), buffer.begin());
        return body_.size();
    }
    size_t MaxBodySize() const override { return 8000; }
    void ReadBody(std::span<const uint8_t> body) override { body_.assign(body.begin(), body.end()); }
    const Bytes& Body() const { return body_; }

private:
    Bytes body_;
};

TEST(KurzweilBitStream, PacksAsThePublishedExampleAndTakesTheDocumentedRoom)
{
    // Kurzweil's own example: 4F D8 01 29 travel as 27 76 00 12 48.
    const Bytes body{0x4F, 0xD8, 0x01, 0x29};
    EXPECT_EQ(kurzweil::PackBitStream(body), (Bytes{0x27, 0x76, 0x00, 0x12, 0x48}));
    EXPECT_EQ(kurzweil::PackBitStream(Bytes(7, 0xFF)).size(), 8u);
    EXPECT_EQ(kurzweil::PackBitStream(Bytes(8, 0xFF)).size(), 10u);
    EXPECT_EQ(kurzweil::PackedLength(7), 8u);
    EXPECT_EQ(kurzweil::PackedLength(8), 10u);
    EXPECT_EQ(kurzweil::UnpackedLength(10), 8u);
    EXPECT_EQ(kurzweil::UnpackedLength(8), 7u);
}

TEST(KurzweilBitStream, RandomBodiesOfEveryLengthComeBackWhole)
{
    std::mt19937 random(20);
    for (size_t length = 0; length <= 7216; ++length) {
        Bytes body(length);
        for (uint8_t& byte : body)
            byte = static_cast<uint8_t>(random());
        const std::vector<uint8_t> wire = kurzweil::PackBitStream(body);
        ASSERT_EQ(wire.size(), (8 * length + 6) / 7) << length;
        ASSERT_TRUE(std::all_of(wire.begin(), wire.end(), [](uint8_t b) { return b < 0x80; })) << length;
        // The peer's own bit-by-bit reading agrees with the packing.
        const Bytes peer = KUnpack(wire);
        ASSERT_EQ(peer, body) << length;
        ASSERT_EQ(kurzweil::UnpackBitStream(wire), body) << length;
    }
}

std::string Named(uint16_t id)
{
    std::string name = "S";
    name += std::to_string(id);
    return name;
}

class KurzweilProtocol : public ::testing::Test {
protected:
    FakeClock clock;
    CScopedMIDIClock scopedClock{clock};
    FakeRegisteredInput inPort;
    FakeRegisteredOutput outPort;
    CSysexMIDIInput parser;
    ScriptedInput input{inPort, parser, clock};
    RecordingOutput output{outPort, clock};
    FakeKurzweilSampler sampler{clock, input, output, 5};
    CSysexConnection connection = MakeKurzweilConnection(parser, output, 5);
    CKurzweilObjectProtocol objects{connection};

    void Store(uint16_t type, uint16_t id, const std::string& name, Bytes body = Bytes(20, 0x55))
    {
        sampler.objects[{type, id}] = {name, std::move(body)};
    }
};

TEST_F(KurzweilProtocol, RequestsAreFramedForTheDeviceWithTheirDocumentedLengths)
{
    Store(kSoundBlock, 12, "Kick");
    EXPECT_EQ(objects.Describe(kSoundBlock, 12).name, "Kick");
    objects.Rename(kSoundBlock, 12, 12, "Snare", 4000);
    CRawObject object(kProgram, 7, Bytes(9, 0xA5), "Prog");
    objects.Write(object, EKurzweilWriteMode::AsIs, 999, 4000);
    objects.Read(object, 4000);
    objects.Delete(kSoundBlock, 12, 20000);
    objects.List(kSoundBlock, 0, 1, 100);

    ASSERT_EQ(sampler.messages.size(), 7u); // with the acknowledgement of the read
    for (const Bytes& m : sampler.messages)
        EXPECT_EQ((Bytes{m[0], m[1], m[2], m[3]}), (Bytes{0xF0, 0x07, 0x05, 0x78}));
    EXPECT_EQ(sampler.messages[0], (Bytes{0xF0, 0x07, 0x05, 0x78, 0x04, 0x01, 0x06, 0x00, 0x0C, 0xF7}));
    EXPECT_EQ(sampler.messages[1].size(), 5u + 13u);       // name + 13
    EXPECT_EQ(sampler.messages[2].size(), 11u + 4u + 17u); // packed + name + 17
    EXPECT_EQ(sampler.messages[3].size(), 11u);
    EXPECT_EQ(sampler.messages[3][9], 1); // bit-stream form
    EXPECT_EQ(sampler.messages[4][4], 2);
    EXPECT_EQ(sampler.messages[5].size(), 10u);
    EXPECT_EQ(sampler.messages[6], (Bytes{0xF0, 0x07, 0x05, 0x78, 0x0C, 0x01, 0x06, 0x00, 0x01, 0xF7}));
    EXPECT_EQ(sampler.objects.count({kSoundBlock, 12}), 0u);
}

TEST_F(KurzweilProtocol, AListingReadsToItsEndAndKeepsAtMostTheMaximum)
{
    for (uint16_t id = 100; id < 100 + 30; ++id)
        Store(kSoundBlock, id, Named(id));
    Store(kSoundBlock, 5, "Other bank");
    std::vector<std::pair<size_t, size_t>> seen;
    const auto records = objects.List(kSoundBlock, 1, 1, 100, [&](size_t i, size_t m) { seen.emplace_back(i, m); });
    ASSERT_EQ(records.size(), 30u);
    EXPECT_EQ(records[0].id, 100);
    EXPECT_EQ(records[29].name, "S129");
    EXPECT_EQ(records[0].type, kSoundBlock);
    EXPECT_EQ(records[0].size, 20u);
    EXPECT_EQ(records[0].flag, 1);
    ASSERT_EQ(seen.size(), 30u);
    EXPECT_EQ(seen.back(), (std::pair<size_t, size_t>{29, 100}));

    // 151 objects: the first 100 are kept and the rest is still read, so the
    // next answer is the next request's own.
    for (uint16_t id = 130; id < 250; ++id)
        Store(kSoundBlock, id, Named(id));
    sampler.listEveryBank = true;
    const auto first = objects.List(kSoundBlock, 0, 0, 100);
    ASSERT_EQ(first.size(), 100u);
    EXPECT_EQ(first.front().id, 5);
    EXPECT_EQ(first.back().id, 198);
    EXPECT_EQ(objects.Describe(kSoundBlock, 5).name, "Other bank");
}

TEST_F(KurzweilProtocol, AnIdAboveTheHighestAllowedIsDeletedAgain)
{
    sampler.writeGivesId = 1001;
    CK2000SoundBlock block(0);
    EXPECT_THROW(objects.Write(block, EKurzweilWriteMode::NewObject, 1000, 4000), XKurzweilIDOutOfRange);
    ASSERT_EQ(sampler.messages.size(), 2u);
    EXPECT_EQ(sampler.messages[1][4], 7); // DEL of the block it made
    EXPECT_EQ(FakeKurzweilSampler::Two(sampler.messages[1], 7), 1001);
    EXPECT_EQ(sampler.objects.count({kSoundBlock, 1001}), 0u);

    sampler.writeGivesId.reset();
    CRawObject chosen(kProgram, 42, Bytes(3, 1));
    EXPECT_EQ(objects.Write(chosen, EKurzweilWriteMode::SamplerChooses, 999, 4000), 1);
    EXPECT_EQ(FakeKurzweilSampler::Two(sampler.messages.back(), 7), 0); // id 0: the sampler picks
    EXPECT_EQ(sampler.messages.back()[12], 0);
    CK2000SoundBlock next(300);
    EXPECT_EQ(objects.Write(next, EKurzweilWriteMode::NewObject, 1000, 4000), 300);
    EXPECT_EQ(next.Id(), 300);
    EXPECT_EQ(sampler.messages.back()[12], 1); // marked as new
}

TEST_F(KurzweilProtocol, EveryRefusalThrowsItsOwnFailure)
{
    CRawObject object(kProgram, 1, Bytes(4, 0));
    const auto refusedWith = [&](uint8_t code) {
        sampler.refuseWrites = code;
        objects.Write(object, EKurzweilWriteMode::AsIs, 999, 4000);
    };
    EXPECT_THROW(refusedWith(1), XKurzweilObjectInEdit);
    EXPECT_THROW(refusedWith(2), XSysexChecksumFailure);
    EXPECT_THROW(refusedWith(3), XKurzweilIDOutOfRange);
    EXPECT_THROW(refusedWith(4), XKurzweilObjectNotFound);
    EXPECT_THROW(refusedWith(5), XKurzweilOutOfMemory);
    EXPECT_THROW(refusedWith(9), XKurzweilRejected);
    EXPECT_THROW(refusedWith(5), XExternalDeviceOutOfMemory);
    EXPECT_THROW(refusedWith(9), XExternalDeviceRejected);

    sampler.refuseWrites.reset();
    sampler.answerInstead = sampler.Info(kProgram, 1);
    EXPECT_THROW(objects.Write(object, EKurzweilWriteMode::AsIs, 999, 4000), XKurzweilUnexpectedMessage);
    sampler.answerInstead = Bytes{0xF0, 0x07, 0x05, 0x78, 0x02, 0, 0, 0, 0, 0, 0, 0, 0, 0xF7};
    EXPECT_THROW(objects.Write(object, EKurzweilWriteMode::AsIs, 999, 4000), XSysexTooSmall);
    sampler.answerInstead = sampler.Ack(kProgram, 1, 4);
    sampler.answerInstead->erase(sampler.answerInstead->begin() + 14);
    EXPECT_THROW(objects.Write(object, EKurzweilWriteMode::AsIs, 999, 4000), XSysexTooSmall);
}

TEST_F(KurzweilProtocol, AReadIsCheckedTakenAndAcknowledged)
{
    Bytes body(37);
    for (size_t i = 0; i < body.size(); ++i)
        body[i] = static_cast<uint8_t>(i * 29 + 3);
    Store(kProgram, 17, "Loop Prog", body);
    CRawObject object(kProgram, 17);
    objects.Read(object, 4000);
    EXPECT_EQ(object.Body(), body);
    EXPECT_EQ(object.Name(), "Loop Prog");
    EXPECT_EQ(object.Size(), 37u);
    ASSERT_EQ(sampler.dacks.size(), 1u);
    EXPECT_EQ(sampler.dacks[0], sampler.Ack(kProgram, 17, 37));

    sampler.tamperWrite = [](Bytes& m) { m[m.size() - 2] ^= 1; };
    EXPECT_THROW(objects.Read(object, 4000), XSysexChecksumFailure);
    sampler.tamperWrite = [](Bytes& m) { m[13 + 9 + 1] = 0; }; // the form after "Loop Prog"
    EXPECT_THROW(objects.Read(object, 4000), XKurzweilNotBitStream);
    sampler.tamperWrite = [](Bytes& m) { m[11] = 100; }; // the size says more than the body holds
    EXPECT_THROW(objects.Read(object, 4000), XExternalDeviceCommunicationError);
    sampler.tamperWrite = [&](Bytes& m) { m = sampler.Info(kProgram, 17); };
    EXPECT_THROW(objects.Read(object, 4000), XKurzweilUnexpectedMessage);
    sampler.tamperWrite = nullptr;
    CRawObject missing(kProgram, 18);
    EXPECT_THROW(objects.Read(missing, 4000), XKurzweilObjectNotFound);
    EXPECT_EQ(sampler.dacks.size(), 1u);
}

TEST_F(KurzweilProtocol, ASilentSamplerIsAskedThreeTimesThenTimesOut)
{
    sampler.silent = true;
    EXPECT_THROW(objects.Describe(kSoundBlock, 1), XSysexTimedOut);
    EXPECT_EQ(sampler.messages.size(), 3u);
    EXPECT_GE(clock.now, 1000u + 3 * 4000u);
    sampler.messages.clear();
    EXPECT_THROW(objects.Delete(kSoundBlock, 1, 20000), XSysexTimedOut);
    EXPECT_GE(clock.now, 1000u + 3 * 4000u + 3 * 20000u);
    sampler.silent = false;
    sampler.answerInstead = sampler.Ack(kSoundBlock, 1, 0);
    EXPECT_THROW(objects.Delete(kSoundBlock, 1, 20000), XKurzweilUnexpectedMessage);
}

} // namespace
} // namespace quorvel
