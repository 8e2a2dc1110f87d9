#pragma once
// The preferences file: one "CAT " group of type "PREF" holding one chunk per
// settings object, and a nested "CAT " "ISRG" group with the installed
// samplers. Read once at start-up, written at quit.
#include <memory>
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

class CPreferencesReader : public CIFFReader2 {
public:
    // XInvalidPreferencesFile unless the whole file validates and holds a
    // "CAT " group of type "PREF".
    explicit CPreferencesReader(CMedia& media);

    bool HasChunk(FourCC id);
    // XPreferencesChunkNotFound when absent, XInvalidPreferencesChunk when
    // the object refuses the payload.
    void ReadChunk(FourCC id, CABCDataFormat& object);
    // The stored samplers, in order. Records of unknown models are left to
    // the caller. XInvalidPreferencesChunk for a group without chunks.
    bool HasSamplerGroup();
    std::vector<CPersistentInstalledSampler> ReadSamplers();

private:
    std::unique_ptr<CIFFReader2> preferences_;
};

class CPreferencesWriter : public CIFFWriter2 {
public:
    explicit CPreferencesWriter(CMedia& media);
    void WriteChunk(FourCC id, const CABCDataFormat& object);
    // Only the samplers of models that are stored; no group when none is.
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
};

// Reads into `preferences`; what is missing or damaged keeps the value it
// had. Throws XInvalidPreferencesFile (or a stream failure) when the file as
// a whole cannot be trusted; objects read before that keep what they read.
SPreferencesReadReport ReadPreferences(CMedia& media, SPreferences& preferences, CPreferencesReadSteps& steps);
void WritePreferences(CMedia& media, const SPreferences& preferences);

// The preferences folder: $QUORVEL_CONFIG_DIR, else $XDG_CONFIG_HOME/Quorvel,
// else ~/.config/Quorvel.
std::string PreferencesFolder();
CFileSpec PreferencesFile();
// Writes `preferences` over `file` (creating its folder) so that a failure
// leaves the previous file as it was; the failure propagates (alert 11).
void SavePreferences(const CFileSpec& file, const SPreferences& preferences);

} // namespace quorvel
