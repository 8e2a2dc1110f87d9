#include "devices/midi/SysexMIDIInput.h"

#include <algorithm>
#include <cstring>

#include "devices/DeviceTrace.h"
#include "devices/midi/MIDIExceptions.h"
#include "devices/midi/MIDIService.h"
#include "devices/midi/RegisteredMIDIPorts.h"

namespace quorvel {

CSysexMIDIInput::CSysexMIDIInput() : ring_(new uint8_t[kRingSize]())
{
    shortNow_ = true;
    longNow_ = true;
}

void CSysexMIDIInput::OnLongDataNow(CMIDIInput*, uint32_t, const uint8_t* data, int32_t length)
{
    if (length <= 0 || overrun_.load(std::memory_order_acquire))
        return;
    const uint64_t written = written_.load(std::memory_order_relaxed);
    const uint64_t read = read_.load(std::memory_order_acquire);
    if (written - read + static_cast<uint64_t>(length) > kRingSize) {
        overrun_.store(true, std::memory_order_release);
        return;
    }
    const uint32_t position = static_cast<uint32_t>(written & (kRingSize - 1));
    const uint32_t first = std::min<uint32_t>(static_cast<uint32_t>(length), kRingSize - position);
    std::memcpy(ring_.get() + position, data, first);
    std::memcpy(ring_.get(), data + first, static_cast<size_t>(length) - first);
    written_.store(written + static_cast<uint64_t>(length), std::memory_order_release);
}

void CSysexMIDIInput::Flush()
{
    read_.store(written_.load(std::memory_order_acquire), std::memory_order_release);
    overrun_.store(false, std::memory_order_release);
    streamed_.clear();
}

void CSysexMIDIInput::ThrowIfOverrun()
{
    if (!overrun_.load(std::memory_order_acquire))
        return;
    // The writer drops everything while the flag stands, so written_ is still.
    Flush();
    throw XSysexOverrun();
}

uint32_t CSysexMIDIInput::Available() const
{
    return static_cast<uint32_t>(written_.load(std::memory_order_acquire) - read_.load(std::memory_order_relaxed));
}

bool CSysexMIDIInput::InputGone() const { return Input() && Input()->Gone(); }

void CSysexMIDIInput::CopyOut(uint64_t from, uint32_t count, uint8_t* destination) const
{
    const uint32_t position = static_cast<uint32_t>(from & (kRingSize - 1));
    const uint32_t first = std::min(count, kRingSize - position);
    std::memcpy(destination, ring_.get() + position, first);
    std::memcpy(destination + first, ring_.get(), count - first);
}

uint64_t CSysexMIDIInput::FindEnd(uint64_t from, uint64_t to) const
{
    while (from < to && At(from) != 0xF7)
        ++from;
    return from;
}

void CSysexMIDIInput::Trace(const char* kind, const uint8_t* data, size_t length) const
{
    if (Input())
        TraceMIDI(kind, Input()->Port().Name(), data, length);
}

void CSysexMIDIInput::TraceSkipped(uint64_t from, uint64_t to) const
{
    if (from == to || !DeviceTraceActive())
        return;
    std::vector<uint8_t> skipped(static_cast<size_t>(to - from));
    CopyOut(from, static_cast<uint32_t>(skipped.size()), skipped.data());
    Trace("midi-in-bad", skipped.data(), skipped.size());
}

uint64_t CSysexMIDIInput::SkipToMessageStart(uint64_t written)
{
    const uint64_t from = read_.load(std::memory_order_relaxed);
    uint64_t start = from;
    while (start < written && At(start) != 0xF0)
        ++start;
    TraceSkipped(from, start);
    read_.store(start, std::memory_order_release);
    return start;
}

std::unique_ptr<CRawSysex> CSysexMIDIInput::NextSysex()
{
    ThrowIfOverrun();
    const bool gone = InputGone();
    const uint64_t written = written_.load(std::memory_order_acquire);
    const uint64_t start = SkipToMessageStart(written);
    const uint64_t end = start == written ? written : FindEnd(start + 1, written);
    if (end == written) {
        if (gone)
            throw XMIDIInputGone();
        return nullptr;
    }
    const uint32_t length = static_cast<uint32_t>(end + 1 - start);
    auto message = std::make_unique<CRawSysex>(static_cast<int32_t>(length));
    CopyOut(start, length, message->GetData());
    read_.store(end + 1, std::memory_order_release);
    streamed_.clear();
    if (!message->IsWellFormed()) {
        Trace("midi-in-bad", message->GetData(), length);
        return nullptr;
    }
    Trace("midi-in", message->GetData(), length);
    return message;
}

void CSysexMIDIInput::WaitForStart(uint64_t deadline)
{
    for (;;) {
        ThrowIfOverrun();
        const bool gone = InputGone();
        const uint64_t written = written_.load(std::memory_order_acquire);
        const uint64_t start = SkipToMessageStart(written);
        if (start < written) {
            streamed_.clear();
            return;
        }
        if (gone)
            throw XMIDIInputGone();
        if (MIDIClock().Milliseconds() >= deadline)
            throw XSysexTimedOut();
        ServiceAllMIDIInputs();
    }
}

void CSysexMIDIInput::WaitForBytes(int32_t count, uint64_t deadline)
{
    const uint64_t wanted = static_cast<uint64_t>(std::max(count, 0));
    for (;;) {
        ThrowIfOverrun();
        const bool gone = InputGone();
        const uint64_t written = written_.load(std::memory_order_acquire);
        const uint64_t read = read_.load(std::memory_order_relaxed);
        const uint64_t end = FindEnd(read, std::min(written, read + wanted));
        if (end < std::min(written, read + wanted)) {
            // The message ends inside the span asked for.
            if (end + 1 - read < wanted)
                throw XSysexTooSmall();
            return;
        }
        if (written - read >= wanted)
            return;
        if (gone)
            throw XMIDIInputGone();
        if (MIDIClock().Milliseconds() >= deadline)
            throw XSysexTimedOut();
        ServiceAllMIDIInputs();
    }
}

int32_t CSysexMIDIInput::WaitForEnd(uint64_t deadline)
{
    for (;;) {
        ThrowIfOverrun();
        const bool gone = InputGone();
        const uint64_t written = written_.load(std::memory_order_acquire);
        const uint64_t read = read_.load(std::memory_order_relaxed);
        const uint64_t end = FindEnd(read, written);
        if (end < written)
            return static_cast<int32_t>(end + 1 - read);
        if (gone)
            throw XMIDIInputGone();
        if (MIDIClock().Milliseconds() >= deadline)
            throw XSysexTimedOut();
        ServiceAllMIDIInputs();
    }
}

void CSysexMIDIInput::ReadBytes(int32_t count, uint8_t* destination)
{
    ThrowIfOverrun();
    if (count <= 0)
        return;
    if (Available() < static_cast<uint32_t>(count))
        throw XSysexTooSmall();
    const uint64_t read = read_.load(std::memory_order_relaxed);
    CopyOut(read, static_cast<uint32_t>(count), destination);
    read_.store(read + static_cast<uint64_t>(count), std::memory_order_release);
    if (!DeviceTraceActive())
        return;
    // A streamed message is traced once its end has been read.
    for (int32_t i = 0; i < count; ++i) {
        if (destination[i] == 0xF0)
            streamed_.clear();
        streamed_.push_back(destination[i]);
        if (destination[i] == 0xF7) {
            Trace("midi-in", streamed_.data(), streamed_.size());
            streamed_.clear();
        }
    }
}

} // namespace quorvel
