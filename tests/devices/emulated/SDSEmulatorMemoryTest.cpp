#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "SDSTestBench.h"
#include "devices/emulated/EmulatedSamplers.h"

using namespace quorvel;
using namespace quorvel::test;

namespace {

class TemporaryFolder {
public:
    TemporaryFolder()
    {
        char pattern[] = "/tmp/quorvel-emulator-XXXXXX";
        path_ = ::mkdtemp(pattern);
    }
    ~TemporaryFolder() { std::filesystem::remove_all(path_); }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

Bytes FileBytes(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

} // namespace

TEST(SDSEmulatorMemory, ASampleSentToOneEmulatorIsDumpedByTheNext)
{
    TemporaryFolder folder;
    const std::string memory = folder.Path() + "/sds";
    const std::vector<uint32_t> words = TestWords(24, 75);
    const std::vector<Bytes> packets = DumpPackets(24, words);
    const Bytes header = HeaderMessage(1234, 24, 20833, 75, 3, 70, 0x01);
    {
        SDSTestBench first({}, memory);
        first.DumpClosedLoop(header, packets);
        first.Settle();
    }
    // The file: the dump header as the sampler sends it, then the words, 4
    // bytes each, least significant first.
    const Bytes file = FileBytes(std::filesystem::path(memory) / "sample-01234.sds");
    ASSERT_EQ(file.size(), 21u + 4 * 75);
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 21), header);
    EXPECT_EQ(file[21 + 4 * 5] | file[22 + 4 * 5] << 8 | file[23 + 4 * 5] << 16 | file[24 + 4 * 5] << 24,
              static_cast<int>(words[5]));

    SDSTestBench second({}, memory);
    second.Send(Request(1234));
    EXPECT_EQ(second.Next(), header);
    for (size_t n = 0; n < packets.size(); ++n) {
        second.Send(Ack(n == 0 ? 0 : static_cast<uint8_t>(n - 1)));
        EXPECT_EQ(second.Next(), packets[n]);
    }
    second.Send(Ack(static_cast<uint8_t>(packets.size() - 1)));
    EXPECT_TRUE(second.SaidNothingMore());
    // Without a folder the memory is the process's own.
    SDSTestBench third;
    third.Send(Request(1234));
    EXPECT_TRUE(third.SaidNothingMore());
}

TEST(SDSEmulatorMemory, FilesThatAreNotWholeSamplesAreSkipped)
{
    TemporaryFolder folder;
    {
        SDSTestBench first({}, folder.Path());
        first.DumpClosedLoop(HeaderMessage(7, 16, 22676, 3, 0, 0, 0x7F), DumpPackets(16, {1, 2, 3}));
        first.DumpClosedLoop(HeaderMessage(8, 16, 22676, 3, 0, 0, 0x7F), DumpPackets(16, {4, 5, 6}));
        first.Settle();
    }
    std::filesystem::resize_file(std::filesystem::path(folder.Path()) / "sample-00008.sds", 30);
    std::ofstream(std::filesystem::path(folder.Path()) / "notes.txt") << "not a sample";
    CSDSSampleStore store(folder.Path());
    EXPECT_EQ(store.Numbers(), std::vector<uint16_t>{7});
    ASSERT_TRUE(store.Find(7));
    EXPECT_EQ(store.Find(7)->words, (std::vector<uint32_t>{1, 2, 3}));
}

TEST(SDSEmulatorMemory, EmulatorsKeepTheirMemoryInAFolderOfTheirOwn)
{
    TemporaryFolder folder;
    CMIDIPortLists ports;
    std::ostringstream warnings;
    const SEmulatorSettings settings = ParseEmulatorSettings("sds", folder.Path().c_str(), nullptr, warnings);
    CEmulatedSamplers samplers(ports, settings, SteadyEmulatorClock(), 0, warnings);
    auto& emulator = static_cast<CSDSEmulator&>(*samplers.MIDIEmulators().at(0));
    SSDSSample sample;
    sample.number = 3;
    sample.words = {9};
    emulator.Samples().Put(sample);
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(folder.Path()) / "sds" / "sample-00003.sds"));
}
