#include <gtest/gtest.h>

#include <array>
#include <string>

#include "samplers/emu/EMUInquiry.h"

using namespace quorvel;

namespace {

// A 36-byte inquiry answer with the texts blank-padded into their fields.
std::array<uint8_t, 36> Answer(const std::string& vendor, const std::string& product, const std::string& revision,
                               uint8_t type = 3)
{
    std::array<uint8_t, 36> answer{};
    answer.fill(' ');
    answer[0] = type;
    answer[1] = answer[2] = answer[3] = answer[5] = answer[6] = answer[7] = 0;
    answer[4] = 31;
    const auto put = [&](size_t at, const std::string& text, size_t width) {
        for (size_t i = 0; i < text.size() && i < width; ++i)
            answer[at + i] = static_cast<uint8_t>(text[i]);
    };
    put(8, vendor, 8);
    put(16, product, 16);
    put(32, revision, 4);
    return answer;
}

std::optional<SEMUInquiry> Read(const std::array<uint8_t, 36>& answer)
{
    return ReadEMUInquiry(answer.data(), answer.size());
}

} // namespace

TEST(EMUInquiryTest, ProductTextsGiveTheirModelCodesAndNothingElseDoes)
{
    EXPECT_EQ(Read(Answer("E-mu", "ESi-32  Sampler", "3.02"))->modelCode, 5001u);
    EXPECT_EQ(Read(Answer("E-mu", "ESi-4000 Sampler", "3.02"))->modelCode, 5011u);
    EXPECT_EQ(Read(Answer("E-mu", "Emulator 4Xturbo", "4.62"))->modelCode, 5141u);
    EXPECT_EQ(Read(Answer("E-mu", "e-64 fx", "4.62"))->modelCode, 5211u);
    EXPECT_EQ(Read(Answer("E-mu", "e-64", "4.62"))->modelCode, 5201u);
    // A text placed one byte further in, after a blank, is the same text.
    EXPECT_EQ(Read(Answer("E-mu", " e6400", "4.62"))->modelCode, 5221u);

    // An E-mu device this program does not know is read, but names no model.
    const auto unknown = Read(Answer("E-mu", "Proteus 2000", "1.00"));
    ASSERT_TRUE(unknown);
    EXPECT_EQ(unknown->modelCode, 0u);
    EXPECT_EQ(DetectedEMUModel(*unknown), 0u);
    EXPECT_FALSE(VerifyEMUModel(0, *unknown));
    EXPECT_EQ(EMUModelCode("ESi-32 Sampler"), 0u); // one blank where the product has two
    EXPECT_EQ(EMUModelCode("e-64 fxx"), 0u);
}

TEST(EMUInquiryTest, OnlyAProcessorOfVendorEmuIsRead)
{
    EXPECT_FALSE(Read(Answer("E-mu", "Emulator IV", "4.00", 0)));    // a disk
    EXPECT_FALSE(Read(Answer("E-mu", "Emulator IV", "4.00", 0x63))); // a processor not connected
    EXPECT_FALSE(Read(Answer("AKAI", "Emulator IV", "4.00")));
    EXPECT_FALSE(Read(Answer("E-mux", "Emulator IV", "4.00")));

    // A short answer never reads past its end: what is missing is empty.
    const auto full = Answer("E-mu", "Emulator IV", "4.00");
    EXPECT_FALSE(ReadEMUInquiry(full.data(), 0));
    EXPECT_FALSE(ReadEMUInquiry(full.data(), 10));
    const auto noRevision = ReadEMUInquiry(full.data(), 32);
    ASSERT_TRUE(noRevision);
    EXPECT_EQ(noRevision->modelCode, 5111u);
    EXPECT_EQ(noRevision->firmware, CVersion{});
}

TEST(EMUInquiryTest, FirmwareVersionSplitsAtThePointOrTheComma)
{
    EXPECT_EQ(Read(Answer("E-mu", "Emulator IV", "4.70"))->firmware, (CVersion{4, 70, 0}));
    EXPECT_EQ(Read(Answer("E-mu", "Emulator IV", "3,02"))->firmware, (CVersion{3, 2, 0}));
    EXPECT_EQ(Read(Answer("E-mu", "Emulator IV", "  4"))->firmware, (CVersion{4, 0, 0}));
    EXPECT_EQ(Read(Answer("E-mu", "Emulator IV", "x.y"))->firmware, (CVersion{0, 0, 0}));
}

TEST(EMUInquiryTest, AnEmulatorIVOnFirmwareFourIsAnEOSSampler)
{
    const SEMUInquiry old{5111, {3, 99, 0}};
    const SEMUInquiry eos{5111, {4, 0, 0}};
    EXPECT_EQ(DetectedEMUModel(old), 5111u);
    EXPECT_EQ(DetectedEMUModel(eos), 5101u);
    EXPECT_EQ(DetectedEMUModel(SEMUInquiry{5121, {4, 0, 0}}), 5121u);

    // An installed model is verified by its own code ...
    EXPECT_TRUE(VerifyEMUModel(5111, old));
    EXPECT_TRUE(VerifyEMUModel(5121, SEMUInquiry{5121, {1, 0, 0}}));
    EXPECT_FALSE(VerifyEMUModel(5131, SEMUInquiry{5121, {4, 0, 0}}));
    // ... or by an EOS-era Emulator IV, which stands in for any but the ESi models.
    EXPECT_TRUE(VerifyEMUModel(5101, eos));
    EXPECT_TRUE(VerifyEMUModel(5221, eos));
    EXPECT_FALSE(VerifyEMUModel(5101, old));
    EXPECT_FALSE(VerifyEMUModel(5001, eos));
    EXPECT_FALSE(VerifyEMUModel(5011, eos));
}
