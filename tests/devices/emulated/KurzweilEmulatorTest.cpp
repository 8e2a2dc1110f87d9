// The emulated Kurzweil samplers' object messages, driven through their
// Loopback ports with messages built from the published layouts.
#include <gtest/gtest.h>

#include "KurzweilTestBench.h"
#include "devices/emulated/EmulatedSamplers.h"
#include "devices/scsi/SCSIBusRegistry.h"
#include "devices/scsi/SCSITargetListing.h"
#include "framework/EmbeddedResources.h"

namespace quorvel::test {

TEST(KurzweilEmulator, IdentityReplyNamesKurzweilTheModelAndItsVersion)
{
    struct SCase {
        const char* id;
        Bytes reply;
    };
    const SCase cases[] = {
        {"1000", {0xF0, 0x7E, 0x00, 0x06, 0x02, 0x07, 0x78, 0x00, 0x00, 0x00, 3, 1, 0, 0, 0xF7}},
        {"1012", {0xF0, 0x7E, 0x00, 0x06, 0x02, 0x07, 0x78, 0x00, 0x01, 0x00, 2, 80, 0, 0, 0xF7}},
    };
    for (const SCase& c : cases) {
        CKurzweilBench bench(c.id);
        EXPECT_EQ(bench.Exchange({0xF0, 0x7E, 0x00, 0x06, 0x01, 0xF7}), c.reply) << c.id;
        EXPECT_EQ(bench.Exchange({0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7}), c.reply) << c.id << " all-call";
        // Another device number, or another maker's message, is not for it.
        bench.Send({0xF0, 0x7E, 0x05, 0x06, 0x01, 0xF7});
        bench.Send(Cat({{0xF0, 0x07, 0x01, 0x78, 0x04}, N7(134, 2), N7(1, 2), {0xF7}}));
        EXPECT_TRUE(bench.SaidNothingMore()) << c.id;
    }
}

TEST(KurzweilEmulator, ObjectsWrittenAreDescribedAndReadBackBitExactly)
{
    CKurzweilBench bench;
    const Bytes block = SoundBlockBody(3, 20833);
    const Bytes keymap = KeymapBody(5);
    const Bytes program = ProgramBody(2, 9);

    // The acknowledgement: type, the id taken, 0, the body size.
    const Bytes ack = bench.Exchange(WriteMessage(134, 0, 1, "Slice 1", block));
    EXPECT_EQ(ack, KMessage(2, Cat({N7(134, 2), N7(1, 2), N7(0, 3), N7(static_cast<uint32_t>(block.size()), 3)})));
    EXPECT_EQ(bench.Write(133, 200, 0, "Loop map", keymap), 200u);
    EXPECT_EQ(bench.Write(132, 200, 0, "Loop", program), 200u);

    const Bytes info = bench.Exchange(Describe(133, 200));
    EXPECT_EQ(info, KMessage(5, Cat({N7(133, 2), N7(200, 2), N7(static_cast<uint32_t>(keymap.size()), 3), {1},
                                     Text("Loop map"), {0}})));
    EXPECT_EQ(bench.ReadBody(134, 1), block);
    EXPECT_EQ(bench.ReadBody(133, 200), keymap);
    EXPECT_EQ(bench.ReadBody(132, 200), program);

    // Bodies of other types are kept as they are: 7 bytes take 8 wire
    // bytes, 8 take 10.
    const Bytes seven = {0xFF, 0x00, 0x81, 0x7F, 0x80, 0x01, 0xFE};
    Bytes eight = seven;
    eight.push_back(0xAA);
    EXPECT_EQ(bench.Write(112, 3, 0, "Song", seven), 3u);
    EXPECT_EQ(bench.Write(112, 4, 0, "Song", eight), 4u);
    const Bytes seven9 = bench.Exchange(ReadRequest(112, 3));
    const Bytes eight9 = bench.Exchange(ReadRequest(112, 4));
    EXPECT_EQ(seven9.size(), 5 + 8 + 5 + 1 + 8 + 2u);
    EXPECT_EQ(eight9.size(), 5 + 8 + 5 + 1 + 10 + 2u);
    EXPECT_EQ(FromBitStream(Bytes(eight9.end() - 12, eight9.end() - 2)), eight);

    // What it does not hold is described with size 0 and no name, and a
    // read of it is refused with code 4.
    EXPECT_EQ(bench.Exchange(Describe(132, 7)), KMessage(5, Cat({N7(132, 2), N7(7, 2), N7(0, 3), {0}, {0}})));
    EXPECT_EQ(bench.Exchange(ReadRequest(132, 7)),
              KMessage(3, Cat({N7(132, 2), N7(7, 2), N7(0, 3), N7(0, 3), {4}})));
}

TEST(KurzweilEmulator, WriteTakesTheIdOrChoosesOneFromTheHintUpward)
{
    CKurzweilBench bench;
    const Bytes block = SoundBlockBody();
    // Byte 12 = 1: the first free id from the hint.
    EXPECT_EQ(bench.Write(134, 100, 1, "a", block), 100u);
    EXPECT_EQ(bench.Write(134, 100, 1, "b", block), 101u);
    EXPECT_EQ(bench.Write(134, 0, 1, "c", block), 1u);
    // Byte 12 = 0: id 0 is the first free id, any other the id itself,
    // replacing what is there.
    EXPECT_EQ(bench.Write(134, 0, 0, "d", block), 2u);
    EXPECT_EQ(bench.Write(134, 100, 0, "e", block), 100u);
    EXPECT_EQ(NameOf(bench.Exchange(Describe(134, 100))), "e");
    // Ids stop at 999.
    EXPECT_EQ(bench.Exchange(WriteMessage(134, 1000, 0, "f", block)),
              KMessage(3, Cat({N7(134, 2), N7(1000, 2), N7(0, 3), N7(0, 3), {3}})));
    EXPECT_EQ(Kind(bench.Exchange(WriteMessage(134, 1000, 1, "g", block))), 3);
    // Types keep their own ids.
    EXPECT_EQ(bench.Write(133, 0, 0, "map", KeymapBody(1)), 1u);
}

TEST(KurzweilEmulator, ListingGivesEveryObjectOfTheBankThenMessage13)
{
    CKurzweilBench bench;
    for (int i = 0; i < 130; ++i)
        ASSERT_EQ(bench.Write(134, 0, 1, "Block " + std::to_string(i + 1), SoundBlockBody()),
                  static_cast<uint32_t>(i + 1));
    bench.Write(133, 5, 0, "map", KeymapBody(2));

    bench.Send(ListBank(134, 127)); // every bank
    for (uint32_t id = 1; id <= 130; ++id) {
        const Bytes info = bench.Next();
        ASSERT_EQ(Kind(info), 5);
        EXPECT_EQ(IdOf(info), id);
        EXPECT_EQ(NameOf(info), "Block " + std::to_string(id));
        EXPECT_EQ(Read7(info, 9, 3), 44u);
    }
    EXPECT_EQ(bench.Next(), KMessage(13, Cat({N7(134, 2), {127}})));

    bench.Send(ListBank(134, 1)); // ids 100 to 199
    for (uint32_t id = 100; id <= 130; ++id)
        EXPECT_EQ(IdOf(bench.Next()), id);
    EXPECT_EQ(Kind(bench.Next()), 13);
    EXPECT_EQ(bench.Exchange(ListBank(132, 127)), KMessage(13, Cat({N7(132, 2), {127}})));
    EXPECT_TRUE(bench.SaidNothingMore());
}

TEST(KurzweilEmulator, RenameRenumberAndDelete)
{
    CKurzweilBench bench;
    const Bytes keymap = KeymapBody(3);
    bench.Write(133, 10, 0, "Old", keymap);
    bench.Write(133, 20, 0, "Doomed", KeymapBody(4));

    // A rename keeps the id; the answer describes the object as it is now.
    EXPECT_EQ(NameOf(bench.Exchange(Change(133, 10, 10, "New name"))), "New name");
    // A new id moves it, replacing what was there; an empty name keeps it.
    const Bytes moved = bench.Exchange(Change(133, 10, 20, ""));
    EXPECT_EQ(IdOf(moved), 20u);
    EXPECT_EQ(NameOf(moved), "New name");
    EXPECT_EQ(Read7(bench.Exchange(Describe(133, 10)), 9, 3), 0u);
    EXPECT_EQ(bench.ReadBody(133, 20), keymap);

    // A delete answers with the object it deleted; then it is gone.
    const Bytes deleted = bench.Exchange(Delete(133, 20));
    EXPECT_EQ(Kind(deleted), 5);
    EXPECT_EQ(NameOf(deleted), "New name");
    EXPECT_EQ(Read7(deleted, 9, 3), keymap.size());
    EXPECT_EQ(bench.Exchange(Describe(133, 20)), KMessage(5, Cat({N7(133, 2), N7(20, 2), N7(0, 3), {0}, {0}})));
    EXPECT_EQ(Read7(bench.Exchange(Delete(133, 20)), 9, 3), 0u);
}

TEST(KurzweilEmulator, ADamagedOrMalformedWriteIsRefusedAndNothingKept)
{
    CKurzweilBench bench;
    const Bytes refusedChecksum = KMessage(3, Cat({N7(134, 2), N7(0, 2), N7(0, 3), N7(0, 3), {2}}));

    Bytes damaged = WriteMessage(134, 0, 1, "x", SoundBlockBody());
    damaged[damaged.size() - 2] ^= 0x01;
    EXPECT_EQ(bench.Exchange(damaged), refusedChecksum);

    // A size field that does not match the packed bytes is damage as well.
    Bytes longer = WriteMessage(134, 0, 1, "x", SoundBlockBody());
    longer[11] = static_cast<uint8_t>(longer[11] + 1);
    EXPECT_EQ(bench.Exchange(longer), refusedChecksum);

    // Bodies whose counts disagree with their size: code 6.
    Bytes shortBlock = SoundBlockBody(2);
    shortBlock.resize(60);
    EXPECT_EQ(bench.Exchange(WriteMessage(134, 0, 1, "x", shortBlock)).at(15), 6);
    Bytes badProgram = ProgramBody(2, 1);
    badProgram[2] = 3;
    EXPECT_EQ(bench.Exchange(WriteMessage(132, 1, 0, "x", badProgram)).at(15), 6);
    Bytes badKeymap = KeymapBody(1);
    badKeymap[11] = 5; // entries smaller than 6 bytes
    EXPECT_EQ(bench.Exchange(WriteMessage(133, 1, 0, "x", badKeymap)).at(15), 6);

    bench.Send(ListBank(134, 127));
    EXPECT_EQ(Kind(bench.Next()), 13);
    EXPECT_TRUE(bench.SaidNothingMore());
}

} // namespace quorvel::test

namespace quorvel::test {

TEST(KurzweilEmulator, EveryModelStartsWithPortsOfItsOwnAndTheSCSIRowsOnTheBus)
{
    std::ostringstream warnings;
    const SEmulatorSettings settings =
        ParseEmulatorSettings("1000,1002,1010,1012", nullptr, "id-above:1001,reject-write:3,in-edit,out-of-memory",
                              warnings);
    EXPECT_EQ(warnings.str(), "");
    CMIDIPortLists ports;
    CEmulatedSamplers samplers(ports, settings, SteadyEmulatorClock(), 0, warnings);
    EXPECT_EQ(warnings.str(), "");
    EXPECT_EQ(samplers.MIDIEmulators().size(), 4u);
    for (const char* name : {"Emulated Kurzweil K2000 via MIDI", "Emulated K2000 via MIDI+SCSI",
                             "Emulated Kurzweil K2500 via MIDI", "Emulated K2500 via MIDI+SCSI"}) {
        EXPECT_NE(ports.FindInput(name), nullptr) << name;
        EXPECT_NE(ports.FindOutput(name), nullptr) << name;
    }
    const std::vector<std::string> lines =
        ListTargets(*samplers.OwnBuses()->Find("Loopback"), BuiltInTextResources());
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], "0: \"KURZWEIL\" \"K2000\"");
    EXPECT_EQ(lines[1], "1: \"KURZWEIL\" \"K2500\"");
}

} // namespace quorvel::test
