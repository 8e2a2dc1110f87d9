#include "fileformats/PreferencesFile.h"

#include <cstdlib>
#include <filesystem>

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

std::vector<CPersistentInstalledSampler> CPreferencesReader::ReadSamplers()
{
    IFFChunkInfo group;
    if (!preferences_->FindGroup(kSamplerGroup, group))
        throw XPreferencesChunkNotFound();
    const std::unique_ptr<CIFFReader2> samplers = preferences_->OpenOnChunk(group);
    IFFChunkInfo chunk;
    if (!samplers->FirstChunk(chunk))
        throw XInvalidPreferencesChunk();
    std::vector<CPersistentInstalledSampler> read;
    do {
        if (chunk.kind != IFFChunkInfo::kChunk || chunk.Name() != kSampler)
            continue;
        const std::vector<uint8_t> payload = ReadPayload(*samplers, chunk);
        CPersistentInstalledSampler sampler;
        if (payload.empty())
            throw XInvalidPreferencesChunk();
        sampler.Read(payload.data(), static_cast<uint32_t>(payload.size()));
        read.push_back(std::move(sampler));
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
    std::vector<const CPersistentInstalledSampler*> stored;
    for (const CPersistentInstalledSampler& sampler : samplers)
        if (sampler.modelTypeId != kMixmanModel)
            stored.push_back(&sampler);
    if (stored.empty())
        return;
    const IFFChunkInfo group = BeginCat(kSamplerGroup);
    for (const CPersistentInstalledSampler* sampler : stored)
        WriteChunk(kSampler, *sampler);
    End(group);
}

void CPreferencesWriter::Finish() { End(group_); }

bool CPreferencesReadSteps::DocumentExists(const std::string& path) { return IsExistingFile(path); }

SPreferencesReadReport ReadPreferences(CMedia& media, SPreferences& preferences, CPreferencesReadSteps& steps)
{
    SPreferencesReadReport report;
    CPreferencesReader reader(media);
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
    if (reader.HasSamplerGroup())
        Guarded(report, [&] {
            for (CPersistentInstalledSampler& sampler : reader.ReadSamplers()) {
                if (FindSamplerModel(sampler.modelTypeId) == nullptr)
                    steps.SamplerNotSupported(sampler);
                else
                    preferences.samplers.push_back(std::move(sampler));
            }
        });
    if (reader.HasChunk(kApplication))
        Guarded(report, [&] { reader.ReadChunk(kApplication, preferences.application); });
    if (preferences.application.values.transmitTarget >= preferences.samplers.size())
        preferences.application.values.transmitTarget = 0;
    if (reader.HasChunk(kDocumentDefaults))
        Guarded(report, [&] { reader.ReadChunk(kDocumentDefaults, preferences.documentDefaults); });
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

void SavePreferences(const CFileSpec& file, const SPreferences& preferences)
{
    std::error_code ignored; // a folder that cannot be made fails at the write
    std::filesystem::create_directories(file.Folder(), ignored);
    SafeWrite(file, [&](CMedia& media) { WritePreferences(media, preferences); });
}

} // namespace quorvel
