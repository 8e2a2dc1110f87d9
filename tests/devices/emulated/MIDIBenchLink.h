#pragma once
// The program's end of a Loopback port pair to an emulated sampler, with a
// clock moved by hand: the port lists, what a bench sends, waiting until the
// emulator has taken it, and what comes back. The benches of the single samplers derive
// from it and add their own message builders.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "devices/emulated/EmulatorClock.h"
#include "devices/emulated/MIDIEmulator.h"
#include "devices/midi/LoopbackMIDI.h"
#include "devices/midi/SysexConnection.h"
#include "devices/midi/SysexMIDIInput.h"
#include "framework/XBase.h"

namespace quorvel::test {

using Bytes = std::vector<uint8_t>;

// Time passes only when a test says so.
class ManualEmulatorClock : public CABCEmulatorClock {
public:
    uint64_t Milliseconds() const override { return now_.load(); }
    void WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& wake, uint64_t) override
    {
        wake.wait_for(lock, std::chrono::milliseconds(1));
    }
    void Advance(uint64_t ms) { now_ += ms; }

private:
    std::atomic<uint64_t> now_{5000};
};

class CMIDIBenchLink {
public:
    CMIDIBenchLink(const CMIDIBenchLink&) = delete;
    CMIDIBenchLink& operator=(const CMIDIBenchLink&) = delete;

    void Send(const Bytes& message)
    {
        output_->SendBytes(message.data(), static_cast<int32_t>(message.size()));
        sent_ += message.size();
    }
    // Returns once the emulator has dealt with everything sent to it.
    void Settle()
    {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (peer_->BytesTaken() < sent_ && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        ASSERT_EQ(peer_->BytesTaken(), sent_) << "the emulator never took the bytes";
    }
    // The emulator's next message (generous limit: only reached on a failure).
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
    // Everything sent has been dealt with and nothing was answered beyond
    // what was already read. Anything it sent after settling has left
    // already: the wire is unpaced.
    bool SaidNothingMore()
    {
        Settle();
        return peer_->BytesSent() == received_;
    }
    CMIDIPortLists& Lists() { return lists_; }

    ManualEmulatorClock clock;

protected:
    CMIDIBenchLink() = default;
    ~CMIDIBenchLink() { Close(); }

    // Opens the program's side of `port`, which `peer` sits on the far side of.
    void Open(const std::string& port, const CABCMIDIEmulator& peer)
    {
        peer_ = &peer;
        input_ = lists_.FindInput(port)->Open(parser_);
        output_ = lists_.FindOutput(port)->Open();
        link_ = std::make_unique<CSysexConnection>(parser_, *output_);
    }
    // Closes the program's side; the emulator may go after it.
    void Close()
    {
        link_.reset();
        output_.reset();
        input_.reset();
    }

    CMIDIPortLists lists_;

private:
    const CABCMIDIEmulator* peer_ = nullptr;
    CSysexMIDIInput parser_;
    std::unique_ptr<CMIDIInput> input_;
    std::unique_ptr<CMIDIOutput> output_;
    std::unique_ptr<CSysexConnection> link_;
    uint64_t sent_ = 0;
    uint64_t received_ = 0;
};

} // namespace quorvel::test
