#include "fileformats/QLXFile.h"

#include <algorithm>
#include <array>

#include "analysis/Tempo.h"
#include "fileformats/SampleData.h"
#include "fileformats/AIFFSoundChunks.h"
#include "fileformats/ByteOrder.h"
#include "fileformats/FileAlerts.h"
#include "fileformats/FileTypes.h"
#include "fileformats/IFFWriter.h"
#include "fileformats/OutputLimits.h"
#include "framework/SafeFileWriter.h"

namespace quorvel {

namespace {

constexpr int32_t kBlock = 512;
constexpr size_t kEntriesOffset = 1016;
constexpr size_t kEntryBytes = 12;

int32_t RoundUpToBlock(int32_t position) { return (position + kBlock - 1) / kBlock * kBlock; }

void WriteZeros(CIFFWriter& writer, int32_t bytes)
{
    static const std::array<uint8_t, kBlock> zeros{};
    while (bytes > 0) {
        const int32_t piece = std::min(bytes, kBlock);
        writer.Write(piece, zeros.data());
        bytes -= piece;
    }
}

uint32_t TickOf(int32_t start, int32_t loopStart, int32_t loopTicks, int32_t loopFrames)
{
    if (loopFrames <= 0)
        return 0;
    return static_cast<uint32_t>(static_cast<int64_t>(double(start - loopStart) * loopTicks / loopFrames));
}

} // namespace

std::vector<uint8_t> QlxSliceTable::Encode() const
{
    std::vector<uint8_t> bytes(kBytes, 0);
    const size_t count = std::min<size_t>(entries.size(), kMaxEntries);
    PutBE32(bytes.data(), kMagic);
    bytes[4] = 1; // version 1.0
    bytes[5] = 0;
    PutBE32(bytes.data() + 6, static_cast<uint32_t>(loopTicks));
    PutBE16(bytes.data() + 10, static_cast<uint16_t>(count));
    PutBE32(bytes.data() + 12, static_cast<uint32_t>(tempo));
    for (size_t i = 0; i < count; ++i) {
        uint8_t* entry = bytes.data() + kEntriesOffset + i * kEntryBytes;
        PutBE32(entry, entries[i].start);
        PutBE32(entry + 4, entries[i].length);
        PutBE32(entry + 8, entries[i].tick);
    }
    return bytes;
}

int32_t QlxTempo(const CExportJob& job)
{
    if (job.Tempo() != kMaxTempo)
        return job.Tempo();
    const int64_t exact = TempoFromLength(job.End() - job.Start(), job.Sound().SampleRate(), job.LoopTicks(),
                                          kTicksPerQuarter);
    return exact == kMaxTempo ? kMaxTempo : 0;
}

ExportOutcome WriteQLX(CMedia& media, CExportJob& job, CExportProgress& progress)
{
    return WriteQLX(media, job, progress, job.OutputCount());
}

ExportOutcome WriteQLX(CMedia& media, CExportJob& job, CExportProgress& progress, int count)
{
    if (count > QlxSliceTable::kMaxEntries || count > job.OutputCount())
        throw XQLXTooManySlices();
    const int32_t rate = job.Sound().SampleRate();
    job.SetOutputRate(rate);

    QlxSliceTable table;
    table.loopTicks = job.LoopTicks();
    table.tempo = QlxTempo(job);
    const int n = count;
    CheckOutputLengths(job, n);
    const int32_t loopFrames = job.End() - job.Start();

    CAIFFWriter writer(&media);
    writer.BeginGroup("FORM", "AIFF");
    writer.BeginChunk("SSND");
    const int32_t headerEnd = media.GetPosition() + 8;
    const int32_t dataStart = RoundUpToBlock(headerEnd);
    uint8_t header[8];
    PutBE32(header, static_cast<uint32_t>(dataStart - headerEnd));
    PutBE32(header + 4, kBlock);
    writer.Write(8, header);
    WriteZeros(writer, dataStart - headerEnd);

    uint32_t totalWords = 0;
    {
        CProgressScope scope(progress, "Slices left:");
        for (int i = 0; i < n; ++i) {
            progress.Show(n - i, i * 100 / n);
            if (progress.CancelPressed()) {
                progress.ShowCancelled("QLX-file Export cancelled!");
                writer.EndChunk();
                return ExportOutcome::Cancelled;
            }
            const int32_t here = media.GetPosition();
            const int32_t sliceStart = RoundUpToBlock(here);
            WriteZeros(writer, sliceStart - here);
            totalWords += static_cast<uint32_t>(sliceStart - here) / 2;

            const std::unique_ptr<WAVE_SAMPLE> slice = job.GetOutput(i);
            const auto frames = static_cast<uint32_t>(slice->Length());
            WriteValuesBigEndian(slice->Store(), 0, frames, media);
            totalWords += frames;

            const SliceOutputInfo info = job.GetOutputInfo(i);
            table.entries.push_back({static_cast<uint32_t>(sliceStart - dataStart) / 2, frames,
                                     TickOf(info.start, job.Start(), table.loopTicks, loopFrames)});
        }
        progress.Show(0, 100);
    }
    writer.EndChunk();

    std::vector<uint8_t> appl{'Q', 'L', 'X', ' '};
    const std::vector<uint8_t> encoded = table.Encode();
    appl.insert(appl.end(), encoded.begin(), encoded.end());
    writer.WriteChunk("APPL", appl.data(), static_cast<int32_t>(appl.size()));

    WriteMonoCommon(writer, totalWords, rate);
    WriteInstrument(writer, 60, 0);
    WriteLoopMarkers(writer, 0, 0);
    writer.EndGroup();
    return ExportOutcome::Completed;
}

ExportOutcome ExportQLXFile(CExportJob& job, const CFileSpec& file, CInstrumentExportQuestions& questions,
                            CExportProgress& progress)
{
    // The table has room for 1000 slices; a loop cut at every one of 1000
    // slices plus its lead-in has one more.
    const std::optional<int> count =
        LimitSlices(questions, job.OutputCount(), QlxSliceTable::kMaxEntries, kFileAlertTable, kQLXSliceLimitAlert);
    if (!count)
        return ExportOutcome::Cancelled;
    CFileSpec target = file;
    target.SetType(filetypes::kQLX.typeCode);
    target.SetCreator(CFileSpec::kOwnCreator);
    CSafeFileWriter writer(target);
    const ExportOutcome outcome = WriteQLX(writer.Media(), job, progress, *count);
    if (outcome == ExportOutcome::Completed)
        writer.Commit();
    return outcome;
}

} // namespace quorvel
