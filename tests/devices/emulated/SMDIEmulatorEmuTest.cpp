// The E-mu models: what each answers to INQUIRY, and the samples they
// refuse (rates off their table, numbers outside 1..999, fewer than 10
// frames, word sizes and channel counts they do not hold).
#include <cstring>

#include "SMDITestMaster.h"

namespace quorvel::test {
namespace {

std::string Text(const Bytes& answer, size_t offset, size_t width)
{
    return std::string(answer.begin() + static_cast<std::ptrdiff_t>(offset),
                       answer.begin() + static_cast<std::ptrdiff_t>(offset + width));
}

TEST(SMDIEmulatorEmu, EachModelAnswersInquiryWithItsProductAndFirmware)
{
    struct SExpected {
        const char* id;
        const char* product; // 16 characters, blank padded
        const char* revision;
    };
    const SExpected expected[] = {
        {"5001", "ESi-32  Sampler ", "3.02"}, {"5011", "ESi-4000 Sampler", "3.02"},
        {"5101", "Emulator IV     ", "4.70"}, {"5111", "Emulator IV     ", "3.00"},
        {"5121", "Emulator 4K     ", "4.70"}, {"5131", "Emulator 4X     ", "4.70"},
        {"5141", "Emulator 4Xturbo", "4.70"}, {"5201", "e-64            ", "4.70"},
        {"5211", "e-64 fx         ", "4.70"}, {"5221", "e6400           ", "4.70"},
    };
    for (const SExpected& model : expected) {
        SCOPED_TRACE(model.id);
        CSMDIMaster master(model.id);
        const Bytes answer = master.Inquiry();
        EXPECT_EQ(answer[0], 0x03); // processor device
        EXPECT_EQ(answer[4], 31);   // additional length: 36 bytes in all
        EXPECT_EQ(Text(answer, 8, 8), "E-mu    ");
        EXPECT_EQ(Text(answer, 16, 16), model.product);
        EXPECT_EQ(Text(answer, 32, 4), model.revision);
    }
    // The plain sampler, and an allocation shorter than the answer.
    CSMDIMaster plain;
    const Bytes first = plain.Inquiry(20);
    EXPECT_EQ(Text(first, 8, 12), "Quorvel SMDI");
    EXPECT_EQ(first.size(), 20u);
}

TEST(SMDIEmulatorEmu, WhatTheSamplerCannotHoldIsRejected)
{
    CSMDIMaster emu("5121");
    SHeaderFields good;
    good.length = 10;
    auto answer = [&](const SHeaderFields& header) { return emu.Exchange(HeaderMessage(header)); };

    // Each table rate, its period cut or rounded to the nearest nanosecond.
    for (uint32_t rate : {48000u, 44100u, 32000u, 22050u, 11025u, 8000u}) {
        for (uint32_t period : {1000000000u / rate, (1000000000u + rate / 2) / rate}) {
            SHeaderFields header = good;
            header.period = period;
            EXPECT_EQ(CodeOf(answer(header)), kTransferAck) << rate << " Hz, period " << period;
        }
    }
    SHeaderFields header = good;
    header.period = 25000; // 40000 Hz
    EXPECT_EQ(RejectOf(answer(header)), 0x00200001u);
    header.period = 22727; // 44001 Hz
    EXPECT_EQ(RejectOf(answer(header)), 0x00200001u);
    header = good;
    header.length = 5;
    EXPECT_EQ(RejectOf(answer(header)), 0x00200001u);
    header = good;
    header.bits = 12;
    EXPECT_EQ(RejectOf(answer(header)), 0x00200001u);
    header = good;
    header.channels = 3;
    EXPECT_EQ(RejectOf(answer(header)), 0x00200001u);
    for (uint32_t number : {0u, 1000u}) {
        header = good;
        header.number = number;
        EXPECT_EQ(RejectOf(answer(header)), 0x00200000u) << number;
        EXPECT_EQ(RejectOf(emu.Exchange(HeaderRequest(number))), 0x00200000u) << number;
        EXPECT_EQ(RejectOf(emu.Exchange(DeleteSample(number))), 0x00200000u) << number;
        EXPECT_EQ(RejectOf(emu.Exchange(BeginTransfer(number, 2))), 0x00200000u) << number;
    }
    EXPECT_TRUE(emu.emulator->Samples().Numbers().empty());

    // The plain sampler takes all of them but the third channel.
    CSMDIMaster plain;
    header = good;
    header.period = 25000;
    header.bits = 12;
    header.length = 5;
    header.number = 0;
    EXPECT_EQ(CodeOf(plain.Exchange(HeaderMessage(header))), kTransferAck);
    header.channels = 3;
    EXPECT_EQ(RejectOf(plain.Exchange(HeaderMessage(header))), 0x00200001u);
}

TEST(SMDIEmulatorEmu, SixteenBitMonoAndStereoRoundTripsAtTheEdgesOfTheNumbers)
{
    CSMDIMaster emu("5011");
    for (uint8_t channels : {1, 2}) {
        for (uint32_t number : {1u, 999u}) {
            SHeaderFields header;
            header.number = number;
            header.channels = channels;
            header.period = 20833; // 48000 Hz
            header.length = 30000;
            const Bytes data = PatternData(2, 30000u * channels);
            ASSERT_EQ(CodeOf(emu.Transmit(header, data)), kEndOfProcedure);
            const std::optional<Bytes> back = emu.ReceiveSample(number, 2u * channels * 4096, data.size());
            ASSERT_TRUE(back.has_value());
            EXPECT_EQ(*back, data);
        }
    }
}

} // namespace
} // namespace quorvel::test
