// The S3000's miscellaneous bytes against frames written out here from the
// published layout.
#include <gtest/gtest.h>

#include "devices/midi/MIDIExceptions.h"
#include "samplers/akai/AKAIExceptions.h"
#include "samplers/akai/AKAIMiscBytes.h"
#include "FakeAKAISampler.h"

namespace quorvel {
namespace {

using namespace akai;
using test::Bytes;

Bytes BytesOf(const CRawSysex& message) { return Bytes(message.GetData(), message.GetData() + message.GetLength()); }

TEST(AKAIMiscBytes, RequestsNameTheItemAndTheBanksWidth)
{
    // Index 200 is 48 01 in two 7-bit halves.
    EXPECT_EQ(BytesOf(MiscBytesRequest(3, 200, EMiscBank::Word)),
              (Bytes{0xF0, 0x47, 3, 0x33, 0x48, 0x48, 0x01, 2, 0, 0, 2, 0, 0xF7}));
    EXPECT_EQ(BytesOf(MiscBytesRequest(0, 1, EMiscBank::Flags))[10], 16);
    const std::vector<int32_t> widths = {MiscBankBytes(1), MiscBankBytes(2), MiscBankBytes(3), MiscBankBytes(4),
                                         MiscBankBytes(5), MiscBankBytes(6), MiscBankBytes(7)};
    EXPECT_EQ(widths, (std::vector<int32_t>{1, 2, 4, 5, 6, 12, 16}));
    EXPECT_EQ(MiscBankBytes(0), 0);
    EXPECT_EQ(MiscBankBytes(8), 0);
}

TEST(AKAIMiscBytes, RepliesReadAndWrite)
{
    const Bytes frame{0xF0, 0x47, 0, 0x34, 0x48, 0x05, 0x00, 3, 0, 0, 4, 0, 0x8, 0x7, 0x6, 0x5, 0x4, 0x3, 0x2, 0x1, 0xF7};
    CS3000MiscBytesReply reply;
    reply.FromMessage(CRawSysex(frame));
    EXPECT_EQ(reply.Index(), 5);
    EXPECT_EQ(reply.Bank(), 3);
    EXPECT_EQ(reply.Bytes(), (Bytes{0x78, 0x56, 0x34, 0x12}));
    EXPECT_EQ(reply.Value(), 0x12345678u);
    EXPECT_EQ(BytesOf(reply.ToMessage(0)), frame);
    EXPECT_EQ(BytesOf(CS3000MiscBytesReply(5, EMiscBank::DoubleWord, {0x78, 0x56, 0x34, 0x12}).ToMessage(0)), frame);

    CS3000MiscBytesReply wrong;
    Bytes other = frame;
    other[3] = 0x28;
    EXPECT_THROW(wrong.FromMessage(CRawSysex(other)), XAKAIUnexpectedCommand);
    other = frame;
    other[10] = 3; // names fewer bytes than it carries
    EXPECT_THROW(wrong.FromMessage(CRawSysex(other)), XSysexInvalidSize);
    other = frame;
    other[8] = 1;
    EXPECT_THROW(wrong.FromMessage(CRawSysex(other)), XAKAIInvalidFormat);
    other = frame;
    other[12] = 0x10;
    EXPECT_THROW(wrong.FromMessage(CRawSysex(other)), XAKAIInvalidFormat);
    EXPECT_THROW(wrong.FromMessage(CRawSysex(Bytes{0xF0, 0x47, 0, 0x34, 0x48, 0, 0, 1, 0, 0, 0, 0, 0xF7})),
                 XAKAIInvalidFormat);
    EXPECT_THROW(wrong.FromMessage(CRawSysex(Bytes{0xF0, 0x47, 0, 0x34, 0x48, 0xF7})), XSysexTooSmall);
    EXPECT_TRUE(wrong.Bytes().empty()) << "a rejected message leaves the reply as it was";
}

} // namespace
} // namespace quorvel
