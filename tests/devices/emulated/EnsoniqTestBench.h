#pragma once
// The computer's side of a Loopback port pair to an emulated Ensoniq
// sampler, with a clock moved by hand, and the external commands built
// byte by byte from the published command layouts (independently of the
// emulator's own code, so that a misreading shows as a difference).
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "SDSTestBench.h"
#include "devices/emulated/EnsoniqEmulator.h"

namespace quorvel::test {

// F0 0F 03 channel, the command, each number as two 6-bit bytes, F7.
inline Bytes EnsoniqMessage(uint8_t command, const std::vector<uint32_t>& numbers, uint8_t channel = 0,
                            uint8_t product = 3)
{
    Bytes m = {0xF0, 0x0F, product, channel, command};
    for (uint32_t n : numbers) {
        m.push_back(static_cast<uint8_t>(n / 64 % 64));
        m.push_back(static_cast<uint8_t>(n % 64));
    }
    m.push_back(0xF7);
    return m;
}

inline Bytes Address(uint8_t command, uint32_t instrument, uint32_t layer, uint32_t wave)
{
    return EnsoniqMessage(command, {instrument, layer, wave});
}

// Offsets go as two 12-bit numbers, the high one first.
inline Bytes Range(uint8_t command, uint32_t instrument, uint32_t layer, uint32_t wave, uint32_t start,
                   uint32_t end)
{
    return EnsoniqMessage(command, {instrument, layer, wave, start / 4096, start % 4096, end / 4096, end % 4096});
}

inline Bytes Status(uint32_t status) { return EnsoniqMessage(0x01, {status}); }

// Words of 16 bits as three bytes: the top 4 bits, the next 6, the last 6.
inline Bytes WordsMessage(const std::vector<uint16_t>& words)
{
    Bytes m = {0xF0, 0x0F, 0x03, 0x00};
    for (uint16_t w : words) {
        m.push_back(static_cast<uint8_t>(w / 4096));
        m.push_back(static_cast<uint8_t>(w / 64 % 64));
        m.push_back(static_cast<uint8_t>(w % 64));
    }
    m.push_back(0xF7);
    return m;
}

inline std::vector<uint16_t> WordsOf(const Bytes& m)
{
    std::vector<uint16_t> words;
    for (size_t at = 4; at + 3 < m.size(); at += 3)
        words.push_back(static_cast<uint16_t>(m[at] * 4096 + m[at + 1] * 64 + m[at + 2]));
    return words;
}

// A block of `count` words that tells each word from its neighbours.
inline std::vector<uint16_t> Pattern(size_t count, uint16_t seed)
{
    std::vector<uint16_t> words(count);
    for (size_t i = 0; i < count; ++i)
        words[i] = static_cast<uint16_t>(seed + i * 4099u);
    return words;
}

class EnsoniqTestBench {
public:
    explicit EnsoniqTestBench(const std::string& id, const std::vector<SEmulatorFault>& faults = {},
                              const std::string& folder = {})
        : model_(*FindEnsoniqEmulatorModel(id))
    {
        const std::string port = CEnsoniqEmulator::PortName(model_);
        ends_ = AddLoopbackMIDIPorts(lists_, port, 0);
        emulator = std::make_unique<CEnsoniqEmulator>(model_, ends_, clock, faults, folder);
        input_ = lists_.FindInput(port)->Open(parser_);
        output_ = lists_.FindOutput(port)->Open();
        link_ = std::make_unique<CSysexConnection>(parser_, *output_);
    }
    ~EnsoniqTestBench()
    {
        link_.reset();
        output_.reset();
        input_.reset();
        emulator.reset();
    }

    void Send(const Bytes& message)
    {
        output_->SendBytes(message.data(), static_cast<int32_t>(message.size()));
        sent_ += message.size();
    }
    void Settle()
    {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (emulator->BytesTaken() < sent_ && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        ASSERT_EQ(emulator->BytesTaken(), sent_) << "the emulator never took the bytes";
    }
    Bytes Next()
    {
        try {
            std::unique_ptr<CRawSysex> message = link_->Receive(5000);
            received_ += static_cast<uint64_t>(message->GetLength());
            return Bytes(message->GetData(), message->GetData() + message->GetLength());
        } catch (const XBase&) {
            ADD_FAILURE() << "no message from the emulator";
            return {};
        }
    }
    Bytes Ask(const Bytes& message)
    {
        Send(message);
        return Next();
    }
    bool SaidNothingMore()
    {
        Settle();
        return emulator->BytesSent() == received_;
    }

    // A GET: the response, the PUT header echoing the request, then the
    // block once acknowledged. Returns the block's words.
    std::vector<uint16_t> Get(const Bytes& request)
    {
        EXPECT_EQ(Ask(request), Status(0));
        Bytes echo = request;
        echo[4] = static_cast<uint8_t>(echo[4] + 9);
        EXPECT_EQ(Next(), echo);
        return WordsOf(Ask(Status(0)));
    }
    // A PUT: the header, then the block; returns the two responses.
    std::pair<Bytes, Bytes> Put(const Bytes& header, const std::vector<uint16_t>& words)
    {
        const Bytes first = Ask(header);
        return {first, Ask(WordsMessage(words))};
    }
    // Instrument 0 with layer 0 and its wavesample 1.
    void MakeInstrument(uint32_t instrument = 0)
    {
        EXPECT_EQ(Ask(Address(0x15, instrument, 0, 1)), Status(0));
        EXPECT_EQ(Ask(Address(0x16, instrument, 0, 1)), Status(0));
    }

    ManualEmulatorClock clock;
    std::unique_ptr<CEnsoniqEmulator> emulator;

private:
    SEnsoniqEmulatorModel model_;
    CMIDIPortLists lists_;
    SLoopbackMIDIDevice ends_;
    CSysexMIDIInput parser_;
    std::unique_ptr<CMIDIInput> input_;
    std::unique_ptr<CMIDIOutput> output_;
    std::unique_ptr<CSysexConnection> link_;
    uint64_t sent_ = 0;
    uint64_t received_ = 0;
};

} // namespace quorvel::test
