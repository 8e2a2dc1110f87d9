#include <gtest/gtest.h>

#include <chrono>
#include <mutex>

#include "devices/midi/LoopbackMIDI.h"
#include "devices/midi/SysexConnection.h"
#include "devices/midi/SysexMIDIInput.h"
#include "MIDITestDoubles.h"

using namespace quorvel;
using namespace quorvel::test;

namespace {

// The far end of a Loopback port pair: collects what the program sends and
// answers each complete message with F0 7E 00 7F <count> F7.
class AnsweringDevice {
public:
    explicit AnsweringDevice(const SLoopbackMIDIDevice& ends) : ends_(ends)
    {
        ends_.fromProgram->Attach([this](const uint8_t* data, size_t length) {
            std::lock_guard lock(mutex_);
            for (size_t i = 0; i < length; ++i) {
                received_.push_back(data[i]);
                if (data[i] == 0xF7 && answering) {
                    const Bytes ack = {0xF0, 0x7E, 0x00, 0x7F, static_cast<uint8_t>(++answers_ & 0x7F), 0xF7};
                    ends_.toProgram->Write(ack.data(), ack.size());
                }
            }
        });
    }
    ~AnsweringDevice() { ends_.fromProgram->Detach(); }
    Bytes Received()
    {
        std::lock_guard lock(mutex_);
        return received_;
    }
    std::atomic<bool> answering{true};

private:
    SLoopbackMIDIDevice ends_;
    std::mutex mutex_;
    Bytes received_;
    int answers_ = 0;
};

Bytes Of(const std::unique_ptr<CRawSysex>& message)
{
    return Bytes(message->GetData(), message->GetData() + message->GetLength());
}

} // namespace

TEST(LoopbackMIDI, PortPairsCarryTransactionsToTheDeviceAndBack)
{
    CMIDIPortLists lists;
    const SLoopbackMIDIDevice ends = AddLoopbackMIDIPorts(lists, "Emulated SDS", 0);
    ASSERT_EQ(lists.inputs.size(), 1u);
    ASSERT_NE(lists.FindInput("Emulated SDS"), nullptr);
    ASSERT_NE(lists.FindOutput("Emulated SDS"), nullptr);
    EXPECT_EQ(lists.inputs[0]->DriverKind(), "Loopback");
    EXPECT_EQ(lists.outputs[0]->DriverKind(), "Loopback");
    EXPECT_EQ(lists.FindInput("Emulated"), nullptr);

    AnsweringDevice device(ends);
    CSysexMIDIInput parser;
    std::unique_ptr<CMIDIInput> input = lists.FindInput("Emulated SDS")->Open(parser);
    std::unique_ptr<CMIDIOutput> output = lists.FindOutput("Emulated SDS")->Open();
    // A port is open once at a time.
    CSysexMIDIInput other;
    EXPECT_THROW(lists.inputs[0]->Open(other), XFailedOpeningMIDIPort);

    CSysexConnection link(parser, *output, 0x7E, 0x00);
    EXPECT_EQ(Of(link.Transact({0xF0, 0x7E, 0x00, 0x03, 0xF7}, 2000, 1)),
              (Bytes{0xF0, 0x7E, 0x00, 0x7F, 0x01, 0xF7}));

    // A long dump arrives whole and in order; the answer follows it.
    const Bytes dump = CountingSysex(5000);
    link.SendFlushed(CRawSysex(dump));
    EXPECT_EQ(Of(link.Receive(2000)), (Bytes{0xF0, 0x7E, 0x00, 0x7F, 0x02, 0xF7}));
    const Bytes received = device.Received();
    ASSERT_EQ(received.size(), 5u + dump.size());
    EXPECT_EQ(Bytes(received.begin() + 5, received.end()), dump);

    // Short messages reach the far end too.
    output->SendShortMessage(0xC0, 0x05, 0x00);
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (device.Received().size() < received.size() + 2 && std::chrono::steady_clock::now() < until)
        ServiceAllMIDIInputs();
    const Bytes all = device.Received();
    ASSERT_EQ(all.size(), received.size() + 2);
    EXPECT_EQ(Bytes(all.end() - 2, all.end()), (Bytes{0xC0, 0x05}));

    // Once closed, the port opens again.
    input.reset();
    EXPECT_NO_THROW(lists.inputs[0]->Open(other));
}

TEST(LoopbackMIDI, ABytesWireEchoesIntoAnInputOnTheSameWire)
{
    // One wire as both ports: what goes out comes straight back in.
    auto wire = std::make_shared<CLoopbackMIDIWire>(0);
    CRegisteredLoopbackMIDIInput inPort("Echo", wire);
    CRegisteredLoopbackMIDIOutput outPort("Echo", wire);
    CSysexMIDIInput parser;
    auto input = inPort.Open(parser);
    auto output = outPort.Open();
    CSysexConnection link(parser, *output);
    const Bytes dump = CountingSysex(70000, 5);
    // A dump larger than the ring is read while it still arrives.
    output->SendBytes(dump.data(), 1000);
    parser.WaitForStart(MIDIClock().Milliseconds() + 2000);
    Bytes got(1000);
    parser.WaitForBytes(1000, MIDIClock().Milliseconds() + 2000);
    parser.ReadBytes(1000, got.data());
    for (size_t offset = 1000; offset < dump.size(); offset += 2000) {
        const int32_t n = static_cast<int32_t>(std::min<size_t>(2000, dump.size() - offset));
        output->SendBytes(dump.data() + offset, n);
        parser.WaitForBytes(n, MIDIClock().Milliseconds() + 2000);
        got.resize(offset + static_cast<size_t>(n));
        parser.ReadBytes(n, got.data() + offset);
    }
    EXPECT_EQ(got, dump);
}

TEST(LoopbackMIDI, APacedWireTakesTenBitsPerByte)
{
    // 312500 baud: 31250 bytes a second, 3125 bytes in 100 ms.
    auto wire = std::make_shared<CLoopbackMIDIWire>(312500);
    CRegisteredLoopbackMIDIOutput outPort("Paced", wire);
    std::atomic<size_t> arrived{0};
    wire->Attach([&](const uint8_t*, size_t n) { arrived += n; });
    auto output = outPort.Open();
    const Bytes dump = CountingSysex(3125);
    const auto start = std::chrono::steady_clock::now();
    output->SendBytes(dump.data(), static_cast<int32_t>(dump.size()));
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(arrived.load(), dump.size());
    EXPECT_GE(elapsed, std::chrono::milliseconds(99));
    EXPECT_LT(elapsed, std::chrono::milliseconds(1500)); // generous: the machine may be busy
    wire->Detach();
}

TEST(LoopbackMIDI, BaudComesFromTheEnvironment)
{
    ::setenv("QUORVEL_MIDI_BAUD", "31250", 1);
    EXPECT_EQ(CLoopbackMIDIWire::BaudFromEnvironment(), 31250u);
    ::setenv("QUORVEL_MIDI_BAUD", "fast", 1);
    EXPECT_EQ(CLoopbackMIDIWire::BaudFromEnvironment(), 0u);
    ::setenv("QUORVEL_MIDI_BAUD", "-5", 1);
    EXPECT_EQ(CLoopbackMIDIWire::BaudFromEnvironment(), 0u);
    ::unsetenv("QUORVEL_MIDI_BAUD");
    EXPECT_EQ(CLoopbackMIDIWire::BaudFromEnvironment(), 0u);
}
