#include "devices/midi/JackMIDIStreams.h"

#include <jack/jack.h>
#include <jack/midiport.h>

#include <algorithm>
#include <new>

#include "devices/midi/MIDIOutput.h"

namespace quorvel {

namespace {

jack_ringbuffer_t* NewRing(size_t capacity)
{
    jack_ringbuffer_t* ring = jack_ringbuffer_create(capacity);
    if (!ring)
        throw std::bad_alloc();
    // Touched now, so that the callback never meets a page fault.
    jack_ringbuffer_mlock(ring);
    return ring;
}

// A sysex piece shorter than this waits for the next cycle's empty buffer
// rather than filling the last few bytes of this one.
constexpr size_t kSmallestPiece = 64;

} // namespace

CJackMIDIReceiver::CJackMIDIReceiver(jack_port_t* port, size_t capacity, Listener listener)
    : port_(port), ring_(NewRing(capacity)), listener_(std::move(listener))
{
}

CJackMIDIReceiver::~CJackMIDIReceiver() { jack_ringbuffer_free(ring_); }

bool CJackMIDIReceiver::Process(jack_nframes_t frames)
{
    void* buffer = jack_port_get_buffer(port_, frames);
    const uint32_t count = jack_midi_get_event_count(buffer);
    for (uint32_t i = 0; i < count; ++i) {
        jack_midi_event_t event;
        if (jack_midi_event_get(&event, buffer, i) != 0 || event.size == 0)
            continue;
        if (dropping_ && (event.buffer[0] < 0x80 || event.buffer[0] == 0xF7))
            continue;
        if (jack_ringbuffer_write_space(ring_) < event.size) {
            dropping_ = true;
            continue;
        }
        dropping_ = false;
        jack_ringbuffer_write(ring_, reinterpret_cast<const char*>(event.buffer), event.size);
    }
    return count > 0;
}

void CJackMIDIReceiver::Deliver()
{
    jack_ringbuffer_data_t parts[2];
    jack_ringbuffer_get_read_vector(ring_, parts);
    for (const jack_ringbuffer_data_t& part : parts)
        if (part.len > 0)
            listener_(reinterpret_cast<const uint8_t*>(part.buf), part.len);
    jack_ringbuffer_read_advance(ring_, parts[0].len + parts[1].len);
}

CJackMIDISender::CJackMIDISender(jack_port_t* port, size_t capacity) : port_(port), ring_(NewRing(capacity)) {}

CJackMIDISender::~CJackMIDISender() { jack_ringbuffer_free(ring_); }

size_t CJackMIDISender::Queue(const uint8_t* data, size_t length)
{
    const size_t taken = jack_ringbuffer_write(ring_, reinterpret_cast<const char*>(data), length);
    queued_.fetch_add(taken, std::memory_order_release);
    return taken;
}

uint8_t CJackMIDISender::At(size_t index) const
{
    jack_ringbuffer_data_t parts[2];
    jack_ringbuffer_get_read_vector(ring_, parts);
    return static_cast<uint8_t>(index < parts[0].len ? parts[0].buf[index] : parts[1].buf[index - parts[0].len]);
}

void CJackMIDISender::Consume(size_t count)
{
    jack_ringbuffer_read_advance(ring_, count);
    consumed_ += count;
}

bool CJackMIDISender::WriteEvent(void* buffer, const uint8_t* data, size_t length)
{
    jack_midi_data_t* event = jack_midi_event_reserve(buffer, 0, length);
    if (!event)
        return false;
    std::copy(data, data + length, event);
    return true;
}

bool CJackMIDISender::WriteSysex(void* buffer, size_t available, size_t fullRoom)
{
    // The piece runs to the F7, or up to the next status byte: a real-time
    // byte interrupts the message, any other status ends it unfinished.
    jack_ringbuffer_data_t parts[2];
    jack_ringbuffer_get_read_vector(ring_, parts);
    const size_t first = inSysex_ ? 0 : 1;
    const size_t scanLimit = std::min(available, fullRoom);
    size_t length = first;
    bool ends = false;
    for (size_t i = first; i < scanLimit; ++i) {
        const uint8_t byte =
            static_cast<uint8_t>(i < parts[0].len ? parts[0].buf[i] : parts[1].buf[i - parts[0].len]);
        if (byte == 0xF7) {
            length = i + 1;
            ends = true;
            break;
        }
        if (byte >= 0x80) {
            length = i;
            ends = byte < 0xF8;
            break;
        }
        length = i + 1;
    }
    if (length == 0) { // a status right where the message was to go on
        inSysex_ = false;
        return true;
    }
    const size_t room = jack_midi_max_event_size(buffer);
    // A whole message that fits an empty buffer waits for one rather than
    // being cut.
    if (length > room && (room < kSmallestPiece || (!inSysex_ && ends && length <= fullRoom)))
        return false;
    const size_t piece = std::min(length, room);
    jack_midi_data_t* event = jack_midi_event_reserve(buffer, 0, piece);
    if (!event)
        return false;
    const size_t head = std::min(piece, parts[0].len);
    std::copy(parts[0].buf, parts[0].buf + head, event);
    std::copy(parts[1].buf, parts[1].buf + (piece - head), event + head);
    Consume(piece);
    inSysex_ = !(ends && piece == length);
    return true;
}

bool CJackMIDISender::TakeShortByte(void* buffer, uint8_t byte)
{
    // Room for the longest short message first, so that a byte once taken
    // can always leave.
    if (jack_midi_max_event_size(buffer) < 3)
        return false;
    if (byte >= 0x80) {
        Consume(1);
        if (byte == 0xF7) // an end without a start
            return true;
        runningStatus_ = byte < 0xF0 ? byte : 0;
        message_[0] = byte;
        have_ = 1;
        needed_ = CMIDIOutput::DataBytesAfter(byte);
    } else {
        Consume(1);
        if (have_ == 0) {
            if (runningStatus_ == 0) // data without a status to run on
                return true;
            // Each event carries its own status byte.
            message_[0] = runningStatus_;
            have_ = 1;
            needed_ = CMIDIOutput::DataBytesAfter(runningStatus_);
        }
        message_[have_++] = byte;
    }
    if (have_ == needed_ + 1) {
        WriteEvent(buffer, message_, static_cast<size_t>(have_));
        have_ = 0;
    }
    return true;
}

bool CJackMIDISender::Process(jack_nframes_t frames)
{
    void* buffer = jack_port_get_buffer(port_, frames);
    jack_midi_clear_buffer(buffer);
    const size_t fullRoom = jack_midi_max_event_size(buffer);
    const uint64_t before = consumed_;
    for (;;) {
        const size_t available = jack_ringbuffer_read_space(ring_);
        if (available == 0)
            break;
        const uint8_t byte = At(0);
        if (byte >= 0xF8) { // real-time: an event of its own, anywhere
            if (jack_midi_max_event_size(buffer) < 1)
                break;
            WriteEvent(buffer, &byte, 1);
            Consume(1);
            continue;
        }
        if (inSysex_ || byte == 0xF0) {
            have_ = 0; // a short message cut off by the sysex is dropped
            if (!WriteSysex(buffer, available, fullRoom))
                break;
            continue;
        }
        if (!TakeShortByte(buffer, byte))
            break;
    }
    if (consumed_ == before)
        return false;
    sent_.store(consumed_, std::memory_order_release);
    return true;
}

} // namespace quorvel
