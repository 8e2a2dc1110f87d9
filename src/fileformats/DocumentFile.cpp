#include "fileformats/DocumentFile.h"

#include <cstring>
#include <vector>

#include "fileformats/SampleData.h"
#include "fileformats/AIFFSoundChunks.h"
#include "fileformats/FileTypes.h"
#include "fileformats/FormatExceptions.h"
#include "fileformats/IFFReader.h"
#include "fileformats/IFFWriter.h"
#include "framework/SafeFileWriter.h"

namespace quorvel {

namespace {

StoredDocumentSettings SettingsOf(const CSoundDocument& document)
{
    StoredDocumentSettings s;
    s.numerator = document.Numerator();
    s.denominator = document.Denominator();
    s.bars = document.Bars();
    s.beats = document.Beats();
    s.newTempo = document.NewTempo();
    s.transmitNormalized = document.TransmitNormalized();
    s.separateSamples = document.SeparateSamples();
    s.silenceSelected = document.SilenceSelected();
    s.pitchMode = document.PitchMode();
    s.stretchIndex = document.StretchIndex();
    s.sensitivity = document.Sensitivity();
    return s;
}

DocumentAppChunk ChunkOf(const CSoundDocument& document)
{
    DocumentAppChunk chunk;
    chunk.settings = SettingsOf(document);
    const CSliceList& slices = document.Slices();
    chunk.slices.reserve(static_cast<size_t>(slices.Count()));
    for (int i = 0; i < slices.Count(); ++i) {
        const CSlice& slice = slices.At(i);
        chunk.slices.push_back({static_cast<int32_t>(slice.state), slice.selected, slice.position, slice.strength});
    }
    return chunk;
}

void WriteSoundData(CAIFFWriter& writer, WAVE_SAMPLE& sound)
{
    writer.BeginChunk("SSND");
    const uint8_t offsetAndBlockSize[8] = {};
    writer.Write(8, offsetAndBlockSize);
    WriteValuesBigEndian(sound.Store(), 0, static_cast<uint32_t>(sound.Length()), writer.Media());
    writer.EndChunk();
}

} // namespace

void WriteDocument(CMedia& media, CSoundDocument& document)
{
    WAVE_SAMPLE& sound = *document.Sound();
    CAIFFWriter writer(&media);
    writer.BeginGroup("FORM", "AIFF");
    WriteMonoCommon(writer, static_cast<uint32_t>(sound.Length()), sound.SampleRate());
    WriteSoundData(writer, sound);
    // Key data the sound brought from its file is kept; otherwise middle C.
    const bool keyed = sound.HasInstrumentData();
    WriteInstrument(writer, keyed ? sound.RootKey() : 60, keyed ? sound.FineTune() : 0);
    WriteLoopMarkers(writer, sound.LoopStart(), sound.LoopEnd());
    const auto chunk = EncodeDocumentAppChunk(ChunkOf(document));
    writer.WriteChunk("APPL", chunk.data(), static_cast<int32_t>(chunk.size()));
    writer.EndGroup();
}

void SaveDocument(CSoundDocument& document, const CFileSpec& file)
{
    CFileSpec target = file;
    target.SetType(filetypes::kDocument.typeCode);
    target.SetCreator(CFileSpec::kOwnCreator);
    SafeWrite(target, [&document](CMedia& media) { WriteDocument(media, document); });
    document.MarkSaved(target.FullPath());
}

DocumentAppChunk ReadDocumentChunk(CMedia& media, int32_t soundLength)
{
    CAIFFReader reader(media);
    return ReadDocumentChunk(reader, soundLength);
}

DocumentAppChunk ReadDocumentChunk(CIFFReader& reader, int32_t soundLength)
{
    CMedia& media = reader.Media();
    uint32_t size = 0;
    if (!reader.FindChunk("APPL", size))
        throw XBadFormat();
    std::vector<uint8_t> payload(std::min<uint32_t>(size, DocumentAppChunk::kPayloadBytes));
    media.Read(static_cast<int32_t>(payload.size()), payload.data());
    return DecodeDocumentAppChunk(payload.data(), static_cast<int32_t>(payload.size()), soundLength);
}

OpenedDocument OpenSoundOrDocument(const CFileSpec& file, ChannelMode mode, const DefaultDocumentOptions& defaults,
                                   bool barsToOne)
{
    const SoundFileKind kind = SoundFileKindOf(file.Name());
    const std::unique_ptr<CMedia> media = file.OpenForReading();
    const std::unique_ptr<CIFFReader> reader = ChunkReaderFor(*media, kind);
    std::unique_ptr<WAVE_SAMPLE> sound = LoadSound(*reader, kind, file.Name(), mode);

    OpenedDocument opened;
    if (FileTypeMatches(filetypes::kDocument, file.Name())) {
        try {
            const DocumentAppChunk chunk = ReadDocumentChunk(*reader, sound->Length());
            opened.document = std::make_unique<CSoundDocument>(std::move(sound), chunk.settings, chunk.slices);
            opened.document->SetSourceFile(file.FullPath());
            opened.document->SetDocumentFile(file.FullPath());
            return opened;
        } catch (const XUnsupportedFormat&) {
            opened.alert = 28;
        } catch (const XBadFormat&) {
            opened.alert = 27;
        } catch (const XRead&) {
            opened.alert = 27; // a record cut short by the end of the file
        }
    }
    opened.document = std::make_unique<CSoundDocument>(std::move(sound), defaults, barsToOne);
    opened.document->SetSourceFile(file.FullPath());
    return opened;
}

} // namespace quorvel
