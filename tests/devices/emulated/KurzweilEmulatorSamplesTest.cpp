// Sample data of the emulated Kurzweil samplers: sound block n plays sample
// number n - 1, which arrives by the Sample Dump Standard over MIDI or by
// SMDI over SCSI into the one memory, and survives a restart.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "KurzweilTestBench.h"

namespace quorvel::test {

namespace {

// Sends a whole dump, closed loop; every answer must be an ACK.
void DumpSample(CKurzweilBench& bench, uint32_t number, uint32_t format, const std::vector<uint32_t>& words,
                uint32_t period, uint32_t loopStart, uint32_t loopEnd, uint8_t loopType)
{
    EXPECT_EQ(bench.Exchange(HeaderMessage(number, format, period, static_cast<uint32_t>(words.size()), loopStart,
                                           loopEnd, loopType)),
              Ack(0));
    uint8_t n = 0;
    for (const Bytes& packet : DumpPackets(format, words))
        EXPECT_EQ(bench.Exchange(packet), Ack(n++));
}

// Asks for a dump and answers it closed loop; the words it carried.
std::vector<uint32_t> RequestSample(CKurzweilBench& bench, uint32_t number, Bytes* header = nullptr)
{
    const Bytes h = bench.Exchange(Request(number));
    if (header)
        *header = h;
    if (h.size() != 21)
        return {};
    const uint32_t format = h[6];
    const uint32_t length = h[10] | h[11] << 7 | h[12] << 14;
    const uint32_t perWord = format <= 14 ? 2 : format <= 21 ? 3 : 4;
    bench.Send(Ack(0));
    Bytes data;
    for (uint32_t n = 0; data.size() < length * perWord; ++n) {
        const Bytes packet = bench.Next();
        EXPECT_EQ(packet.size(), 127u);
        EXPECT_EQ(packet[4], n % 128);
        data.insert(data.end(), packet.begin() + 5, packet.begin() + 5 + (120 / perWord) * perWord);
        bench.Send(Ack(static_cast<uint8_t>(n % 128)));
    }
    std::vector<uint32_t> words;
    for (uint32_t w = 0; w < length; ++w) {
        uint32_t value = 0;
        for (uint32_t b = 0; b < perWord; ++b)
            value = value << 7 | data[w * perWord + b];
        words.push_back(value >> (7 * perWord - format));
    }
    return words;
}

uint32_t Big(const Bytes& body, size_t at, int width)
{
    uint32_t value = 0;
    for (int i = 0; i < width; ++i)
        value = value << 8 | body.at(at + static_cast<size_t>(i));
    return value;
}

} // namespace

TEST(KurzweilEmulatorSamples, SampleDataOfABlockGoesUnderItsIdMinusOneAndComesBackBitExactly)
{
    CKurzweilBench bench;
    const uint32_t id = bench.Write(134, 0, 1, "Slice 1", SoundBlockBody());
    ASSERT_EQ(id, 1u);
    const std::vector<uint32_t> words = TestWords(16, 250);
    DumpSample(bench, id - 1, 16, words, 20833, 10, 199, 0x00);

    Bytes header;
    EXPECT_EQ(RequestSample(bench, id - 1, &header), words);
    EXPECT_EQ(header, HeaderMessage(0, 16, 20833, 250, 10, 199, 0x00));

    // The block now tells what the sample is: its end, loop and period.
    const Bytes body = bench.ReadBody(134, 1);
    ASSERT_EQ(body.size(), 44u);
    EXPECT_EQ(body[6] & 1, 0);
    EXPECT_EQ(body[12 + 1] & 0x82, 0); // a forward loop that is on
    EXPECT_EQ(Big(body, 12 + 12, 4), 249u);
    EXPECT_EQ(Big(body, 12 + 16, 4), 10u);
    EXPECT_EQ(Big(body, 12 + 20, 4), 199u);
    EXPECT_EQ(Big(body, 12 + 28, 4), 20833u);
    EXPECT_EQ(NameOf(bench.Exchange(Describe(134, 1))), "Slice 1");

    // Other widths keep every bit too; a dump without a block makes one.
    const std::vector<uint32_t> twelve = TestWords(12, 70, 3);
    DumpSample(bench, 41, 12, twelve, 22675, 70, 70, 0x7F);
    EXPECT_EQ(RequestSample(bench, 41), twelve);
    EXPECT_EQ(Kind(bench.Exchange(Describe(134, 42))), 5);
    EXPECT_EQ(bench.ReadBody(134, 42).at(12 + 1) & 0x80, 0x80); // loop off

    // A block moved to another id takes its sample to that id - 1.
    EXPECT_EQ(IdOf(bench.Exchange(Change(134, 42, 50, "Moved"))), 50u);
    EXPECT_EQ(RequestSample(bench, 49), twelve);
    bench.Send(Request(41));
    EXPECT_TRUE(bench.SaidNothingMore());

    // Deleting the block deletes its sample: a request for it is ignored.
    bench.Exchange(Delete(134, 1));
    bench.Send(Request(0));
    EXPECT_TRUE(bench.SaidNothingMore());
}

TEST(KurzweilEmulatorSamples, TheMIDIAndSCSIModelTakesSMDIDataIntoTheSameMemory)
{
    CKurzweilBench bench("1012");
    const Bytes inquiry = bench.scsi->Inquiry();
    EXPECT_EQ(std::string(inquiry.begin() + 8, inquiry.begin() + 21), "KURZWEILK2500");
    const uint32_t id = bench.Write(134, 300, 1, "Snare", SoundBlockBody());
    ASSERT_EQ(id, 300u);

    SHeaderFields header;
    header.number = id - 1;
    header.bits = 16;
    header.channels = 2;
    header.period = 31250;
    header.length = 500;
    header.loopControl = 0x01;
    header.loopStart = 5;
    header.loopEnd = 400;
    header.name = "Snare";
    const Bytes data = PatternData(2, 1000);
    EXPECT_EQ(CodeOf(bench.scsi->Transmit(header, data)), kEndOfProcedure);

    // The object side sees it: a stereo block with an alternating loop.
    const Bytes body = bench.ReadBody(134, 300);
    ASSERT_EQ(body.size(), 44u);
    EXPECT_EQ(body[6] & 1, 1);
    EXPECT_EQ(body[12 + 1] & 0x82, 0x02);
    EXPECT_EQ(Big(body, 12 + 12, 4), 499u);
    EXPECT_EQ(Big(body, 12 + 28, 4), 31250u);
    EXPECT_EQ(bench.scsi->ReceiveSample(id - 1, 4000, data.size()), data);

    // Data sent over MIDI can be fetched over SCSI, word for word.
    const std::vector<uint32_t> words = TestWords(16, 90, 7);
    DumpSample(bench, 9, 16, words, 22675, 90, 90, 0x7F);
    const std::optional<Bytes> back = bench.scsi->ReceiveSample(9, 180, 180);
    ASSERT_TRUE(back.has_value());
    for (size_t w = 0; w < words.size(); ++w)
        EXPECT_EQ(((*back)[2 * w] << 8 | (*back)[2 * w + 1]) ^ 0x8000, static_cast<int>(words[w])) << w;

    // A sample deleted over SCSI takes its block along.
    EXPECT_EQ(CodeOf(bench.scsi->Exchange(DeleteSample(id - 1))), kEndOfProcedure);
    EXPECT_EQ(Read7(bench.Exchange(Describe(134, 300)), 9, 3), 0u);
}

TEST(KurzweilEmulatorSamples, ItsMemoryOutlivesTheEmulatorInTheFolder)
{
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("kurzweil-emulator-" + std::to_string(::getpid()));
    std::filesystem::remove_all(folder);
    const Bytes program = ProgramBody(1, 4);
    const std::vector<uint32_t> words = TestWords(16, 130, 5);
    const Bytes data = PatternData(2, 60);
    {
        CKurzweilBench bench("1002", "", folder.string());
        bench.Write(132, 12, 0, "Kept", program);
        bench.Write(134, 0, 1, "Sampled", SoundBlockBody());
        DumpSample(bench, 0, 16, words, 22675, 130, 130, 0x7F);
        SHeaderFields header;
        header.number = 7;
        header.length = 60;
        EXPECT_EQ(CodeOf(bench.scsi->Transmit(header, data)), kEndOfProcedure);
    }
    EXPECT_TRUE(std::filesystem::exists(folder / "objects.k2"));
    {
        CKurzweilBench bench("1002", "", folder.string());
        EXPECT_EQ(bench.ReadBody(132, 12), program);
        EXPECT_EQ(NameOf(bench.Exchange(Describe(134, 1))), "Sampled");
        EXPECT_EQ(RequestSample(bench, 0), words);
        // The sample that came over SCSI has its block as well.
        EXPECT_EQ(Read7(bench.Exchange(Describe(134, 8)), 9, 3), 44u);
        EXPECT_EQ(bench.scsi->ReceiveSample(7, 120, 120), data);
    }
    std::filesystem::remove_all(folder);
}

} // namespace quorvel::test
