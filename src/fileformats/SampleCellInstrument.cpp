#include "fileformats/SampleCellInstrument.h"

#include <algorithm>
#include <cstdlib>

#include "fileformats/ByteRecord.h"
#include "fileformats/IFFWriter.h"

namespace quorvel {

namespace {

constexpr uint32_t kSampleRecordSize = 64;
constexpr size_t kSampleNameField = 36;
constexpr uint16_t kInTune = 63;

void Put(RIFF_WRITER& writer, FourCC id, const CByteRecord& record)
{
    writer.WriteChunk(id, record.Bytes().data(), record.Size());
}

std::string WithoutExtension(const std::string& name) { return name.substr(0, name.rfind('.')); }

CByteRecord FilePaths(const std::vector<SampleCellSlice>& slices)
{
    CByteRecord r;
    r.U32(static_cast<uint32_t>(slices.size()));
    for (const SampleCellSlice& slice : slices) {
        // The name and its zero, made even.
        const uint32_t length = (static_cast<uint32_t>(slice.fileName.size()) + 2) & ~1u;
        r.U32(length).Text(slice.fileName).Zeros(length - slice.fileName.size());
    }
    return r;
}

CByteRecord Samples(const SampleCellInstrument& instrument)
{
    uint32_t totalBytes = 0;
    for (const SampleCellSlice& slice : instrument.slices)
        totalBytes += static_cast<uint32_t>(slice.frames) * 2;
    CByteRecord r;
    r.U32(static_cast<uint32_t>(instrument.slices.size())).U32(kSampleRecordSize).U32(totalBytes);
    for (size_t i = 0; i < instrument.slices.size(); ++i) {
        const SampleCellSlice& slice = instrument.slices[i];
        const std::string name = WithoutExtension(slice.fileName).substr(0, kSampleNameField - 1);
        r.U32(static_cast<uint32_t>(i)).U32(0).U16(1).U32(0).U32(static_cast<uint32_t>(slice.frames) * 2);
        r.U8(static_cast<uint8_t>(name.size())).Text(name).Zeros(kSampleNameField - 1 - name.size());
        r.U16(instrument.tuning.fineTune).U16(0).U16(63).U16(0).U16(63);
    }
    return r;
}

CByteRecord KeyMap(const SampleCellInstrument& instrument)
{
    const auto zones = static_cast<uint16_t>(std::min<size_t>(instrument.slices.size(), SampleCellInstrument::kMaxSlices));
    CByteRecord r;
    r.U16(zones).U16(6).U16(14);
    for (uint16_t i = 0; i < zones; ++i) {
        // The last zone reaches to the top of the keyboard.
        const uint16_t highKey = i + 1 == zones ? 127 : SampleCellInstrument::kFirstKey + i;
        r.U16(highKey).U16(instrument.parameters.templateKey).U16(1);
        r.U32(i).U32(0xFFFFFFFF).U16(0).U16(99).U16(0).U16(0).U16(instrument.tuning.rootKey);
    }
    return r;
}

} // namespace

SampleCellTuning SampleCellTuningFor(bool pitchMode, int cents)
{
    SampleCellTuning tuning;
    if (!pitchMode)
        return tuning;
    // Nearest semitone, halves away from zero; the rest, -50 .. 50 cents,
    // goes to the fine tune so that both together give the whole shift.
    const int semitones = (std::abs(cents) + 50) / 100 * (cents < 0 ? -1 : 1);
    const int rest = cents - semitones * 100;
    const int rootKey = 60 - semitones;
    if (rootKey < 0 || rootKey > 127) {
        tuning.rootKey = static_cast<uint8_t>(std::clamp(rootKey, 0, 127));
        return tuning;
    }
    tuning.rootKey = static_cast<uint8_t>(rootKey);
    tuning.fineTune = static_cast<uint16_t>((rest * 63 + 25) / 50 + kInTune);
    return tuning;
}

void WriteSampleCellInstrument(CMedia& media, const SampleCellInstrument& instrument)
{
    if (instrument.slices.empty() || instrument.slices.size() > size_t(SampleCellInstrument::kMaxSlices))
        throw XBase();
    RIFF_WRITER writer(&media);
    writer.BeginGroup("RIFF", "SCin");
    Put(writer, "FVER", CByteRecord().Text("Monk"));
    Put(writer, "ANNO", CByteRecord().U8(0)); // an empty length-prefixed annotation
    Put(writer, "FPTH", FilePaths(instrument.slices));
    Put(writer, "KeyS", Samples(instrument));
    Put(writer, "KeyP", KeyMap(instrument));
    for (const SampleCellBlock& block : instrument.parameters.blocks)
        writer.WriteChunk(block.id, block.bytes.data(), static_cast<int32_t>(block.bytes.size()));
    writer.EndGroup();
}

} // namespace quorvel
