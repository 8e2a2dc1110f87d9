#pragma once
// Doubles for the MIDI layer: a simulated clock that moves 1 ms per yield,
// an input that delivers scripted bytes once their time has come, and an
// output that records its pieces and finishes each after a few polls.
#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "devices/DeviceTrace.h"
#include "devices/midi/MIDIExceptions.h"
#include "devices/midi/MIDIInput.h"
#include "devices/midi/MIDIOutput.h"
#include "devices/midi/MIDIService.h"
#include "devices/midi/RegisteredMIDIPorts.h"

namespace quorvel::test {

using Bytes = std::vector<uint8_t>;

class FakeClock : public CABCClock {
public:
    uint64_t Milliseconds() const override { return now; }
    void Sleep(std::chrono::milliseconds duration) override
    {
        now += static_cast<uint64_t>(duration.count());
        ++sleeps;
    }
    uint64_t now = 1000;
    int sleeps = 0;
};

class ScriptedInput;

class FakeRegisteredInput : public CRegisteredMIDIInput {
public:
    explicit FakeRegisteredInput(const std::string& name = "Fake In") : CRegisteredMIDIInput(name, "Fake") {}
    std::unique_ptr<CMIDIInput> Open(CMIDIInputParser& parser) const override;
};

// Delivers each scripted piece as long data when Poll() finds the clock at or past its time.
class ScriptedInput : public CMIDIInput {
public:
    ScriptedInput(const CRegisteredMIDIInput& port, CMIDIInputParser& parser, const CABCClock& clock)
        : CMIDIInput(port, parser), clock_(clock)
    {
    }
    void At(uint64_t time, const Bytes& bytes) { script_.emplace(time, bytes); }
    void Now(const Bytes& bytes) { Deliver(bytes); }
    void Poll() override
    {
        ++polls;
        while (!script_.empty() && script_.begin()->first <= clock_.Milliseconds()) {
            const Bytes bytes = script_.begin()->second;
            script_.erase(script_.begin());
            Deliver(bytes);
        }
    }
    int polls = 0;

private:
    void Deliver(const Bytes& bytes)
    {
        Parser().OnLongDataNow(this, 0, bytes.data(), static_cast<int32_t>(bytes.size()));
    }
    const CABCClock& clock_;
    std::multimap<uint64_t, Bytes> script_;
};

class FakeRegisteredOutput : public CRegisteredMIDIOutput {
public:
    explicit FakeRegisteredOutput(const std::string& name = "Fake Out") : CRegisteredMIDIOutput(name, "Fake") {}
    std::unique_ptr<CMIDIOutput> Open() const override;
};

class RecordingOutput : public CMIDIOutput {
public:
    struct Piece {
        Bytes bytes;
        uint64_t time;
    };
    RecordingOutput(const CRegisteredMIDIOutput& port, const CABCClock& clock) : CMIDIOutput(port), clock_(clock) {}

    std::vector<Piece> pieces;
    Bytes shortBytes;
    int pollsPerPiece = 3;
    int failAtPiece = -1;
    // Called with every piece as it starts, e.g. to script an answer.
    std::function<void(const Bytes&)> onPiece;
    // Pieces started while the previous one had not finished.
    int overlapping = 0;

    Bytes AllBytes() const
    {
        Bytes all;
        for (const Piece& piece : pieces)
            all.insert(all.end(), piece.bytes.begin(), piece.bytes.end());
        return all;
    }

protected:
    void StartChunk(const uint8_t* data, int32_t length) override
    {
        if (static_cast<int>(pieces.size()) == failAtPiece)
            throw XMIDIWriteFailed();
        if (remaining_ > 0)
            ++overlapping;
        pieces.push_back({Bytes(data, data + length), clock_.Milliseconds()});
        remaining_ = pollsPerPiece;
        if (onPiece)
            onPiece(pieces.back().bytes);
    }
    bool ChunkDone() override { return remaining_-- <= 0; }
    int32_t WriteShort(const uint8_t* data, int32_t length) override
    {
        shortBytes.insert(shortBytes.end(), data, data + length);
        return 0;
    }

private:
    const CABCClock& clock_;
    int remaining_ = 0;
};

inline std::unique_ptr<CMIDIOutput> FakeRegisteredOutput::Open() const { return nullptr; }
inline std::unique_ptr<CMIDIInput> FakeRegisteredInput::Open(CMIDIInputParser&) const { return nullptr; }

inline std::string TraceHexForTest(const Bytes& bytes) { return TraceHex(bytes.data(), bytes.size()); }

// A message F0 <body> F7 whose body counts 0, 1, 2 ... modulo 128 from `seed`.
inline Bytes CountingSysex(size_t totalLength, uint8_t seed = 0)
{
    Bytes bytes(totalLength);
    bytes.front() = 0xF0;
    for (size_t i = 1; i + 1 < totalLength; ++i)
        bytes[i] = static_cast<uint8_t>((seed + i) & 0x7F);
    bytes.back() = 0xF7;
    return bytes;
}

} // namespace quorvel::test
