#include "fileformats/PreferencesFile.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>

#include "framework/CommandLine.h"
#include "framework/SafeFileWriter.h"
#include "samplers/SamplerModels.h"

namespace quorvel {

namespace {

constexpr FourCC kPrefGroup = "PREF";
constexpr FourCC kSamplerGroup = "ISRG";
constexpr FourCC kSound = "PSNP";
constexpr FourCC kApplication = "PARP";
constexpr FourCC kDocumentDefaults = "PDDP";
constexpr FourCC kRecentDocuments = "PRDP";
constexpr FourCC kCustomColors = "PCOL";
constexpr FourCC kSampler = "SPLR";

// The largest chunk any settings object accepts, with room for a long list
// of recent documents; anything larger is damage, not data.
constexpr uint32_t kMaxChunk = 1 << 20;

std::vector<uint8_t> ReadPayload(CIFFReader2& reader, const IFFChunkInfo& chunk)
{
    if (chunk.size > kMaxChunk)
        throw XInvalidPreferencesChunk();
    std::vector<uint8_t> payload(chunk.size);
    reader.ReadChunkData(chunk, payload.data(), chunk.size);
    return payload;
}

// Decodes one sampler record; an empty entry for one the object refuses.
std::optional<CPersistentInstalledSampler> DecodeSampler(const std::vector<uint8_t>& payload)
{
    CPersistentInstalledSampler sampler;
    try {
        if (payload.empty())
            throw XInvalidPreferencesChunk();
        sampler.Read(payload.data(), static_cast<uint32_t>(payload.size()));
    } catch (const XInvalidPreferencesChunk&) {
        return std::nullopt;
    }
    return sampler;
}

// Runs one chunk's step; a damaged or missing chunk keeps the object's
// defaults and is reported once at the end.
template <class Step>
void Guarded(SPreferencesReadReport& report, Step step)
{
    try {
        step();
    } catch (const XPreferences&) {
        report.chunkFailed = true;
    }
}

} // namespace

CPreferencesReader::CPreferencesReader(CMedia& media) : CIFFReader2(media, ByteOrder::Big)
{
    if (!ValidateFile(media, ByteOrder::Big))
        throw XInvalidPreferencesFile();
    IFFChunkInfo group;
    if (!FindGroup(kPrefGroup, group))
        throw XInvalidPreferencesFile();
    preferences_ = OpenOnChunk(group);
}

bool CPreferencesReader::HasChunk(FourCC id)
{
    IFFChunkInfo chunk;
    return preferences_->FindChunk(id, chunk);
}

void CPreferencesReader::ReadChunk(FourCC id, CABCDataFormat& object)
{
    IFFChunkInfo chunk;
    if (!preferences_->FindChunk(id, chunk))
        throw XPreferencesChunkNotFound();
    const std::vector<uint8_t> payload = ReadPayload(*preferences_, chunk);
    if (payload.empty())
        throw XInvalidPreferencesChunk();
    object.Read(payload.data(), static_cast<uint32_t>(payload.size()));
}

bool CPreferencesReader::HasSamplerGroup()
{
    IFFChunkInfo group;
    return preferences_->FindGroup(kSamplerGroup, group);
}

std::vector<std::optional<CPersistentInstalledSampler>> CPreferencesReader::ReadSamplers()
{
    IFFChunkInfo group;
    if (!preferences_->FindGroup(kSamplerGroup, group))
        throw XPreferencesChunkNotFound();
    const std::unique_ptr<CIFFReader2> samplers = preferences_->OpenOnChunk(group);
    IFFChunkInfo chunk;
    if (!samplers->FirstChunk(chunk))
        throw XInvalidPreferencesChunk();
    std::vector<std::optional<CPersistentInstalledSampler>> read;
    do {
        if (chunk.kind != IFFChunkInfo::kChunk || chunk.Name() != kSampler)
            continue;
        read.push_back(DecodeSampler(ReadPayload(*samplers, chunk)));
        if (!read.back())
            throw XInvalidPreferencesChunk();
    } while (samplers->NextChunk(IFFChunkInfo(chunk), chunk));
    return read;
}

CPreferencesWriter::CPreferencesWriter(CMedia& media) : CIFFWriter2(media, ByteOrder::Big)
{
    group_ = BeginCat(kPrefGroup);
}

void CPreferencesWriter::WriteChunk(FourCC id, const CABCDataFormat& object)
{
    const std::vector<uint8_t> bytes = object.Bytes();
    CIFFWriter2::WriteChunk(id, static_cast<int32_t>(bytes.size()), bytes.data());
}

void CPreferencesWriter::WriteSamplers(const std::vector<CPersistentInstalledSampler>& samplers)
{
    // Every installed sampler is stored, the track-file destination too: the
    // transmit target is an index into this list and must name the same
    // sampler after a restart.
    if (samplers.empty())
        return;
    const IFFChunkInfo group = BeginCat(kSamplerGroup);
    for (const CPersistentInstalledSampler& sampler : samplers)
        WriteChunk(kSampler, sampler);
    End(group);
}

void CPreferencesWriter::Finish() { End(group_); }

bool CPreferencesReadSteps::DocumentExists(const std::string& path) { return IsExistingFile(path); }

namespace {

// Chunks found in a file that does not validate. The file is walked as a flat
// list of items: group headers are stepped into, chunks with a known
// identifier and a size that fits are taken, and anything else is passed a
// byte at a time until the next known chunk shows up.
class CSalvagedPreferences final : public CPreferencesChunks {
public:
    explicit CSalvagedPreferences(CMedia& media)
    {
        const int32_t length = std::min<int32_t>(media.GetLength(), int32_t(kMaxChunk) * 4);
        bytes_.resize(static_cast<size_t>(std::max(length, 0)));
        media.ReadAt(0, static_cast<int32_t>(bytes_.size()), bytes_.data());
        Walk();
    }

    bool HasChunk(FourCC id) override { return chunks_.count(Key(id)) != 0; }

    void ReadChunk(FourCC id, CABCDataFormat& object) override
    {
        const auto found = chunks_.find(Key(id));
        if (found == chunks_.end())
            throw XPreferencesChunkNotFound();
        const std::vector<uint8_t> payload = Payload(found->second);
        if (payload.empty())
            throw XInvalidPreferencesChunk();
        object.Read(payload.data(), static_cast<uint32_t>(payload.size()));
    }

    bool HasSamplerGroup() override { return !samplers_.empty(); }

    std::vector<std::optional<CPersistentInstalledSampler>> ReadSamplers() override
    {
        std::vector<std::optional<CPersistentInstalledSampler>> read;
        for (const Span& record : samplers_)
            read.push_back(DecodeSampler(Payload(record)));
        return read;
    }

private:
    struct Span {
        size_t payload;
        uint32_t size;
    };

    static std::string Key(FourCC id) { return id.String(); }

    std::vector<uint8_t> Payload(const Span& span) const
    {
        const auto from = bytes_.begin() + static_cast<std::ptrdiff_t>(span.payload);
        return {from, from + span.size};
    }

    bool IsGroup(size_t at) const
    {
        static const FourCC kGroups[] = {"CAT ", "LIST", "FORM"};
        return at + 12 <= bytes_.size() &&
               std::find(std::begin(kGroups), std::end(kGroups), FourCC::FromBytes(bytes_.data() + at)) !=
                   std::end(kGroups);
    }

    // A header with a known identifier whose payload fits in the file.
    bool IsChunk(size_t at) const
    {
        static const FourCC kKnown[] = {kSound, kApplication, kDocumentDefaults, kRecentDocuments, kCustomColors,
                                        kSampler};
        if (at + 8 > bytes_.size())
            return false;
        const uint32_t size = GetBE32(bytes_.data() + at + 4);
        return std::find(std::begin(kKnown), std::end(kKnown), FourCC::FromBytes(bytes_.data() + at)) !=
                   std::end(kKnown) &&
               size <= kMaxChunk && at + 8 + size <= bytes_.size();
    }

    bool Recognised(size_t at) const { return IsGroup(at) || IsChunk(at); }

    void Walk()
    {
        size_t at = 0;
        while (at + 8 <= bytes_.size()) {
            if (IsGroup(at)) {
                at += 12;
                continue;
            }
            if (!IsChunk(at)) {
                ++at;
                continue;
            }
            const FourCC id = FourCC::FromBytes(bytes_.data() + at);
            const uint32_t size = GetBE32(bytes_.data() + at + 4);
            const Span span{at + 8, size};
            if (id == kSampler)
                samplers_.push_back(span);
            else
                chunks_.emplace(Key(id), span); // the first of each kind counts
            // Where the size leads to no header (after the pad byte, if
            // any), the size is wrong: the next chunk may begin inside what
            // it claimed.
            const size_t next = at + 8 + size;
            if (next + 8 > bytes_.size() || Recognised(next) || Recognised(next + 1))
                at = next;
            else
                at += 8;
        }
    }

    std::vector<uint8_t> bytes_;
    std::map<std::string, Span> chunks_;
    std::vector<Span> samplers_;
};

SPreferencesReadReport ReadChunks(CPreferencesChunks& reader, SPreferences& preferences,
                                  CPreferencesReadSteps& steps)
{
    SPreferencesReadReport report;
    if (reader.HasChunk(kSound)) {
        Guarded(report, [&] { reader.ReadChunk(kSound, preferences.sound); });
        steps.SoundPreferencesRead(preferences.sound);
    }
    if (reader.HasChunk(kRecentDocuments))
        Guarded(report, [&] {
            CLRUDocsPreferences read;
            reader.ReadChunk(kRecentDocuments, read);
            if (!read.platformMatched)
                return;
            std::vector<std::string> kept;
            for (const std::string& path : read.paths) {
                if (steps.DocumentExists(path))
                    kept.push_back(path);
                else
                    report.recentDocumentsDropped = true;
            }
            preferences.recentDocuments.paths = std::move(kept);
        });
    if (reader.HasChunk(kCustomColors))
        Guarded(report, [&] {
            CColorTablePreferences read;
            reader.ReadChunk(kCustomColors, read);
            if (read.colors.size() == CColorTablePreferences::kCustomColors)
                preferences.customColors = read;
        });
    // Stored positions of the records that were dropped: the transmit target
    // is a stored position and must still name the same sampler.
    std::vector<size_t> dropped;
    if (reader.HasSamplerGroup())
        Guarded(report, [&] {
            std::vector<CPersistentInstalledSampler> kept;
            std::vector<std::optional<CPersistentInstalledSampler>> records = reader.ReadSamplers();
            for (size_t i = 0; i < records.size(); ++i) {
                if (!records[i]) {
                    report.chunkFailed = true;
                    dropped.push_back(i);
                } else if (FindSamplerModel(records[i]->modelTypeId) == nullptr) {
                    steps.SamplerNotSupported(*records[i]);
                    dropped.push_back(i);
                } else {
                    kept.push_back(std::move(*records[i]));
                }
            }
            preferences.samplers.insert(preferences.samplers.end(), std::make_move_iterator(kept.begin()),
                                        std::make_move_iterator(kept.end()));
        });
    if (reader.HasChunk(kApplication))
        Guarded(report, [&] { reader.ReadChunk(kApplication, preferences.application); });
    uint16_t& target = preferences.application.values.transmitTarget;
    if (std::find(dropped.begin(), dropped.end(), target) != dropped.end())
        target = 0;
    else
        target = static_cast<uint16_t>(target - std::count_if(dropped.begin(), dropped.end(),
                                                              [&](size_t i) { return i < target; }));
    if (target >= preferences.samplers.size())
        target = 0;
    if (reader.HasChunk(kDocumentDefaults))
        Guarded(report, [&] { reader.ReadChunk(kDocumentDefaults, preferences.documentDefaults); });
    return report;
}

} // namespace

SPreferencesReadReport ReadPreferences(CMedia& media, SPreferences& preferences, CPreferencesReadSteps& steps)
{
    CPreferencesReader reader(media);
    return ReadChunks(reader, preferences, steps);
}

SPreferencesReadReport SalvagePreferences(CMedia& media, SPreferences& preferences, CPreferencesReadSteps& steps)
{
    CSalvagedPreferences chunks(media);
    SPreferencesReadReport report = ReadChunks(chunks, preferences, steps);
    report.fileUnreadable = true;
    return report;
}

bool PreferencesFileValid(CMedia& media)
{
    try {
        CPreferencesReader reader(media);
        return true;
    } catch (const XOutOfMemory&) {
        throw;
    } catch (const XBase&) {
        return false;
    }
}

SPreferencesReadReport ReadPreferencesFile(const CFileSpec& file, SPreferences& preferences,
                                           CPreferencesReadSteps& steps)
{
    if (!file.Exists())
        return {};
    const std::unique_ptr<CMedia> media = file.OpenForReading();
    if (PreferencesFileValid(*media))
        return ReadPreferences(*media, preferences, steps);
    std::string backup;
    try {
        backup = KeepUnreadablePreferences(file);
    } catch (const XOutOfMemory&) {
        throw;
    } catch (const XBase&) {
        // Reported by an empty path; saving will try again and refuse.
    }
    SPreferencesReadReport report = SalvagePreferences(*media, preferences, steps);
    report.backupPath = backup;
    return report;
}

void WritePreferences(CMedia& media, const SPreferences& preferences)
{
    CPreferencesWriter writer(media);
    writer.WriteChunk(kSound, preferences.sound);
    writer.WriteChunk(kApplication, preferences.application);
    writer.WriteChunk(kDocumentDefaults, preferences.documentDefaults);
    if (!preferences.recentDocuments.paths.empty())
        writer.WriteChunk(kRecentDocuments, preferences.recentDocuments);
    writer.WriteChunk(kCustomColors, preferences.customColors);
    writer.WriteSamplers(preferences.samplers);
    writer.Finish();
}

std::string PreferencesFolder()
{
    if (const char* folder = std::getenv("QUORVEL_CONFIG_DIR"); folder != nullptr && *folder != '\0')
        return folder;
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config != nullptr && *config != '\0')
        return std::string(config) + "/Quorvel";
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : ".") + "/.config/Quorvel";
}

CFileSpec PreferencesFile() { return CFileSpec(PreferencesFolder() + "/" + kPreferencesFileName); }

namespace {

bool SameContent(const std::string& a, const std::string& b)
{
    std::error_code error;
    if (std::filesystem::file_size(a, error) != std::filesystem::file_size(b, error) || error)
        return false;
    const std::unique_ptr<CMedia> first = CFileSpec(a).OpenForReading();
    const std::unique_ptr<CMedia> second = CFileSpec(b).OpenForReading();
    std::vector<uint8_t> x(64 * 1024), y(64 * 1024);
    for (int32_t left = first->GetLength(); left > 0;) {
        const int32_t count = std::min<int32_t>(left, static_cast<int32_t>(x.size()));
        first->Read(count, x.data());
        second->Read(count, y.data());
        if (!std::equal(x.begin(), x.begin() + count, y.begin()))
            return false;
        left -= count;
    }
    return true;
}

bool ExistingUnreadable(const CFileSpec& file)
{
    if (!file.Exists())
        return false;
    const std::unique_ptr<CMedia> media = file.OpenForReading();
    return !PreferencesFileValid(*media);
}

} // namespace

std::string KeepUnreadablePreferences(const CFileSpec& file)
{
    constexpr int kMaxBackups = 99;
    const std::string original = file.FullPath();
    for (int n = 1; n <= kMaxBackups; ++n) {
        const std::string backup = original + ".bak" + (n == 1 ? std::string() : std::to_string(n));
        std::error_code error;
        if (std::filesystem::exists(std::filesystem::symlink_status(backup, error))) {
            if (SameContent(original, backup))
                return backup;
            continue;
        }
        if (!std::filesystem::copy_file(original, backup, std::filesystem::copy_options::none, error))
            throw XWrite();
        return backup;
    }
    throw XWrite();
}

void SavePreferences(const CFileSpec& file, const SPreferences& preferences)
{
    std::error_code ignored; // a folder that cannot be made fails at the write
    std::filesystem::create_directories(file.Folder(), ignored);
    if (ExistingUnreadable(file))
        KeepUnreadablePreferences(file);
    SafeWrite(file, [&](CMedia& media) { WritePreferences(media, preferences); });
}

} // namespace quorvel
