#pragma once
// The parser every sampler protocol reads from. The driver's thread copies
// long data into a 64 KB ring; the user-interface thread cuts complete,
// well-formed system-exclusive messages out of it, or streams one long dump
// piece by piece with the waits and ReadBytes.
//
// What arrived before the input went away is read first; the next read or
// wait that finds nothing fails with XMIDIInputGone instead of timing out.
//
// The ring counts the bytes it holds: when a writer would lap the reader it
// drops the new bytes (and all after them until the reader catches up) and
// the next read or wait fails with XSysexOverrun, so two dumps are never
// spliced into one.
#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "devices/midi/MIDIInput.h"
#include "devices/midi/RawSysex.h"

namespace quorvel {

class CSysexMIDIInput : public CMIDIInputParser {
public:
    static constexpr uint32_t kRingSize = 65536;

    CSysexMIDIInput();

    // Driver's thread: appends the bytes.
    void OnLongDataNow(CMIDIInput* input, uint32_t time, const uint8_t* data, int32_t length) override;

    // Discards everything unread (and a pending overrun).
    void Flush();
    // The next complete message, or nullptr when none is complete yet. Bytes
    // before a 0xF0 are skipped; a block that is not well-formed is dropped.
    std::unique_ptr<CRawSysex> NextSysex();

    // Deadlines are absolute times of MIDIClock(). Each throws XSysexTimedOut
    // once the clock reaches the deadline.
    // Skips to the next 0xF0 and returns with it at the read position.
    void WaitForStart(uint64_t deadline);
    // Until `count` bytes from the read position are here, or the message
    // there is complete; XSysexTooSmall when it ended with fewer.
    void WaitForBytes(int32_t count, uint64_t deadline);
    // Until the message at the read position is complete; returns its length.
    int32_t WaitForEnd(uint64_t deadline);
    // Takes `count` bytes from the read position; XSysexTooSmall when fewer
    // are here.
    void ReadBytes(int32_t count, uint8_t* destination);

    // Bytes received and not yet read.
    uint32_t Available() const;
    // True once the input this reads from can deliver nothing more. Asked
    // before looking at what is here: every byte that came before has been
    // added by then. The reads and waits above fail with XMIDIInputGone when
    // it was true and nothing was left.
    bool InputGone() const;

private:
    void ThrowIfOverrun();
    uint8_t At(uint64_t position) const { return ring_[position & (kRingSize - 1)]; }
    void CopyOut(uint64_t from, uint32_t count, uint8_t* destination) const;
    // Position of the first 0xF7 in [from, to), or `to`.
    uint64_t FindEnd(uint64_t from, uint64_t to) const;
    void Trace(const char* kind, const uint8_t* data, size_t length) const;
    void TraceSkipped(uint64_t from, uint64_t to) const;
    // Drops (and traces) the bytes before the next 0xF0 up to `written`;
    // returns where the next message starts (`written` when none does).
    uint64_t SkipToMessageStart(uint64_t written);

    std::unique_ptr<uint8_t[]> ring_;
    // Running totals of bytes written and read; the ring positions are their
    // low 16 bits. Only the driver's thread moves written_, only the reader read_.
    std::atomic<uint64_t> written_{0};
    std::atomic<uint64_t> read_{0};
    std::atomic<bool> overrun_{false};
    // Bytes streamed with ReadBytes since the last message start, for the trace.
    std::vector<uint8_t> streamed_;
};

} // namespace quorvel
