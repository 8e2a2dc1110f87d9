#include "fileformats/MixmanGroove.h"

#include "fileformats/ByteOrder.h"
#include "fileformats/MIDIFileWriter.h"

namespace quorvel {

namespace {

constexpr uint8_t kNoteOff = 0x80;
constexpr uint8_t kNoteOn = 0x90;
constexpr uint8_t kReleaseVelocity = 100;
constexpr uint8_t kMeta = 0xFF;
constexpr uint8_t kEndOfTrack = 0x2F;

// Reads a MIDI byte stream, failing instead of running past its end.
class Cursor {
public:
    Cursor(const std::vector<uint8_t>& bytes, size_t from, size_t to) : bytes_(bytes), at_(from), end_(to) {}
    bool AtEnd() const { return at_ >= end_; }
    uint8_t Byte()
    {
        if (at_ >= end_)
            throw XMixmanGroove();
        return bytes_[at_++];
    }
    uint32_t Quantity()
    {
        uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            const uint8_t b = Byte();
            value = (value << 7) | (b & 0x7F);
            if (!(b & 0x80))
                return value;
        }
        throw XMixmanGroove();
    }

private:
    const std::vector<uint8_t>& bytes_;
    size_t at_;
    size_t end_;
};

// Payload bounds of the chunk at `at`; `at` moves past it.
void NextChunk(const std::vector<uint8_t>& file, size_t& at, size_t& payload, size_t& end)
{
    if (at + 8 > file.size())
        throw XMixmanGroove();
    payload = at + 8;
    end = payload + GetBE32(file.data() + at + 4);
    if (end > file.size())
        throw XMixmanGroove();
    at = end;
}

} // namespace

std::vector<uint8_t> ConvertMixmanGroove(const std::vector<uint8_t>& midiFile)
{
    size_t at = 0;
    size_t payload = 0;
    size_t end = 0;
    for (int chunk = 0; chunk < 3; ++chunk) // header, tempo track, note track
        NextChunk(midiFile, at, payload, end);

    std::vector<uint8_t> out;
    Cursor in(midiFile, payload, end);
    uint32_t time = 0;
    while (!in.AtEnd()) {
        const uint32_t delta = in.Quantity();
        if (delta > CMIDIFileWriter::kMaxQuantity - time)
            throw XMixmanGroove();
        time += delta;
        uint8_t status = in.Byte();
        if (status == kMeta && in.Byte() == kEndOfTrack)
            break;
        if (status < 0x80 || status > 0xEF)
            throw XMixmanGroove();
        uint8_t data1 = in.Byte();
        uint8_t data2 = HasOneDataByte(status) ? 0 : in.Byte();
        if ((status & 0xF0) == kNoteOn && data2 == 0) {
            status = static_cast<uint8_t>(kNoteOff | (status & 0x0F));
            data2 = kReleaseVelocity;
        }
        const std::vector<uint8_t> stamp = CMIDIFileWriter::EncodeQuantity(time);
        out.insert(out.end(), stamp.begin(), stamp.end());
        out.push_back(status);
        out.push_back(data1);
        if (!HasOneDataByte(status))
            out.push_back(data2);
    }
    return out;
}

} // namespace quorvel
