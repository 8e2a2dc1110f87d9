#include <gtest/gtest.h>

#include <vector>

#include "devices/midi/MIDIExceptions.h"
#include "devices/midi/SysexEncoding.h"

using namespace quorvel;

namespace {

using Bytes = std::vector<uint8_t>;

struct GroupCase {
    uint32_t value;
    int32_t count;
    Bytes wire;
};

} // namespace

TEST(SysexEncoding, BigEndianSevenBitGroupsRoundTrip)
{
    const GroupCase cases[] = {
        {0, 1, {0x00}},
        {0x7F, 1, {0x7F}},
        {0x80, 2, {0x01, 0x00}},
        {0x3FFF, 2, {0x7F, 0x7F}},
        {44100, 3, {0x02, 0x58, 0x44}},
        {0x0FFFFFFF, 4, {0x7F, 0x7F, 0x7F, 0x7F}},
        {0x12345678, 5, {0x01, 0x11, 0x51, 0x2C, 0x78}},
    };
    for (const GroupCase& c : cases) {
        Bytes wire(c.wire.size(), 0xEE);
        EncodeBigEndian7(c.value, c.count, wire.data());
        EXPECT_EQ(wire, c.wire) << c.value;
        EXPECT_EQ(DecodeBigEndian7(c.count, c.wire.data()), c.value) << c.value;
    }
    // Higher groups than the count are dropped, not folded in.
    Bytes two(2);
    EncodeBigEndian7(0x4081, 2, two.data());
    EXPECT_EQ(two, (Bytes{0x01, 0x01}));
    // Each byte contributes only its low seven bits; no bytes give 0.
    const Bytes high = {0xFF, 0x80};
    EXPECT_EQ(DecodeBigEndian7(2, high.data()), 0x3F80u);
    EXPECT_EQ(DecodeBigEndian7(0, high.data()), 0u);
    EXPECT_EQ(DecodeBigEndian7(-3, high.data()), 0u);
}

TEST(SysexEncoding, BigEndianNibblesRoundTrip)
{
    const GroupCase cases[] = {
        {0xA, 1, {0x0A}},
        {0xABCD, 4, {0x0A, 0x0B, 0x0C, 0x0D}},
        {0x1F, 3, {0x00, 0x01, 0x0F}},
        {0xFEDCBA98, 8, {0x0F, 0x0E, 0x0D, 0x0C, 0x0B, 0x0A, 0x09, 0x08}},
    };
    for (const GroupCase& c : cases) {
        Bytes wire(c.wire.size());
        EncodeBigEndianNibbles(c.value, c.count, wire.data());
        EXPECT_EQ(wire, c.wire) << c.value;
        EXPECT_EQ(DecodeBigEndianNibbles(c.count, c.wire.data()), c.value) << c.value;
    }
    const Bytes noisy = {0x7A, 0x3B};
    EXPECT_EQ(DecodeBigEndianNibbles(2, noisy.data()), 0xABu);
}

TEST(SysexEncoding, LittleEndianSevenBitForms)
{
    Bytes b(4, 0xEE);
    EncodeLittleEndian7x2(b.data(), 0x3FFF + 1); // the carry out of 14 bits is lost
    EXPECT_EQ(b, (Bytes{0x00, 0x00, 0xEE, 0xEE}));
    EncodeLittleEndian7x3(b.data(), 44100);
    EXPECT_EQ(b, (Bytes{0x44, 0x58, 0x02, 0xEE}));
    EncodeLittleEndian7x4(b.data(), 0x0ABCDEF1);
    EXPECT_EQ(b, (Bytes{0x71, 0x3D, 0x73, 0x55}));
    EXPECT_EQ(DecodeLittleEndian7x4(b.data()), 0x0ABCDEF1u);
    EXPECT_EQ(DecodeLittleEndian7x3(b.data()), 0x0ABCDEF1u & 0x1FFFFF);
    EXPECT_EQ(DecodeLittleEndian7x2(b.data()), 0x0ABCDEF1u & 0x3FFF);
    // Bytes are weighted as they stand, even above 0x7F.
    const Bytes raw = {0x80, 0x01, 0x00};
    EXPECT_EQ(DecodeLittleEndian7x2(raw.data()), 128u + 128u);
    EXPECT_EQ(DecodeLittleEndian7x3(raw.data()), 256u);
}

TEST(SysexEncoding, NibblePairsPackHighNibbleFirst)
{
    const Bytes nibbles = {0x01, 0x02, 0xFA, 0x3B, 0x00, 0x0F};
    Bytes packed(3);
    PackNibblePairs(3, packed.data(), nibbles.data());
    EXPECT_EQ(packed, (Bytes{0x12, 0xAB, 0x0F}));
    Bytes back(6, 0xEE);
    UnpackNibblePairs(3, packed.data(), back.data());
    EXPECT_EQ(back, (Bytes{0x01, 0x02, 0x0A, 0x0B, 0x00, 0x0F}));
    const Bytes full = {0xFF};
    Bytes split(2);
    UnpackNibblePairs(1, full.data(), split.data());
    EXPECT_EQ(split, (Bytes{0x0F, 0x0F}));
}

TEST(SysexEncoding, ChecksumsAndMask)
{
    struct Case {
        Bytes data;
        uint8_t sum;
        uint8_t negated;
    };
    const Case cases[] = {
        {{}, 0x00, 0x00},
        {{0x01}, 0x01, 0x7F},
        {{0x7F, 0x01}, 0x00, 0x00},
        {{0x40, 0x40, 0x40}, 0x40, 0x40},
        // The sum is taken modulo 256 before the mask: 0x1FF -> 0xFF -> 0x7F.
        {{0xFF, 0xFF, 0x01}, 0x7F, 0x01},
        {{0x12, 0x34, 0x56, 0x78}, 0x14, 0x6C},
    };
    for (const Case& c : cases) {
        const int32_t n = static_cast<int32_t>(c.data.size());
        EXPECT_EQ(Checksum7Sum(n, c.data.data()), c.sum);
        EXPECT_EQ(Checksum7Negated(n, c.data.data()), c.negated);
        EXPECT_EQ((Checksum7Sum(n, c.data.data()) + Checksum7Negated(n, c.data.data())) & 0x7F, 0);
    }
    const Bytes src = {0x80, 0xFF, 0x7F, 0x00};
    Bytes dest(4);
    Mask7(4, src.data(), dest.data());
    EXPECT_EQ(dest, (Bytes{0x00, 0x7F, 0x7F, 0x00}));
}

TEST(SysexEncoding, MulDivRoundsHalfAwayFromZero)
{
    struct Case {
        int32_t a, b, c, expected;
    };
    const Case cases[] = {
        {5, 1, 2, 3},   {-5, 1, 2, -3}, {4, 1, 2, 2},   {7, 1, 3, 2},  {8, 1, 3, 3},
        {-7, 1, 3, -2}, {-8, 1, 3, -3}, {0, 99, 7, 0},  {10, 3, 4, 8}, {1, 1, 1, 1},
        // A product beyond 32 bits still comes out right.
        {44100, 100000, 48000, 91875}, {-2000000, 3000, 1000000, -6000},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MulDivRounded(c.a, c.b, c.c), c.expected) << c.a << "*" << c.b << "/" << c.c;
}

TEST(MIDIExceptions, BranchesHangWhereCallersCatchThem)
{
    // The sampler dialogs catch communication failures by their bases.
    EXPECT_THROW(throw XSysexTooSmall(), XSysexInvalidSize);
    EXPECT_THROW(throw XSysexTooBig(), XSysexInvalidFormat);
    EXPECT_THROW(throw XSysexChecksumFailure(), XSysexCommunicationException);
    EXPECT_THROW(throw XSysexTimedOut(), XMIDICommunicationException);
    EXPECT_THROW(throw XSysexOverrun(), XExternalDeviceCommunicationError);
    EXPECT_THROW(throw XSysexInvalidFormat(), XExternalDeviceException);
    EXPECT_THROW(throw XMIDIWriteFailed(), XMIDI);
    EXPECT_THROW(throw XFailedOpeningMIDIPort(), XBase);
    EXPECT_THROW(throw XSysexTimedOut(), std::exception);
    // Port failures are not communication failures (they get their own alerts).
    bool caughtAsCommunication = false;
    try {
        throw XFailedOpeningMIDIPort();
    } catch (const XExternalDeviceException&) {
        caughtAsCommunication = true;
    } catch (const XMIDI&) {
    }
    EXPECT_FALSE(caughtAsCommunication);
    EXPECT_STREQ(XSysexTimedOut().what(), "XSysexTimedOut");
}
