#include "fileformats/GrooveMIDIFile.h"

#include <cmath>
#include <cstdint>

#include "analysis/Tempo.h"
#include "framework/GrowingMemoryMedia.h"
#include "fileformats/FileTypes.h"
#include "fileformats/MIDIFileWriter.h"
#include "framework/SafeFileWriter.h"

namespace quorvel {

namespace {

constexpr uint8_t kNoteOn = 0x90; // channel 1
constexpr uint8_t kFullVelocity = 127;

// trunc(offset x loopTicks / loopFrames), in floating point like the tempo.
uint32_t TickOf(int32_t frame, const GrooveLoop& loop, double loopTicks)
{
    const double frames = double(loop.loopEnd) - double(loop.loopStart);
    if (frames <= 0.0)
        return 0;
    const double ticks = std::trunc((double(frame) - double(loop.loopStart)) * loopTicks / frames);
    if (ticks < 0.0 || ticks > double(UINT32_MAX))
        throw XBase();
    return static_cast<uint32_t>(ticks);
}

} // namespace

std::vector<uint8_t> BuildGrooveMIDI(const GrooveLoop& loop, const std::vector<GrooveSpan>& spans, int firstNote,
                                     uint16_t division)
{
    if (firstNote < 0 || int64_t(spans.size()) > GrooveNoteLimit(firstNote))
        throw XBase();

    // Sized by what is written: a fixed block would hold fewer notes than the
    // exports that embed the groove ask for.
    CGrowingMemoryMedia media;
    CMIDIFileWriter writer(&media, false);
    writer.WriteHeader(1, 2, division);

    writer.BeginTrack();
    writer.TimeSignature(0, static_cast<uint8_t>(loop.numerator), static_cast<uint16_t>(loop.denominator));
    writer.Tempo(0, MicrosecondsPerQuarter(loop.tempo));
    writer.EndTrack();

    const double loopTicks = std::trunc(double(loop.ticks) * double(division) / 960.0);
    writer.BeginTrack();
    for (size_t i = 0; i < spans.size(); ++i) {
        const auto note = static_cast<uint8_t>(firstNote + int(i));
        writer.ChannelEvent(TickOf(spans[i].start, loop, loopTicks), kNoteOn, note, kFullVelocity);
        writer.ChannelEvent(TickOf(spans[i].end, loop, loopTicks), kNoteOn, note, 0);
    }
    writer.EndTrack();
    return media.Bytes();
}

void WriteGrooveMIDIFile(const CFileSpec& file, const GrooveLoop& loop, const std::vector<GrooveSpan>& spans,
                         int firstNote)
{
    const std::vector<uint8_t> bytes = BuildGrooveMIDI(loop, spans, firstNote);
    CFileSpec target = file;
    target.SetType(filetypes::kMIDI.typeCode);
    SafeWrite(target, [&bytes](CMedia& media) { media.Write(static_cast<int32_t>(bytes.size()), bytes.data()); });
}

} // namespace quorvel
