#pragma once
// The preferences file: one "CAT " group of type "PREF" holding one chunk per
// settings object, and a nested "CAT " "ISRG" group with the installed
// samplers. Read once at start-up, written at quit.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "fileformats/IFFReader2.h"
#include "fileformats/IFFWriter2.h"
#include "fileformats/PreferenceObjects.h"
#include "framework/FileSpec.h"

namespace quorvel {

constexpr const char* kPreferencesFileName = "Quorvel Preferences.prf";

// Everything the file holds.
struct SPreferences {
    CSoundPreferences sound;
    CQuorvelApplicationPreferences application;
    CQuorvelDefaultDocumentPreferences documentDefaults;
    CLRUDocsPreferences recentDocuments;
    CColorTablePreferences customColors;
    std::vector<CPersistentInstalledSampler> samplers;
};

// The settings chunks a file holds, however they were found.
class CPreferencesChunks {
public:
    virtual ~CPreferencesChunks() = default;
    virtual bool HasChunk(FourCC id) = 0;
    // XPreferencesChunkNotFound when absent, XInvalidPreferencesChunk when
    // the object refuses the payload.
    virtual void ReadChunk(FourCC id, CABCDataFormat& object) = 0;
    virtual bool HasSamplerGroup() = 0;
    // The stored sampler records, in order; an empty entry stands for a
    // record that could not be read. Records of unknown models are left to
    // the caller.
    virtual std::vector<std::optional<CPersistentInstalledSampler>> ReadSamplers() = 0;
};

class CPreferencesReader : public CIFFReader2, public CPreferencesChunks {
public:
    // XInvalidPreferencesFile unless the whole file validates and holds a
    // "CAT " group of type "PREF".
    explicit CPreferencesReader(CMedia& media);

    bool HasChunk(FourCC id) override;
    void ReadChunk(FourCC id, CABCDataFormat& object) override;
    // XInvalidPreferencesChunk for a group without chunks or with a record
    // that cannot be read.
    bool HasSamplerGroup() override;
    std::vector<std::optional<CPersistentInstalledSampler>> ReadSamplers() override;

private:
    std::unique_ptr<CIFFReader2> preferences_;
};

// Whether the file validates as a whole and holds the "PREF" group.
bool PreferencesFileValid(CMedia& media);

class CPreferencesWriter : public CIFFWriter2 {
public:
    explicit CPreferencesWriter(CMedia& media);
    void WriteChunk(FourCC id, const CABCDataFormat& object);
    // Every installed sampler, in order (the transmit target is an index
    // into them); no group without any.
    void WriteSamplers(const std::vector<CPersistentInstalledSampler>& samplers);
    void Finish();

private:
    IFFChunkInfo group_;
};

// What reading asks of the application while it reads, in the file's order.
class CPreferencesReadSteps {
public:
    virtual ~CPreferencesReadSteps() = default;
    // After "PSNP": open the card it names (the application asks alert 12).
    virtual void SoundPreferencesRead(const CSoundPreferences&) {}
    virtual bool DocumentExists(const std::string& path);
    // A stored sampler of a model this program does not know (alert 34).
    virtual void SamplerNotSupported(const CPersistentInstalledSampler&) {}
};

struct SPreferencesReadReport {
    bool chunkFailed = false;       // alert 8, once
    bool recentDocumentsDropped = false; // alert 98
    bool fileUnreadable = false;    // alert 10
    std::string backupPath;         // where the unreadable file was kept; empty when it could not be
};

// Reads into `preferences`; what is missing or damaged keeps the value it
// had. Throws XInvalidPreferencesFile (or a stream failure) when the file as
// a whole cannot be trusted; objects read before that keep what they read.
SPreferencesReadReport ReadPreferences(CMedia& media, SPreferences& preferences, CPreferencesReadSteps& steps);
// For a file that does not validate: takes every chunk that can still be
// found and read (the chunks are looked for one after another, past damaged
// sizes and stray bytes); the rest keeps its value.
SPreferencesReadReport SalvagePreferences(CMedia& media, SPreferences& preferences, CPreferencesReadSteps& steps);
// Reads the file at start-up. A file that does not validate is first kept
// beside itself (KeepUnreadablePreferences), then salvaged; the report says
// so (fileUnreadable, backupPath). A missing file leaves everything as it
// was; a file that cannot be opened throws.
SPreferencesReadReport ReadPreferencesFile(const CFileSpec& file, SPreferences& preferences,
                                           CPreferencesReadSteps& steps);
void WritePreferences(CMedia& media, const SPreferences& preferences);

// The preferences folder: $QUORVEL_CONFIG_DIR, else $XDG_CONFIG_HOME/Quorvel,
// else ~/.config/Quorvel.
std::string PreferencesFolder();
CFileSpec PreferencesFile();
// Copies a preferences file that cannot be read beside itself, as
// "<name>.bak" (then "<name>.bak2", "<name>.bak3", ... when an earlier backup
// holds something else; a backup with the same content is reused). Returns
// the backup's path; XFile when no copy could be made.
std::string KeepUnreadablePreferences(const CFileSpec& file);
// Writes `preferences` over `file` (creating its folder) so that a failure
// leaves the previous file as it was; the failure propagates (alert 11). A
// file there that cannot be read is kept first (KeepUnreadablePreferences):
// nothing the user had is replaced without a copy.
void SavePreferences(const CFileSpec& file, const SPreferences& preferences);

} // namespace quorvel
