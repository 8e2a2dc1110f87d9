#pragma once
// Standard MIDI File writer: "MThd" and "MTrk" chunks through the chunk
// writer's big-endian headers, and timed channel and meta events inside a
// track. Times are absolute ticks; the writer turns them into deltas.
#include <cstdint>
#include <vector>

#include "fileformats/IFFWriter.h"

namespace quorvel {

class CMIDIFileWriter : public CIFFWriter {
public:
    // The largest value a variable-length quantity of four bytes can hold.
    static constexpr uint32_t kMaxQuantity = 0x0FFFFFFF;

    // With runningStatus set, a channel event whose status equals the
    // previous one is written without it.
    CMIDIFileWriter(CMedia* media, bool runningStatus) : CIFFWriter(media), runningStatus_(runningStatus) {}

    // The division word for SMPTE timing: minus the frames per second in the
    // high byte, ticks per frame in the low one.
    static uint16_t SmpteDivision(uint8_t framesPerSecond, uint8_t ticksPerFrame);

    void WriteHeader(uint16_t format, uint16_t trackCount, uint16_t division);

    void BeginTrack();
    // Program change and channel pressure carry one data byte; `data2` is
    // then ignored.
    void ChannelEvent(uint32_t time, uint8_t status, uint8_t data1, uint8_t data2);
    void MetaEvent(uint32_t time, uint8_t type, const uint8_t* data, uint32_t length);
    // The event holds 24 bits: slower tempos are held at the slowest it can
    // carry rather than wrapped into a fast one.
    void Tempo(uint32_t time, int64_t microsecondsPerQuarter);
    void TimeSignature(uint32_t time, uint8_t numerator, uint16_t denominator);
    void EndOfTrack(uint32_t time);
    // Writes the end-of-track event if it is missing, then ends the chunk.
    void EndTrack();

    // 7 bits a byte, most significant group first, bit 7 set on all but the
    // last byte. XBase for values beyond four bytes.
    static std::vector<uint8_t> EncodeQuantity(uint32_t value);
    // The number of times the denominator halves while above 1; 255 for 0.
    static uint8_t DenominatorPower(uint16_t denominator);

private:
    void WriteDelta(uint32_t time);

    bool runningStatus_;
    uint32_t lastTime_ = 0;
    uint8_t lastStatus_ = 0;
    bool endOfTrackWritten_ = false;
};

// True for statuses whose events carry a single data byte.
inline bool HasOneDataByte(uint8_t status)
{
    const uint8_t kind = status & 0xF0;
    return kind == 0xC0 || kind == 0xD0;
}

} // namespace quorvel
