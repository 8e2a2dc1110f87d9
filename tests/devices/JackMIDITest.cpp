// The JACK MIDI driver against a dummy server of the test's own: a client of
// the test echoes every event it gets back to the program.
#include <gtest/gtest.h>

#include <jack/jack.h>
#include <jack/midiport.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <mutex>
#include <thread>

#include "../common/DummyJackServer.h"
#include "devices/midi/JackMIDI.h"
#include "devices/midi/MIDIExceptions.h"
#include "devices/midi/MIDIInput.h"
#include "devices/midi/MIDIPortRegistration.h"
#include "devices/midi/MIDIService.h"
#include "devices/midi/SysexMIDIInput.h"

namespace quorvel {
namespace {

using Bytes = std::vector<uint8_t>;

// A JACK client that sends every event of its input out again, unchanged,
// and keeps the sizes of the first events.
class EchoClient {
public:
    static constexpr const char* kOutputName = "an output whose name is longer than a setting keeps";

    EchoClient()
    {
        jack_status_t status{};
        client_ = jack_client_open("Echo", JackNoStartServer, &status);
        if (!client_)
            return;
        in_ = jack_port_register(client_, "in", JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0);
        out_ = jack_port_register(client_, kOutputName, JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
        jack_set_process_callback(client_, &EchoClient::Process, this);
        jack_activate(client_);
    }
    ~EchoClient()
    {
        if (client_)
            jack_client_close(client_);
    }
    bool Ready() const { return client_ && in_ && out_; }

    size_t EventCount() const { return count_.load(); }
    size_t EventSize(size_t index) const { return sizes_[index]; }

private:
    static int Process(jack_nframes_t frames, void* arg)
    {
        auto* self = static_cast<EchoClient*>(arg);
        void* in = jack_port_get_buffer(self->in_, frames);
        void* out = jack_port_get_buffer(self->out_, frames);
        jack_midi_clear_buffer(out);
        const uint32_t count = jack_midi_get_event_count(in);
        for (uint32_t i = 0; i < count; ++i) {
            jack_midi_event_t event;
            jack_midi_event_get(&event, in, i);
            jack_midi_event_write(out, event.time, event.buffer, event.size);
            const size_t seen = self->count_.load();
            if (seen < self->sizes_.size())
                self->sizes_[seen] = event.size;
            self->count_.store(seen + 1);
        }
        return 0;
    }

    jack_client_t* client_ = nullptr;
    jack_port_t* in_ = nullptr;
    jack_port_t* out_ = nullptr;
    std::array<size_t, 4096> sizes_{};
    std::atomic<size_t> count_{0};
};

// Keeps every byte of long data and every short message, as they arrive.
class Collector : public CMIDIInputParser {
public:
    Collector()
    {
        longNow_ = true;
        shortNow_ = true;
    }
    void OnLongDataNow(CMIDIInput*, uint32_t, const uint8_t* data, int32_t length) override
    {
        std::lock_guard lock(mutex_);
        sysex_.insert(sysex_.end(), data, data + length);
    }
    void OnShortMessageNow(CMIDIInput*, const SShortMessage& message) override
    {
        std::lock_guard lock(mutex_);
        shorts_.insert(shorts_.end(), {message.status, message.data1, message.data2});
    }
    // Services the inputs until `size` sysex bytes are here or 10 s have gone.
    Bytes WaitForSysex(size_t size)
    {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < until) {
            {
                std::lock_guard lock(mutex_);
                if (sysex_.size() >= size)
                    break;
            }
            ServiceAllMIDIInputs();
        }
        std::lock_guard lock(mutex_);
        return sysex_;
    }
    Bytes Shorts()
    {
        std::lock_guard lock(mutex_);
        return shorts_;
    }

private:
    std::mutex mutex_;
    Bytes sysex_;
    Bytes shorts_;
};

const CRegisteredMIDIInput* FindJackInput(const CMIDIPortLists& ports, const std::string& start)
{
    for (const auto& port : ports.inputs)
        if (port->DriverKind() == "JACK" && port->Name().rfind(start, 0) == 0)
            return port.get();
    return nullptr;
}

Bytes SysexOf(size_t length, uint8_t seed)
{
    Bytes message(length);
    message.front() = 0xF0;
    for (size_t i = 1; i + 1 < length; ++i)
        message[i] = static_cast<uint8_t>((i * 31 + seed) & 0x7F);
    message.back() = 0xF7;
    return message;
}

TEST(JackMIDI, SysexOfEveryLengthTheProtocolsUseComesBackWholeAndInOrder)
{
    QUORVEL_DUMMY_JACK_SERVER(server, 44100, 256);
    EchoClient echo;
    ASSERT_TRUE(echo.Ready());

    const CMIDIPortLists ports = RegisterMIDIPorts();
    const CRegisteredMIDIInput* in = FindJackInput(ports, "Echo:an output");
    ASSERT_NE(in, nullptr);
    // Named as a setting keeps it, opened by the full name.
    EXPECT_EQ(in->Name().size(), CRegisteredMIDIInput::kMaxNameLength);
    EXPECT_EQ(static_cast<const CRegisteredJackMIDIInput*>(in)->Peer(), std::string("Echo:") + EchoClient::kOutputName);
    const CRegisteredMIDIOutput* out = ports.FindOutput("Echo:in");
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(out->DriverKind(), "JACK");

    Collector collector;
    const std::unique_ptr<CMIDIInput> input = in->Open(collector);
    const std::unique_ptr<CMIDIOutput> output = out->Open();

    // The program's own ports, open now, are never offered as a sampler's.
    const CMIDIPortLists again = RegisterMIDIPorts();
    EXPECT_EQ(again.inputs.size(), ports.inputs.size());
    EXPECT_EQ(again.outputs.size(), ports.outputs.size());
    for (const auto& port : again.outputs)
        EXPECT_NE(port->Name().rfind("Quorvel", 0), 0u) << port->Name();

    // Sample dump packets back to back, notes with running status between
    // them, then one message of a whole AKAI-size sample.
    Bytes expected;
    Bytes stream;
    constexpr int kPackets = 200;
    for (int i = 0; i < kPackets; ++i) {
        const Bytes packet = SysexOf(127, static_cast<uint8_t>(i));
        expected.insert(expected.end(), packet.begin(), packet.end());
        stream.insert(stream.end(), packet.begin(), packet.end());
        if (i == 100)
            stream.insert(stream.end(), {0x90, 0x3C, 0x40, 0x3E, 0x00});
    }
    const Bytes big = SysexOf(30000, 7);
    expected.insert(expected.end(), big.begin(), big.end());
    stream.insert(stream.end(), big.begin(), big.end());
    output->SendBytes(stream.data(), static_cast<int32_t>(stream.size()));

    EXPECT_EQ(collector.WaitForSysex(expected.size()), expected) << server.XRuns() << " xruns";
    EXPECT_EQ(collector.Shorts(), (Bytes{0x90, 0x3C, 0x40, 0x90, 0x3E, 0x00}));
    // Each packet travelled as one event.
    ASSERT_GE(echo.EventCount(), size_t(kPackets));
    for (size_t i = 0; i < 100; ++i)
        ASSERT_EQ(echo.EventSize(i), 127u) << "event " << i;
    // So did the big one, over the output's 2048-byte pieces.
    EXPECT_EQ(echo.EventSize(kPackets + 2), big.size());
}

TEST(JackMIDI, WithoutAServerThereAreNoJackPorts)
{
    ::setenv("JACK_DEFAULT_SERVER", "quorvel-test-nobody-runs-this", 1);
    const CMIDIPortLists ports = RegisterMIDIPorts();
    ::unsetenv("JACK_DEFAULT_SERVER");
    for (const auto& port : ports.inputs)
        EXPECT_NE(port->DriverKind(), "JACK");
    for (const auto& port : ports.outputs)
        EXPECT_NE(port->DriverKind(), "JACK");
}

TEST(JackMIDI, TheServerDyingDuringASendFailsItAndLaterSendsToo)
{
    QUORVEL_DUMMY_JACK_SERVER(server, 44100, 256);
    EchoClient echo;
    ASSERT_TRUE(echo.Ready());
    const CMIDIPortLists ports = RegisterMIDIPorts();
    const CRegisteredMIDIOutput* out = ports.FindOutput("Echo:in");
    ASSERT_NE(out, nullptr);
    const std::unique_ptr<CMIDIOutput> output = out->Open();

    // Far more than the server moves before it is killed.
    const Bytes stream = SysexOf(size_t{64} << 20, 1);
    std::thread killer([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        server.Kill();
    });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_THROW(output->SendBytes(stream.data(), static_cast<int32_t>(stream.size())), XMIDIWriteFailed);
    killer.join();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_THROW(output->SendBytes(stream.data(), 127), XMIDIWriteFailed);
}

TEST(JackMIDI, AWaitForAnAnswerEndsWhenTheServerDiesAfterWhatCameBefore)
{
    QUORVEL_DUMMY_JACK_SERVER(server, 44100, 256);
    EchoClient echo;
    ASSERT_TRUE(echo.Ready());
    const CMIDIPortLists ports = RegisterMIDIPorts();
    const CRegisteredMIDIInput* in = FindJackInput(ports, "Echo:an output");
    const CRegisteredMIDIOutput* out = ports.FindOutput("Echo:in");
    ASSERT_NE(in, nullptr);
    ASSERT_NE(out, nullptr);
    CSysexMIDIInput sysex;
    const std::unique_ptr<CMIDIInput> input = in->Open(sysex);
    const std::unique_ptr<CMIDIOutput> output = out->Open();

    const Bytes answer = SysexOf(127, 3);
    output->SendBytes(answer.data(), static_cast<int32_t>(answer.size()));
    const uint64_t deadline = MIDIClock().Milliseconds() + 20000;
    ASSERT_EQ(sysex.WaitForEnd(deadline), 127);
    EXPECT_FALSE(input->Gone());
    server.Kill();

    // The answer that came before is still read; the next wait ends long
    // before its deadline instead of timing out.
    const std::unique_ptr<CRawSysex> first = sysex.NextSysex();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(Bytes(first->GetData(), first->GetData() + first->GetLength()), answer);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_THROW(sysex.WaitForStart(deadline), XMIDIInputGone);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_TRUE(input->Gone());
    EXPECT_THROW(sysex.NextSysex(), XMIDIInputGone);
}

} // namespace
} // namespace quorvel
