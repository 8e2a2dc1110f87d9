#include "devices/midi/ByteStreamMIDIInput.h"

#include <chrono>
#include <cstring>

#include "devices/midi/MIDIOutput.h"
#include "devices/midi/MIDIService.h"

namespace quorvel {

namespace {

uint64_t SteadyMilliseconds()
{
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now().time_since_epoch())
                                     .count());
}

} // namespace

CByteStreamMIDIInput::CByteStreamMIDIInput(const CRegisteredMIDIInput& port, CMIDIInputParser& parser)
    : CMIDIInput(port, parser)
{
}

void CByteStreamMIDIInput::StartDelivery()
{
    started_.store(true, std::memory_order_release);
}

void CByteStreamMIDIInput::StopDelivery() { started_.store(false, std::memory_order_release); }

// Records carry the steady clock in milliseconds, as the driver stamps them.
uint32_t CByteStreamMIDIInput::Now() const { return static_cast<uint32_t>(SteadyMilliseconds()); }

void CByteStreamMIDIInput::EmitShort(uint8_t status, uint8_t data1, uint8_t data2)
{
    const SShortMessage record{Now(), status, data1, data2};
    CMIDIInputParser& parser = Parser();
    if (parser.WantsShortNow())
        parser.OnShortMessageNow(this, record);
    if (parser.WantsShortLater())
        shortQueue_.Push(record);
}

void CByteStreamMIDIInput::FlushLong()
{
    if (pendingLength_ == 0)
        return;
    const uint32_t time = Now();
    CMIDIInputParser& parser = Parser();
    if (parser.WantsLongNow())
        parser.OnLongDataNow(this, time, pending_, pendingLength_);
    if (parser.WantsLongLater()) {
        const uint32_t write = blockWrite_.load(std::memory_order_relaxed);
        if (write - blockRead_.load(std::memory_order_acquire) < kBlockCount) {
            LongBlock& block = blocks_[write % kBlockCount];
            block.time = time;
            block.length = pendingLength_;
            std::memcpy(block.data, pending_, static_cast<size_t>(pendingLength_));
            blockWrite_.store(write + 1, std::memory_order_release);
        }
    }
    pendingLength_ = 0;
}

void CByteStreamMIDIInput::DeliverBytes(const uint8_t* data, size_t length)
{
    if (!started_.load(std::memory_order_acquire))
        return;
    for (size_t i = 0; i < length; ++i) {
        const uint8_t byte = data[i];
        if (byte >= 0xF8) { // real-time: stands alone and leaves the state be
            EmitShort(byte, 0, 0);
            continue;
        }
        if (inSysex_) {
            if (byte < 0x80 || byte == 0xF7) {
                pending_[pendingLength_++] = byte;
                if (byte == 0xF7)
                    inSysex_ = false;
                if (byte == 0xF7 || pendingLength_ == kBlockSize)
                    FlushLong();
                continue;
            }
            // Any other status cuts the message off; the parser sees it unfinished.
            inSysex_ = false;
            FlushLong();
        }
        if (byte == 0xF0) {
            inSysex_ = true;
            status_ = 0;
            pending_[pendingLength_++] = byte;
            continue;
        }
        if (byte >= 0x80) {
            if (byte == 0xF7) // an end without a start
                continue;
            status_ = byte;
            needed_ = CMIDIOutput::DataBytesAfter(byte);
            have_ = 0;
            if (needed_ == 0) {
                EmitShort(byte, 0, 0);
                status_ = 0;
            }
            continue;
        }
        if (status_ == 0) // data without a status to run on
            continue;
        data_[have_++] = byte;
        if (have_ == needed_) {
            EmitShort(status_, data_[0], needed_ > 1 ? data_[1] : 0);
            have_ = 0;
            if (status_ >= 0xF0) // system common messages do not run
                status_ = 0;
        }
    }
    FlushLong();
    SignalMIDIActivity();
}

void CByteStreamMIDIInput::Poll()
{
    CMIDIInputParser& parser = Parser();
    SShortMessage record;
    while (shortQueue_.Pop(record))
        if (parser.WantsShortLater())
            parser.OnShortMessage(this, record);
    for (uint32_t read = blockRead_.load(std::memory_order_relaxed);
         read != blockWrite_.load(std::memory_order_acquire); ++read) {
        const LongBlock& block = blocks_[read % kBlockCount];
        parser.OnLongData(this, block.time, block.data, block.length);
        blockRead_.store(read + 1, std::memory_order_release);
    }
}

} // namespace quorvel
