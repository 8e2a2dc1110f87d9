#include "fileformats/MIDIFileWriter.h"

#include <algorithm>

namespace quorvel {

namespace {
constexpr uint8_t kMetaStatus = 0xFF;
constexpr uint8_t kMetaEndOfTrack = 0x2F;
constexpr uint8_t kMetaTempo = 0x51;
constexpr uint8_t kMetaTimeSignature = 0x58;
constexpr int64_t kMaxTempoValue = 0xFFFFFF;
} // namespace

uint16_t CMIDIFileWriter::SmpteDivision(uint8_t framesPerSecond, uint8_t ticksPerFrame)
{
    const auto negated = static_cast<uint8_t>(-static_cast<int>(framesPerSecond));
    return static_cast<uint16_t>((negated << 8) | ticksPerFrame);
}

std::vector<uint8_t> CMIDIFileWriter::EncodeQuantity(uint32_t value)
{
    if (value > kMaxQuantity)
        throw XBase();
    std::vector<uint8_t> bytes{static_cast<uint8_t>(value & 0x7F)};
    for (value >>= 7; value != 0; value >>= 7)
        bytes.push_back(static_cast<uint8_t>(0x80 | (value & 0x7F)));
    std::reverse(bytes.begin(), bytes.end());
    return bytes;
}

uint8_t CMIDIFileWriter::DenominatorPower(uint16_t denominator)
{
    if (denominator == 0)
        return 255;
    uint8_t power = 0;
    for (; denominator > 1; denominator >>= 1)
        ++power;
    return power;
}

void CMIDIFileWriter::WriteHeader(uint16_t format, uint16_t trackCount, uint16_t division)
{
    uint8_t header[6];
    PutBE16(header, format);
    PutBE16(header + 2, trackCount);
    PutBE16(header + 4, division);
    WriteChunk("MThd", header, sizeof header);
}

void CMIDIFileWriter::BeginTrack()
{
    BeginChunk("MTrk");
    lastTime_ = 0;
    lastStatus_ = 0;
    endOfTrackWritten_ = false;
}

// Events must come in time order: a negative delta cannot be stored.
void CMIDIFileWriter::WriteDelta(uint32_t time)
{
    if (time < lastTime_)
        throw XBase();
    const std::vector<uint8_t> delta = EncodeQuantity(time - lastTime_);
    Write(static_cast<int32_t>(delta.size()), delta.data());
    lastTime_ = time;
}

void CMIDIFileWriter::ChannelEvent(uint32_t time, uint8_t status, uint8_t data1, uint8_t data2)
{
    WriteDelta(time);
    uint8_t bytes[3];
    int32_t count = 0;
    if (!runningStatus_ || status != lastStatus_)
        bytes[count++] = status;
    bytes[count++] = data1;
    if (!HasOneDataByte(status))
        bytes[count++] = data2;
    Write(count, bytes);
    lastStatus_ = status;
}

void CMIDIFileWriter::MetaEvent(uint32_t time, uint8_t type, const uint8_t* data, uint32_t length)
{
    WriteDelta(time);
    const uint8_t head[2] = {kMetaStatus, type};
    Write(2, head);
    const std::vector<uint8_t> size = EncodeQuantity(length);
    Write(static_cast<int32_t>(size.size()), size.data());
    if (length > 0)
        Write(static_cast<int32_t>(length), data);
    // A meta event interrupts running status.
    lastStatus_ = 0;
}

void CMIDIFileWriter::Tempo(uint32_t time, int64_t microsecondsPerQuarter)
{
    const auto value = static_cast<uint32_t>(std::clamp<int64_t>(microsecondsPerQuarter, 0, kMaxTempoValue));
    const uint8_t data[3] = {uint8_t(value >> 16), uint8_t(value >> 8), uint8_t(value)};
    MetaEvent(time, kMetaTempo, data, sizeof data);
}

void CMIDIFileWriter::TimeSignature(uint32_t time, uint8_t numerator, uint16_t denominator)
{
    const uint8_t data[4] = {numerator, DenominatorPower(denominator), 24, 8};
    MetaEvent(time, kMetaTimeSignature, data, sizeof data);
}

void CMIDIFileWriter::EndOfTrack(uint32_t time)
{
    MetaEvent(time, kMetaEndOfTrack, nullptr, 0);
    endOfTrackWritten_ = true;
}

void CMIDIFileWriter::EndTrack()
{
    if (!endOfTrackWritten_)
        EndOfTrack(lastTime_);
    EndChunk();
}

} // namespace quorvel
