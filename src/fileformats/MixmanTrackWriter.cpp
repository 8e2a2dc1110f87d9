#include "fileformats/MixmanTrackWriter.h"

#include "fileformats/ByteOrder.h"
#include "fileformats/ByteRecord.h"
#include "fileformats/SampleData.h"

namespace quorvel {

namespace {

constexpr size_t kMaxName = 255;
constexpr int32_t kTicksPerBeat = 480;
constexpr uint32_t kTotalPerSlice = 8192;
constexpr uint32_t kSliceSizeOffset = 1644;
constexpr size_t kTrailingZeros = 1344;

// Strings are stored with a one-byte length.
void ShortText(CByteRecord& r, const std::string& text)
{
    const std::string kept = text.substr(0, std::min(text.size(), kMaxName));
    r.U8(static_cast<uint8_t>(kept.size())).Text(kept);
}

CByteRecord FileHeader(const MixmanTrack& track)
{
    CByteRecord r;
    r.U16(8).U32(0).U16(0).Double(track.tempo);
    r.U16(16).U16(static_cast<uint16_t>(MixmanTrack::kSampleRate)).U8(100).U8(63);
    r.U16(track.secondText.empty() ? 0 : 1).U16(0).U16(50);
    r.U32(0).U32(1).U32(0).U32(0).U32(0);
    for (int i = 0; i < 4; ++i)
        r.Double(0.0);
    return r;
}

CByteRecord Template(const MixmanTrack& track)
{
    CByteRecord r;
    r.Raw({0x00, 0x04, 0x00, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
           0xE0, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x01, 0x01});

    const auto grooveLength = static_cast<uint32_t>(track.groove.size());
    r.Raw({0x00, 0x04, 0x00, 0x04, 0x00, 0x00}).U32(grooveLength + 4).Raw({0x00, 0x00, 0x01, 0x00, 0xE0, 0x01});
    r.BE32(grooveLength).Raw(track.groove);

    r.Raw({0x00, 0x01}).U32(static_cast<uint32_t>(track.loopBeats * kTicksPerBeat)).Raw({0x01, 0x00, 0x00, 0x01, 0x01});

    ShortText(r, track.name);
    r.U16(0).U16(1).U16(0).U16(0).U16(0);
    r.Zeros(4 * 4 + 16 * 2);

    for (int i = 0; i < 253; ++i)
        r.Double(1.0);
    for (int i = 0; i < 3; ++i)
        r.Double(0.0);
    r.Zeros(24 * 2).U16(2);

    r.U8(static_cast<uint8_t>(track.sliceCount)).Raw({0x00, 0xFF, 0xFF, 0x09, 0x00, 0x07, 0x00}).Text("CSample");
    return r;
}

CByteRecord SliceHead(int index, uint32_t s)
{
    const auto i = static_cast<uint8_t>(index);
    const auto rate = static_cast<uint32_t>(MixmanTrack::kSampleRate);
    CByteRecord r;
    r.U32(s + kSliceSizeOffset).U32(rate).Raw({0xFF, 0xFF, 0x3F, 0x00, 0x00, 0x3F, 0x63}).U8(i).U8(i);
    r.Raw({0x63, 0x63, 0x00, 0x00, 0x00, 0x00, 0x00, 0x3C, 0x00, 0x00, 0x0A, 0x00, 0x00});
    for (int text = 0; text < 2; ++text)
        r.Text("TFW").Zeros(77);

    // Block 5: 256 bytes, zero but for the sizes and rates.
    r.Zeros(16).U32(s).Zeros(28).Raw({0xFF, 0x7F, 0xFF, 0x7F}).Zeros(4).U32(rate).U32(16).U32(1).Zeros(4);
    r.Raw({0xFF, 0x7F, 0xFF, 0x7F}).Zeros(256 - 76);

    r.Text("RIFF").U32(s + 36).Text("WAVE").Text("fmt ").U32(16).U16(1).U16(1).U32(rate).U32(2 * rate);
    r.U16(2).U16(16).Text("data").U32(s);
    return r;
}

} // namespace

CMixmanTrackWriter::CMixmanTrackWriter(CMedia& media, const MixmanTrack& track)
    : media_(media), secondText_(track.secondText), sliceCount_(track.sliceCount)
{
    if (track.sliceCount < 1 || track.sliceCount > MixmanTrack::kMaxSlices || track.loopBeats < 0)
        throw XBase();
    FileHeader(track).WriteTo(media_);
    Template(track).WriteTo(media_);
}

void CMixmanTrackWriter::WriteSlice(WAVE_SAMPLE& audio)
{
    if (written_ >= sliceCount_)
        throw XBase();
    if (written_ > 0)
        CByteRecord().Raw({0x01, 0x80}).WriteTo(media_);
    const auto s = static_cast<uint32_t>(audio.Length()) * 2;
    SliceHead(written_, s).WriteTo(media_);
    WriteValuesLittleEndian(audio.Store(), 0, static_cast<uint32_t>(audio.Length()), media_);
    WriteSilence(kTrailingZeros / 2, media_);
    total_ += s + kTotalPerSlice;
    ++written_;
}

void CMixmanTrackWriter::Finish()
{
    if (written_ != sliceCount_)
        throw XBase();
    CByteRecord end;
    ShortText(end, secondText_);
    end.WriteTo(media_);
    uint8_t total[4];
    PutLE32(total, total_);
    media_.SetPosition(2);
    media_.Write(4, total);
}

} // namespace quorvel
